// `demo DIR`: a complete base folder made by the program itself: the demo
// creature with its skin, a colormap for the skin's palette, phong maps and
// environment maps.

#include <filesystem>
#include <ostream>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/demo_images.h"
#include "cli/demo_mesh.h"
#include "cli/load_model.h"
#include "editor/model_files.h"
#include "image/image_files.h"
#include "platform/files.h"
#include "platform/profile_keys.h"
#include "platform/show_file_error.h"

namespace fs = std::filesystem;

namespace {

// A value as Qt's ini files store it: backslashes doubled, and quoted when
// it holds characters the format gives a meaning to.
std::string IniValue(const std::string& value) {
  std::string out;
  bool quote = value.empty() ? false : (value.front() == ' ' || value.back() == ' ');
  for (char c : value) {
    if (c == '\\' || c == '"') out += '\\';
    if (c == ',' || c == ';' || c == '=' || c == '#') quote = true;
    out += c;
  }
  return quote ? '"' + out + '"' : out;
}

// A key as Qt's ini files store it: spaces percent-encoded.
std::string IniKey(const char* key) {
  std::string out;
  for (const char* c = key; *c; ++c) out += *c == ' ' ? std::string("%20") : std::string(1, *c);
  return out;
}

// A settings file for the editor that points at the demo folder, so a first
// start opens without asking for a base folder. An existing file is kept:
// it may hold the user's own changes. No palette is chosen: the lit modes
// then take the base folder's own colormap.
bool WriteDemoProfile(const std::string& file, const std::string& base, std::ostream& err) {
  if (FileExists(file)) return true;
  std::string text = std::string("[") + kPreferencesSection + "]\n";
  text += IniKey(kSkipIntroSetting.key) + "=1\n";
  text += IniKey(kPhongPathSetting.key) + "=" + IniValue(base + "/phongs") + "\n";
  text += IniKey(kEnvPathSetting.key) + "=" + IniValue(base + "/enviros") + "\n";
  text += std::string("\n[") + kProjectSection + "]\n";
  text += IniKey(kBaseDirSetting.key) + "=" + IniValue(base) + "\n";
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  if (int cause = WriteFileAtomic(file, bytes)) {
    err << SaveErrorText(file, cause) << '\n';
    return false;
  }
  return true;
}

}  // namespace

int CmdDemo(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  CliArgs args = ParseCliArgs(argv, {"--profile"});
  if (!args.error.empty() || args.positional.size() != 1) {
    err << "usage: skintool demo DIR [--profile FILE.ini]\n";
    return 2;
  }
  const std::string base = AbsolutePath(args.positional[0]);
  const std::string profileFile = args.Has("--profile") ? AbsolutePath(*args.Get("--profile")) : "";
  std::error_code ec;
  for (const char* sub : {"models/demo", "pics", "phongs", "enviros"}) {
    fs::create_directories(fs::path(base) / sub, ec);
    if (ec) {
      err << "Cannot make the folder " << base << '/' << sub << ": " << ec.message() << '\n';
      return 1;
    }
  }
  CliWorkspace ws(err);
  HeadlessUi& ui = ws.ui;
  const DemoMesh mesh = BuildDemoMesh();
  const Palette palette = DemoPalette();

  Skin skin = PaintDemoSkin(mesh, palette);
  Skin colormap = BuildDemoColormap(palette);
  auto write = [&ui](Skin& image, const std::string& path) {
    WriteResult written = WritePcx(image, path);
    if (!written) ShowFileError(ui, written.error());
    return static_cast<bool>(written);
  };
  if (!write(skin, base + "/models/demo/skin.pcx") || !write(colormap, base + "/pics/colormap.pcx")) return 1;
  for (auto& map : BuildDemoPhongMaps())
    if (!write(map.image, base + "/phongs/" + map.fileName)) return 1;
  for (auto& map : BuildDemoEnvMaps())
    if (!write(map.image, base + "/enviros/" + map.fileName)) return 1;

  // The model goes out through the program's own reader and writer, so the
  // file carries a welded mapping and real GL commands.
  const std::string modelPath = base + "/models/demo/tris.md2";
  if (int cause = WriteFileAtomic(modelPath, EncodeDemoMd2(mesh, "models/demo/skin.pcx"))) {
    err << SaveErrorText(modelPath, cause) << '\n';
    return 1;
  }
  ws.baseFolder = base;
  auto loaded = OpenModel(ws, base, modelPath);
  if (!loaded) {
    ShowFileError(ui, loaded.error());
    return 1;
  }
  ShowNotices(ui, *loaded);
  if (!SaveModelForCli(ws, modelPath)) return 1;

  if (!profileFile.empty() && !WriteDemoProfile(profileFile, base, err)) return 1;

  out << "Wrote the demo base folder " << base << ":\n"
      << "  models/demo/tris.md2 (" << ws.model.TriangleCount() << " triangles, " << ws.model.frames.size()
      << " frames)\n"
      << "  models/demo/skin.pcx, pics/colormap.pcx, phongs/*.pcx, enviros/*.pcx\n";
  return 0;
}
