#include "model/default_palette.h"

#include "image/image_files.h"
#include "platform/files.h"
#include "platform/profile.h"

void LoadDefaultPalette(const Profile& profile, Palette& out) {
  std::string path = profile.GetString("Preferences", "Palette Path", "");
  Palette palette{};
  if (!path.empty() && LoadPaletteFile(ResolvePath(path), palette)) {
    out = palette;
    return;
  }
  for (int i = 0; i < 256; ++i) {
    out[i * 3 + 0] = static_cast<std::uint8_t>(i);
    out[i * 3 + 1] = static_cast<std::uint8_t>(i);
    out[i * 3 + 2] = static_cast<std::uint8_t>(i);
  }
}
