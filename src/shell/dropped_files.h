#pragma once
// Files dropped on the main window, taken in the order they came: an MD2
// model is opened as File > Open would (its questions included), any other
// file is tried as a skin, as Skins > Open would.

#include <string>
#include <vector>

class App;

// An MD2 by its content (magic "IDP2"), or by its extension when it cannot
// be read.
bool IsMd2File(const std::string& path);
void OpenDroppedFiles(App& app, const std::vector<std::string>& paths);
