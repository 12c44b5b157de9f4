#include <algorithm>
#include <cerrno>

#include "image/image_bytes.h"
#include "image/image_files.h"
#include "image/jpeg_read.h"
#include "image/png_read.h"
#include "image/tga_file.h"
#include "platform/files.h"

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

FileResult<std::unique_ptr<Skin>> ParseSkinImage(std::span<const std::uint8_t> bytes) {
  if (IsPcx(bytes)) return ParsePcx(bytes);
  if (IsBmp(bytes)) return ParseBmp(bytes);
  // Skins saved as PNG are named in model files: the 8-bit ones the program
  // writes are read like the other two. A true-colour one would need a
  // palette chosen for it, which only the picture readers below do.
  if (IsPng(bytes)) {
    auto picture = ParsePng(bytes);
    if (!picture) return picture.error();
    if (picture->indexed) {
      picture->indexed->format = FORMAT_PNG;
      return std::move(picture->indexed);
    }
  }
  return FileError{kNotValidSkinText};
}

FileResult<DecodedPicture> ParsePicture(std::span<const std::uint8_t> bytes) {
  if (IsPng(bytes)) return ParsePng(bytes);
  if (IsJpeg(bytes)) return ParseJpeg(bytes);
  // PCX and BMP go first: their marks are also plausible TGA headers.
  if (!IsPcx(bytes) && !IsBmp(bytes) && LooksLikeTga(bytes)) return ParseTga(bytes);
  auto skin = ParseSkinImage(bytes);
  if (!skin) return skin.error();
  DecodedPicture picture;
  picture.indexed = std::move(*skin);
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

// A reader's failure on the bytes of `path` names that file.
FileError InFile(FileError error, const std::string& path) {
  error.path = path;
  return error;
}

FileResult<std::unique_ptr<Skin>> FinishLoaded(FileResult<std::unique_ptr<Skin>> skin, const std::string& path) {
  if (!skin) return InFile(skin.error(), path);
  Skin& s = **skin;
  s.name = path;
  s.path = AbsolutePath(path);
  s.hasFile = 1;
  s.flags = 0;
  return skin;
}

}  // namespace

FileResult<DecodedPicture> LoadPicture(const std::string& path) {
  int cause = 0;
  auto bytes = ReadFileBytes(path, &cause, kMaxPictureFileBytes);
  if (!bytes) return LoadFailure(path, cause);
  auto picture = ParsePicture(*bytes);
  if (!picture) return InFile(picture.error(), path);
  return picture;
}

FileResult<std::unique_ptr<Skin>> LoadSkinImage(const std::string& path) {
  int cause = 0;
  auto bytes = ReadFileBytes(path, &cause, kMaxSkinFileBytes);
  if (!bytes) return LoadFailure(path, cause);
  return FinishLoaded(ParseSkinImage(*bytes), path);
}

FileResult<std::unique_ptr<Skin>> LoadSkinImage(const std::string& path, const Palette& trueColourPalette,
                                                bool dither) {
  int cause = 0;
  auto bytes = ReadFileBytes(path, &cause, kMaxPictureFileBytes);
  if (!bytes) return LoadFailure(path, cause);
  auto picture = ParsePicture(*bytes);
  if (!picture) return InFile(picture.error(), path);
  std::unique_ptr<Skin> mapped = SkinFromPicture(std::move(*picture), trueColourPalette, dither);
  // The readers refuse every size the mapping cannot hold, so this is the
  // same refusal should one ever slip past them.
  if (!mapped) return FileError{kSkinSizeText, 0, path};
  auto skin = FinishLoaded(std::move(mapped), path);
  // Whatever it became in memory, Save writes it back as what it was read from.
  if (skin) (*skin)->format = PictureFormat(*bytes);
  return skin;
}

bool HasWritablePixels(const Skin& skin) {
  return skin.width > 0 && skin.height > 0 &&
         skin.pixels.size() == static_cast<std::size_t>(skin.width) * static_cast<std::size_t>(skin.height);
}

std::optional<FileError> RefuseBeyondReaders(const Skin& skin, int maxColumns, const char* kind,
                                             const std::string& path) {
  std::string limit;
  if (skin.height > kMaxImageRows)
    limit = std::to_string(kMaxImageRows) + " rows";
  else if (skin.width > maxColumns)
    limit = std::to_string(maxColumns) + " columns";
  else
    return std::nullopt;
  return FileError{"Error Saving: " + std::to_string(skin.width) + " x " + std::to_string(skin.height) +
                       " is more than the " + limit + " " + kind + " can hold",
                   kCauseTooLargeForFormat, path};
}

void FinishParsedSkin(Skin& skin, std::uint8_t format) {
  skin.storedPixels = skin.pixels;
  skin.format = format;
  ComputeRowOffsets(&skin);
}

WriteResult SaveImageBytes(const std::vector<std::uint8_t>& bytes, const std::string& path) {
  int cause = bytes.empty() ? EINVAL : WriteFileAtomic(path, bytes);
  if (cause != 0) return SaveFailure(path, cause);
  return Written{};
}
