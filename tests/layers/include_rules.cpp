#include "layers/include_rules.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 8> kLayers = {"platform", "image", "model", "render",
                                                     "editor",   "link",  "shell", "cli"};
constexpr int kTop = static_cast<int>(kLayers.size());

// The readers and writers of these layers hand their failures back; only the
// shell and the command line show them, so no header that shows anything.
constexpr std::array<std::string_view, 2> kQuietLayers = {"image", "model"};
constexpr std::array<std::string_view, 3> kShowingHeaders = {"platform/ui.h", "platform/headless_ui.h",
                                                             "platform/show_file_error.h"};

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::string_view n : names)
    if (n == name) return true;
  return false;
}

std::string_view FirstFolder(std::string_view path) {
  const std::size_t slash = path.find('/');
  return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
}

// -1 for a name outside the layers.
int LayerRank(std::string_view folder) {
  for (int i = 0; i < kTop; ++i)
    if (kLayers[static_cast<std::size_t>(i)] == folder) return i;
  return -1;
}

bool InQtFolder(std::string_view path) {
  return path.starts_with("qt/") || path.find("/qt/") != std::string_view::npos;
}

std::string_view SkipBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

}  // namespace

std::string IncludeProblem(std::string_view file, std::string_view line) {
  line = SkipBlanks(line);
  if (!line.starts_with('#')) return {};
  line = SkipBlanks(line.substr(1));
  if (!line.starts_with("include")) return {};
  line = SkipBlanks(line.substr(7));
  if (line.size() < 2 || (line.front() != '"' && line.front() != '<')) return {};
  const char close = line.front() == '"' ? '"' : '>';
  const std::size_t end = line.find(close, 1);
  if (end == std::string_view::npos) return {};
  const std::string_view header = line.substr(1, end - 1);
  const std::string where = std::string(file) + ": " + std::string(line.substr(0, end + 1));

  // A file in src/ itself (main.cpp) stands above every layer and may start
  // the window layer, but never include Qt itself.
  const std::string_view fileFolder = FirstFolder(file);
  const int from = fileFolder.empty() ? kTop : LayerRank(fileFolder);
  if (!InQtFolder(file)) {
    if (close == '>' && header.starts_with('Q')) return where + " includes Qt outside a qt/ folder";
    if (close == '"' && from < kTop && InQtFolder(header))
      return where + " includes a Qt-side header outside a qt/ folder";
  }
  if (close != '"') return {};
  if (OneOf(kQuietLayers, fileFolder) && OneOf(kShowingHeaders, header))
    return where + " shows messages from a layer that hands its failures back";
  // The command line runs the editor's operations without the windows'
  // application object, so it stands on the editor, never on the shell.
  if (fileFolder == "cli" && FirstFolder(header) == "shell") return where + " includes the window layer's shell";
  const int to = LayerRank(FirstFolder(header));
  if (from < 0 || to < 0 || to <= from) return {};
  return where + " includes the higher layer " + std::string(kLayers[static_cast<std::size_t>(to)]);
}
