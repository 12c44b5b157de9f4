#include "image/maps.h"

#include <cstddef>

#include "image/image_files.h"
#include "platform/files.h"

bool IsMapSized(const Skin& image) {
  return image.width == kMapSide && image.height == kMapSide &&
         image.pixels.size() == static_cast<std::size_t>(kMapSide) * kMapSide;
}

void ShiftPhongLevels(Skin& map) {
  for (auto& p : map.pixels) p = static_cast<std::uint8_t>(p >> 2);
}

void PrepareMap(Skin& image, MapKind kind) {
  image.flags |= SKIN_EXTERNAL;
  image.name = FileNamePart(image.path);
  if (kind == MapKind::Phong) {
    ShiftPhongLevels(image);
  } else {
    image.storedPixels.clear();
    image.storedPixels.shrink_to_fit();
  }
}

MapScan ScanMapFolder(MapKind kind, const std::string& folder, SkinList& maps,
                      const std::function<void()>& refreshBars) {
  MapScan scan;
  for (const char* pattern : {"*.PCX", "*.BMP"}) {
    std::vector<std::string> files = FindFiles(folder, pattern);
    for (const auto& file : files) {
      auto loaded = LoadSkinImage(file);
      if (!loaded) {
        // A file that vanished or cannot be opened is passed over quietly.
        if (loaded.error().cause == 0) scan.notices.push_back(loaded.error());
        continue;
      }
      std::unique_ptr<Skin> image = std::move(*loaded);
      if (!IsMapSized(*image)) continue;
      PrepareMap(*image, kind);
      maps.push_back(std::move(image));
      ++scan.added;
    }
    if (!files.empty() && refreshBars) refreshBars();
  }
  if (scan.added == 0) scan.notices.push_back(FileError{kind == MapKind::Phong ? kNoPhongMapsText : kNoEnvMapsText});
  return scan;
}
