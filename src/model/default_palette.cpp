#include "model/default_palette.h"

#include "image/image_files.h"
#include "platform/files.h"

void LoadDefaultPalette(const std::string& path, const std::string& baseFolder, Palette& out) {
  Palette palette{};
  if (!path.empty() && LoadPaletteFile(ResolvePathIn(baseFolder, path), palette)) {
    out = palette;
    return;
  }
  out = GreyRampPalette();
}
