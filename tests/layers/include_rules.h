#pragma once
// The include rules of src/: a layer includes only its own and lower layers
// (platform, image, model, render, editor, link, shell, cli; a qt/ folder
// belongs to the layer it sits in, main.cpp stands above them all), and only
// qt/ folders include Qt. image/ and model/ include nothing that shows a
// message: their readers and writers hand failures back.

#include <string>
#include <string_view>

// What breaks the rules in one line of `file` (its path below src/, with
// '/'), or an empty string when the line is no include or a permitted one.
std::string IncludeProblem(std::string_view file, std::string_view line);
