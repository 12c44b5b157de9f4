#include "image/maps.h"

#include <cstddef>

#include "image/image_files.h"
#include "platform/files.h"
#include "platform/ui.h"

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

int ScanMapFolder(MapKind kind, const std::string& folder, SkinList& maps, Ui& ui,
                  const std::function<void()>& refreshBars) {
  int kept = 0;
  for (const char* pattern : {"*.PCX", "*.BMP"}) {
    std::vector<std::string> files = FindFiles(folder, pattern);
    for (const auto& file : files) {
      auto image = LoadSkinImage(file, ui);
      if (!image || !IsMapSized(*image)) continue;
      PrepareMap(*image, kind);
      maps.push_back(std::move(image));
      ++kept;
    }
    if (!files.empty() && refreshBars) refreshBars();
  }
  if (kept == 0) ui.Message(kind == MapKind::Phong ? kNoPhongMapsText : kNoEnvMapsText);
  return kept;
}
