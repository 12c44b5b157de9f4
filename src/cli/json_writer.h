#pragma once
// Just enough JSON for the command line's machine-readable output: strings
// escaped as the format asks, with bytes that are not UTF-8 shown as U+FFFD
// (file names need not be text).

#include <string>
#include <string_view>

// `text` in double quotes, escaped.
std::string JsonString(std::string_view text);
