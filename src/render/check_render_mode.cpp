#include <algorithm>
#include <memory>

#include "image/image_files.h"
#include "model/default_palette.h"
#include "platform/files.h"
#include "platform/show_file_error.h"
#include "render/render_mode.h"

bool LoadColormap(const std::string& path, std::vector<std::uint8_t>& out, FileNotices* notices) {
  if (path.empty()) return false;
  auto loaded = LoadSkinImage(path);
  if (!loaded) {
    if (notices && loaded.error().cause == 0) notices->push_back(loaded.error());
    return false;
  }
  const std::unique_ptr<Skin>& image = *loaded;
  // The lit modes index row * 256 + colour for rows up to 63: anything
  // narrower or shorter would be read past its end.
  if (image->width < kColormapRowLength || image->height < kColormapRows) return false;
  const std::size_t width = static_cast<std::size_t>(image->width);
  if (image->pixels.size() < width * static_cast<std::size_t>(kColormapRows)) return false;
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(kColormapRows) * kColormapRowLength);
  for (int r = 0; r < kColormapRows; ++r)
    std::copy_n(image->pixels.begin() + static_cast<std::ptrdiff_t>(r * width), kColormapRowLength,
                rows.begin() + r * kColormapRowLength);
  out = std::move(rows);
  return true;
}

namespace {

// The need that is unmet for `index`, in the order they are tested, or null.
const char* MissingNeed(const Model& model, int index) {
  const bool skin = model.CurrentSkin() != nullptr;
  const bool phong = model.CurrentPhongMap() != nullptr;
  switch (index) {
    case MODE_PHONG: return phong ? nullptr : kPhongUnavailableText;
    case MODE_TEXTURED: return skin ? nullptr : kTexturedUnavailableText;
    case MODE_ENVIRONMENT: return model.CurrentEnvMap() ? nullptr : kEnvUnavailableText;
    case MODE_TEXTURED_F: return skin ? nullptr : kTexFNoSkinText;
    case MODE_TEXTURED_G: return skin ? nullptr : kTexGNoSkinText;
    case MODE_TEXTURED_P:
      if (!skin) return kTexPNoSkinText;
      return phong ? nullptr : kTexPNoPhongText;
    default: return nullptr;
  }
}

const char* ColormapText(int index) {
  if (index == MODE_TEXTURED_F) return kTexFColormapText;
  if (index == MODE_TEXTURED_G) return kTexGColormapText;
  return kTexPColormapText;
}

}  // namespace

std::string ColormapPath(const std::string& palettePath, const std::string& baseFolder) {
  return ResolvePathIn(baseFolder, palettePath.empty() ? std::string(kBaseColormapName) : palettePath);
}

int CheckRenderMode(RenderModes& modes, const Model& model, Viewport& viewport, Ui& ui,
                    const std::string& palettePath, const std::string& baseFolder, int oldIndex, int newIndex) {
  if (newIndex < 0 || newIndex >= kNumRenderModes) return 0;
  if (const char* text = MissingNeed(model, newIndex)) {
    ui.Message(text, MsgButtons::Ok);
    return 0;
  }
  // Read before anything is released, so a refusal leaves the old mode's
  // colormap in place.
  std::vector<std::uint8_t> colormap;
  if (IsLitTexturedIndex(newIndex)) {
    const std::string path = ColormapPath(palettePath, baseFolder);
    FileNotices notices;
    if (!LoadColormap(path, colormap, &notices)) {
      ShowNotices(ui, notices);
      ui.Message(std::string(ColormapText(newIndex)) + "\n" + path, MsgButtons::Ok);
      return 0;
    }
  }
  if (IsLitTexturedIndex(oldIndex)) {
    modes.colormap.clear();
    modes.colormap.shrink_to_fit();
    viewport.lightLevels.clear();
    viewport.lightLevels.shrink_to_fit();
  }
  if (IsLitTexturedIndex(newIndex)) {
    modes.colormap = std::move(colormap);
    std::size_t n = viewport.width > 0 && viewport.height > 0
                        ? static_cast<std::size_t>(viewport.width) * static_cast<std::size_t>(viewport.height)
                        : 0;
    viewport.lightLevels.assign(n, 0);
  }
  return 1;
}
