#include <algorithm>
#include <cerrno>

#include "image/image_bytes.h"
#include "image/image_files.h"
#include "image/jpeg_read.h"
#include "image/png_read.h"
#include "image/tga_file.h"
#include "platform/files.h"
#include "platform/ui.h"

std::unique_ptr<Skin> ParseSkinImage(std::span<const std::uint8_t> bytes, Ui& ui) {
  if (bytes.size() >= 2 && bytes[0] == 0x0A && bytes[1] == 0x05) return ParsePcx(bytes, ui);
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return ParseBmp(bytes, ui);
  ui.Message(kNotValidSkinText);
  return nullptr;
}

std::optional<DecodedPicture> ParsePicture(std::span<const std::uint8_t> bytes, Ui& ui) {
  if (IsPng(bytes)) return ParsePng(bytes, ui);
  if (IsJpeg(bytes)) return ParseJpeg(bytes, ui);
  // PCX and BMP go first: their marks are also plausible TGA headers.
  const bool pcx = bytes.size() >= 2 && bytes[0] == 0x0A && bytes[1] == 0x05;
  const bool bmp = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
  if (!pcx && !bmp && LooksLikeTga(bytes)) return ParseTga(bytes, ui);
  auto skin = ParseSkinImage(bytes, ui);
  if (!skin) return std::nullopt;
  DecodedPicture picture;
  picture.indexed = std::move(skin);
  return picture;
}

namespace {

// The format is told by content, after the read: each read allows the
// largest file of the kinds it accepts.
constexpr std::uintmax_t kMaxSkinFileBytes = std::max(kMaxPcxFileBytes, kMaxBmpFileBytes);
constexpr std::uintmax_t kMaxPictureFileBytes =
    std::max({kMaxSkinFileBytes, kMaxPngFileBytes, kMaxTgaFileBytes, kMaxJpegFileBytes});

}  // namespace

std::optional<DecodedPicture> LoadPicture(const std::string& path, Ui& ui, int* cause) {
  auto bytes = ReadFileBytes(path, cause, kMaxPictureFileBytes);
  if (!bytes) return std::nullopt;
  return ParsePicture(*bytes, ui);
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
  return FinishLoaded(ParseSkinImage(*bytes, ui), path);
}

std::unique_ptr<Skin> LoadSkinImage(const std::string& path, Ui& ui, const Palette& trueColourPalette,
                                    bool dither) {
  auto picture = LoadPicture(path, ui);
  if (!picture) return nullptr;
  return FinishLoaded(SkinFromPicture(std::move(*picture), trueColourPalette, dither), path);
}

bool HasWritablePixels(const Skin& skin) {
  return skin.width > 0 && skin.height > 0 &&
         skin.pixels.size() == static_cast<std::size_t>(skin.width) * static_cast<std::size_t>(skin.height);
}

bool FitsImageFiles(const Skin& skin) { return skin.width <= kMaxImageWidth && skin.height <= kMaxImageRows; }

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
