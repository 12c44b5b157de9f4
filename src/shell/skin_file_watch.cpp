#include "shell/skin_file_watch.h"

#include <algorithm>
#include <unordered_map>

#include "editor/document.h"
#include "editor/skin_fingerprint.h"
#include "image/image_files.h"
#include "image/palette_matcher.h"
#include "image/skin_set.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "shell/app.h"
#include "shell/skin_commands.h"

namespace {

std::string FormatWithPath(const char* text, const std::string& path) {
  const std::string format = text;
  const std::size_t at = format.find("%s");
  if (at == std::string::npos) return format;
  return format.substr(0, at) + path + format.substr(at + 2);
}

// What the file holds now, in the skin's terms; false when it cannot be read
// or is not the model's skin size.
bool ReadBack(const App& app, const Skin& skin, const std::string& path, std::vector<std::uint8_t>& pixels,
              Palette& palette) {
  auto read = LoadPicture(path);
  if (!read) return false;
  DecodedPicture& picture = *read;
  if (picture.indexed) {
    if (picture.indexed->width != skin.width || picture.indexed->height != skin.height) return false;
    pixels = std::move(picture.indexed->pixels);
    palette = picture.indexed->palette;
    return true;
  }
  const TrueColourPicture& colour = picture.trueColour;
  if (colour.width != skin.width || colour.height != skin.height) return false;
  pixels = MapAvoiding(colour, skin.palette, app.editor.protectedColours);
  palette = skin.palette;
  return true;
}

}  // namespace

std::vector<std::uint8_t> MapAvoiding(const TrueColourPicture& picture, const Palette& palette,
                                      const std::array<std::uint8_t, 256>& avoid) {
  const std::size_t count = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
  std::vector<std::uint8_t> out(count);
  const bool anyAvoided = std::any_of(avoid.begin(), avoid.end(), [](std::uint8_t a) { return a != 0; });
  PaletteMatcher matcher(palette);
  std::unordered_map<std::uint32_t, std::uint8_t> known;
  for (std::size_t i = 0; i < count && i * 4 + 3 < picture.rgba.size(); ++i) {
    const std::uint8_t* p = &picture.rgba[i * 4];
    if (p[3] < kOpaqueAlphaFrom) {
      out[i] = kTransparentIndex;
      continue;
    }
    if (!anyAvoided) {
      out[i] = matcher.Nearest(p[0], p[1], p[2]);
      continue;
    }
    const std::uint32_t key = static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2];
    auto it = known.find(key);
    if (it == known.end()) {
      int best = -1;
      long bestDistance = 0;
      for (int e = 0; e < 256; ++e) {
        if (avoid[static_cast<std::size_t>(e)]) continue;
        const long dr = palette[e * 3u] - p[0], dg = palette[e * 3u + 1] - p[1], db = palette[e * 3u + 2] - p[2];
        const long d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < bestDistance) best = e, bestDistance = d;
      }
      // Every colour protected leaves nothing else to choose.
      it = known.emplace(key, static_cast<std::uint8_t>(best < 0 ? matcher.Nearest(p[0], p[1], p[2]) : best)).first;
    }
    out[i] = it->second;
  }
  return out;
}

std::vector<std::string> WatchedSkinPaths(const App& app) {
  std::vector<std::string> paths;
  for (const auto& skin : app.model.skins) {
    if (!skin->hasFile || skin->path.empty()) continue;
    const std::string path = HostSkinPath(skin->path);
    if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
  }
  return paths;
}

bool OnSkinFileChanged(App& app, const std::string& path) {
  bool reloaded = false;
  for (std::size_t i = 0; i < app.model.skins.size(); ++i) {
    Skin& skin = *app.model.skins[i];
    if (!skin.hasFile || HostSkinPath(skin.path) != path) continue;
    std::vector<std::uint8_t> pixels;
    Palette palette{};
    if (!ReadBack(app, skin, path, pixels, palette)) continue;
    // Our own save, or a touch that changed nothing.
    if (pixels == skin.pixels && palette == skin.palette) continue;
    if (SkinChanged(skin) &&
        app.ui.Message(FormatWithPath(kOutsideChangeText, path), MsgButtons::YesNo) != MsgAnswer::Yes)
      continue;
    {
      DocumentStep step(app.document, "Reload Skin", STEP_SKINS | STEP_CURRENT_SKIN);
      skin.pixels = std::move(pixels);
      skin.storedPixels = skin.pixels;
      skin.palette = palette;
      MarkSkinSaved(skin);
    }
    reloaded = true;
  }
  if (!reloaded) return false;
  app.RebuildPaintTable();
  app.RebuildShadeRamps();
  app.ActionEnded();
  return true;
}

void OnEditExternally(App& app) {
  const Skin* skin = app.model.CurrentSkin();
  if (!skin) return;
  if (!skin->hasFile || skin->path.empty()) {
    app.ui.Message(kEditExternallyNoFileText);
    return;
  }
  const std::string path = HostSkinPath(skin->path);
  if (!app.services.openInImageEditor || !app.services.openInImageEditor(path))
    app.ui.Message(std::string(kEditExternallyFailedText) + "\n" + path);
}
