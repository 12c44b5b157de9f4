#include "model/default_palette.h"

#include "image/image_files.h"
#include "platform/files.h"

void LoadDefaultPalette(const std::string& path, const std::string& baseFolder, Palette& out) {
  Palette palette{};
  if (!path.empty() && LoadPaletteFile(ResolvePathIn(baseFolder, path), palette)) {
    out = palette;
    return;
  }
  // Without a base folder the name would be looked up in whatever folder is
  // current.
  if (!baseFolder.empty() && LoadPaletteFile(ResolvePathIn(baseFolder, kBaseColormapName), palette)) {
    out = palette;
    return;
  }
  out = GreyRampPalette();
}
