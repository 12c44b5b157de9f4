#pragma once
// Phong and environment maps: 256 x 256 8-bit images looked up by the shaded
// render modes. A phong map's pixels hold light levels 0..63 (the grey value
// shifted right by 2, once, on loading); its storedPixels hold the light rows
// the lit textured mode derives from them. An environment map's pixels are
// palette indices drawn as they are; it has no use for storedPixels.

#include <functional>
#include <memory>
#include <string>

#include "image/skin_set.h"
#include "platform/file_error.h"

enum class MapKind { Phong, Environment };

constexpr int kMapSide = 256;

inline constexpr char kPhongWrongSizeText[] =
    "Error loading Phong Map: Incorrect dimensions!\nPhong maps must be 256x256, and 8bit Greyscale";
inline constexpr char kEnvWrongSizeText[] =
    "Error loading Environment Map: Incorrect dimensions!\nEnvironment maps must be 256x256, and 8bit";
inline constexpr char kNoPhongMapsText[] = "There were no valid Phong Maps found at that location";
inline constexpr char kNoEnvMapsText[] = "There were no valid Environment Maps at that location";

// True for an image a map list can hold: 256 x 256 with a matching buffer.
bool IsMapSized(const Skin& image);

// Every pixel shifted right by 2: grey 0..255 into light levels 0..63.
void ShiftPhongLevels(Skin& map);

// Turns a freshly loaded 256 x 256 image into a list entry of the kind:
// external, named by its file name alone, phong levels shifted or the
// environment map's unused stored copy released.
void PrepareMap(Skin& image, MapKind kind);

// Loads every "*.PCX" and then every "*.BMP" file in `folder`
// (case-insensitive), appending each 256 x 256 one to `maps` and dropping
// the rest: of those, the ones that are no readable image leave a notice
// naming the file, the others none. `refreshBars` runs after each pass that
// found a file. No map kept: the kind's "no valid maps" notice, last. The
// current map is left alone, and files already listed are listed again.
struct MapScan {
  int added = 0;
  FileNotices notices;  // for the caller to show, in order
};
MapScan ScanMapFolder(MapKind kind, const std::string& folder, SkinList& maps,
                      const std::function<void()>& refreshBars);

inline MapScan ScanPhongFolder(const std::string& folder, SkinList& maps, const std::function<void()>& refreshBars) {
  return ScanMapFolder(MapKind::Phong, folder, maps, refreshBars);
}
inline MapScan ScanEnvFolder(const std::string& folder, SkinList& maps, const std::function<void()>& refreshBars) {
  return ScanMapFolder(MapKind::Environment, folder, maps, refreshBars);
}
