#include <algorithm>
#include <cerrno>

#include "image/image_bytes.h"
#include "image/image_files.h"
#include "image/jpeg_read.h"
#include "image/png_read.h"
#include "image/tga_file.h"
#include "platform/file_message_ui.h"
#include "platform/files.h"
#include "platform/ui.h"

namespace {

bool IsPcx(std::span<const std::uint8_t> bytes) { return bytes.size() >= 2 && bytes[0] == 0x0A && bytes[1] == 0x05; }
bool IsBmp(std::span<const std::uint8_t> bytes) { return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M'; }

// Which format a file that ParsePicture read was in, told the way it tells.
std::uint8_t PictureFormat(std::span<const std::uint8_t> bytes) {
  if (IsPng(bytes)) return FORMAT_PNG;
  if (IsJpeg(bytes)) return FORMAT_JPEG;
  if (IsPcx(bytes)) return FORMAT_PCX;
  if (IsBmp(bytes)) return FORMAT_BMP;
  return FORMAT_TGA;
}

}  // namespace

std::unique_ptr<Skin> ParseSkinImage(std::span<const std::uint8_t> bytes, Ui& ui) {
  if (IsPcx(bytes)) return ParsePcx(bytes, ui);
  if (IsBmp(bytes)) return ParseBmp(bytes, ui);
  // Skins saved as PNG are named in model files: the 8-bit ones the program
  // writes are read like the other two. A true-colour one would need a
  // palette chosen for it, which only the picture readers below do.
  if (IsPng(bytes)) {
    auto picture = ParsePng(bytes, ui);
    if (!picture) return nullptr;
    if (picture->indexed) {
      picture->indexed->format = FORMAT_PNG;
      return std::move(picture->indexed);
    }
  }
  ui.Message(kNotValidSkinText);
  return nullptr;
}

std::optional<DecodedPicture> ParsePicture(std::span<const std::uint8_t> bytes, Ui& ui) {
  if (IsPng(bytes)) return ParsePng(bytes, ui);
  if (IsJpeg(bytes)) return ParseJpeg(bytes, ui);
  // PCX and BMP go first: their marks are also plausible TGA headers.
  if (!IsPcx(bytes) && !IsBmp(bytes) && LooksLikeTga(bytes)) return ParseTga(bytes, ui);
  auto skin = ParseSkinImage(bytes, ui);
  if (!skin) return std::nullopt;
  DecodedPicture picture;
  picture.indexed = std::move(skin);
  return picture;
}

namespace {

// The format is told by content, after the read: each read allows the
// largest file of the kinds it accepts. A palette PNG, a byte a pixel stored
// at worst uncompressed, stays far below the largest PCX, so the skin reader
// needs no more room for it.
constexpr std::uintmax_t kMaxSkinFileBytes = std::max(kMaxPcxFileBytes, kMaxBmpFileBytes);
constexpr std::uintmax_t kMaxPictureFileBytes =
    std::max({kMaxSkinFileBytes, kMaxPngFileBytes, kMaxTgaFileBytes, kMaxJpegFileBytes});

}  // namespace

std::optional<DecodedPicture> LoadPicture(const std::string& path, Ui& ui, int* cause) {
  auto bytes = ReadFileBytes(path, cause, kMaxPictureFileBytes);
  if (!bytes) return std::nullopt;
  FileMessageUi named(ui, path);
  return ParsePicture(*bytes, named);
}

namespace {

std::unique_ptr<Skin> FinishLoaded(std::unique_ptr<Skin> skin, const std::string& path) {
  if (!skin) return nullptr;
  skin->name = path;
  skin->path = AbsolutePath(path);
  skin->hasFile = 1;
  skin->flags = 0;
  return skin;
}

}  // namespace

std::unique_ptr<Skin> LoadSkinImage(const std::string& path, Ui& ui, int* cause) {
  // A file that cannot be opened is reported by the caller, which knows
  // whether a stand-in skin follows.
  auto bytes = ReadFileBytes(path, cause, kMaxSkinFileBytes);
  if (!bytes) return nullptr;
  FileMessageUi named(ui, path);
  return FinishLoaded(ParseSkinImage(*bytes, named), path);
}

std::unique_ptr<Skin> LoadSkinImage(const std::string& path, Ui& ui, const Palette& trueColourPalette,
                                    bool dither) {
  auto bytes = ReadFileBytes(path, nullptr, kMaxPictureFileBytes);
  if (!bytes) return nullptr;
  FileMessageUi named(ui, path);
  auto picture = ParsePicture(*bytes, named);
  if (!picture) return nullptr;
  auto skin = FinishLoaded(SkinFromPicture(std::move(*picture), trueColourPalette, dither), path);
  // Whatever it became in memory, Save writes it back as what it was read from.
  if (skin) skin->format = PictureFormat(*bytes);
  return skin;
}

bool HasWritablePixels(const Skin& skin) {
  return skin.width > 0 && skin.height > 0 &&
         skin.pixels.size() == static_cast<std::size_t>(skin.width) * static_cast<std::size_t>(skin.height);
}

bool RefuseBeyondReaders(const Skin& skin, int maxColumns, const char* kind, const std::string& path, Ui& ui) {
  std::string limit;
  if (skin.height > kMaxImageRows)
    limit = std::to_string(kMaxImageRows) + " rows";
  else if (skin.width > maxColumns)
    limit = std::to_string(maxColumns) + " columns";
  else
    return false;
  ui.Message("Error Saving: " + std::to_string(skin.width) + " x " + std::to_string(skin.height) +
             " is more than the " + limit + " " + kind + " can hold\n" + path);
  return true;
}

void FinishParsedSkin(Skin& skin, std::uint8_t format) {
  skin.storedPixels = skin.pixels;
  skin.format = format;
  ComputeRowOffsets(&skin);
}

bool SaveImageBytes(const std::vector<std::uint8_t>& bytes, const std::string& path, Ui& ui) {
  int cause = bytes.empty() ? EINVAL : WriteFileAtomic(path, bytes);
  if (cause != 0) {
    ui.Message(SaveErrorText(path, cause));
    return false;
  }
  return true;
}
