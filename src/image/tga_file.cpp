// TGA: an 18-byte header, an image id, an optional colour map, then the
// pixels, plain or as run-length packets (a count byte, its top bit set for
// one value repeated, then the values).

#include "image/tga_file.h"

#include <cstring>

#include "image/image_bytes.h"
#include "image/image_files.h"
#include "platform/file_error.h"

namespace {

constexpr std::size_t kHeaderSize = 18;

enum : std::uint8_t { kMapped = 1, kTrueColour = 2, kGrey = 3, kRle = 8 };

struct Layout {
  int width = 0, height = 0;
  int kind = 0;  // kMapped, kTrueColour or kGrey
  bool rle = false;
  std::size_t pixelBytes = 0;
  std::size_t mapFirst = 0, mapLength = 0, mapEntryBytes = 0;
  bool topDown = false, rightToLeft = false;
  bool alpha = false;
};

// The header's claims, checked against each other and the skin limits; the
// message to show when they cannot be read.
const char* ReadLayout(std::span<const std::uint8_t> b, Layout& l) {
  const int mapType = b[1];
  l.kind = b[2] & ~kRle;
  l.rle = (b[2] & kRle) != 0;
  l.mapFirst = GetU16(b, 3);
  l.mapLength = GetU16(b, 5);
  const int mapBits = b[7];
  l.width = GetU16(b, 12);
  l.height = GetU16(b, 14);
  const int bits = b[16];
  l.rightToLeft = (b[17] & 0x10) != 0;
  l.topDown = (b[17] & 0x20) != 0;
  // Writers that leave the fourth byte unused say so with no attribute bits.
  l.alpha = bits == 32 && (b[17] & 0x0F) != 0;
  l.pixelBytes = static_cast<std::size_t>(bits / 8);
  bool known = false;
  if (l.kind == kMapped)
    known = mapType == 1 && bits == 8 && (mapBits == 24 || mapBits == 32) && l.mapLength > 0;
  else if (l.kind == kTrueColour)
    known = bits == 24 || bits == 32;
  else if (l.kind == kGrey)
    known = bits == 8;
  if (!known) return kTgaKindText;
  // A colour map a true-colour file carries along is skipped unread.
  l.mapEntryBytes = mapType == 1 ? static_cast<std::size_t>((mapBits + 7) / 8) : 0;
  if (l.width <= 0 || l.height <= 0 || l.width > kMaxImageWidth || l.height > kMaxImageRows) return kSkinSizeText;
  return nullptr;
}

// The pixel values in file order, one `pixelBytes` group a pixel; false when
// the data ends early or a run reaches past the last pixel.
bool Unpack(std::span<const std::uint8_t> b, std::size_t at, const Layout& l, std::vector<std::uint8_t>& out) {
  const std::size_t pixels = static_cast<std::size_t>(l.width) * static_cast<std::size_t>(l.height);
  const std::size_t need = pixels * l.pixelBytes;
  const std::size_t avail = b.size() - at;
  if (!l.rle) {
    if (avail < need) return false;
    out.assign(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + need));
    return true;
  }
  // A packet of 1 + pixelBytes bytes gives at most 128 pixels, so data too
  // short for the picture is known before anything is allocated.
  if (avail / (1 + l.pixelBytes) * 128 + 128 < pixels) return false;
  out.resize(need);
  std::size_t done = 0;
  while (done < pixels) {
    if (at >= b.size()) return false;
    const std::uint8_t head = b[at++];
    const std::size_t count = (head & 0x7Fu) + 1;
    if (count > pixels - done) return false;
    const bool repeat = (head & 0x80) != 0;
    const std::size_t bytes = (repeat ? 1 : count) * l.pixelBytes;
    if (b.size() - at < bytes) return false;
    std::uint8_t* dst = out.data() + done * l.pixelBytes;
    if (repeat) {
      for (std::size_t i = 0; i < count; ++i) std::memcpy(dst + i * l.pixelBytes, b.data() + at, l.pixelBytes);
    } else {
      std::memcpy(dst, b.data() + at, bytes);
    }
    at += bytes;
    done += count;
  }
  return true;
}

// Index of the file's n-th pixel in a top-row-first, left-to-right picture.
std::size_t Place(const Layout& l, std::size_t n) {
  const std::size_t w = static_cast<std::size_t>(l.width);
  std::size_t y = n / w, x = n % w;
  if (!l.topDown) y = static_cast<std::size_t>(l.height) - 1 - y;
  if (l.rightToLeft) x = w - 1 - x;
  return y * w + x;
}

}  // namespace

bool LooksLikeTga(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kHeaderSize || bytes[1] > 1) return false;
  const int kind = bytes[2] & ~kRle;
  return kind == kMapped || kind == kTrueColour || kind == kGrey;
}

FileResult<DecodedPicture> ParseTga(std::span<const std::uint8_t> bytes) {
  if (!LooksLikeTga(bytes)) {
    return FileError{kNotValidSkinText};
  }
  Layout l;
  if (const char* problem = ReadLayout(bytes, l)) {
    return FileError{problem};
  }
  const std::size_t mapAt = kHeaderSize + bytes[0];
  const std::size_t mapBytes = l.mapLength * l.mapEntryBytes;
  if (bytes.size() < mapAt + mapBytes) {
    return FileError{kDamagedSkinText};
  }
  std::vector<std::uint8_t> values;
  if (!Unpack(bytes, mapAt + mapBytes, l, values)) {
    return FileError{kDamagedSkinText};
  }

  const std::size_t count = static_cast<std::size_t>(l.width) * static_cast<std::size_t>(l.height);
  DecodedPicture picture;
  if (l.kind == kMapped) {
    auto skin = std::make_unique<Skin>();
    // Entries are B, G, R (and alpha, unused: the picture keeps its indices).
    for (std::size_t i = 0; i < l.mapLength && l.mapFirst + i < 256; ++i) {
      const std::uint8_t* e = bytes.data() + mapAt + i * l.mapEntryBytes;
      std::uint8_t* p = skin->palette.data() + (l.mapFirst + i) * 3;
      p[0] = e[2];
      p[1] = e[1];
      p[2] = e[0];
    }
    skin->pixels.resize(count);
    for (std::size_t n = 0; n < count; ++n) {
      const std::size_t v = values[n];
      if (v < l.mapFirst || v >= l.mapFirst + l.mapLength) {
        return FileError{kTgaColourMapText};
      }
      skin->pixels[Place(l, n)] = static_cast<std::uint8_t>(v);
    }
    skin->width = static_cast<std::int16_t>(l.width);
    skin->height = static_cast<std::int16_t>(l.height);
    FinishParsedSkin(*skin, FORMAT_PCX);
    picture.indexed = std::move(skin);
    return picture;
  }

  TrueColourPicture& tc = picture.trueColour;
  tc.width = l.width;
  tc.height = l.height;
  tc.rgba.resize(count * 4);
  for (std::size_t n = 0; n < count; ++n) {
    const std::uint8_t* v = values.data() + n * l.pixelBytes;
    std::uint8_t* p = tc.rgba.data() + Place(l, n) * 4;
    if (l.kind == kGrey) {
      p[0] = p[1] = p[2] = v[0];
      p[3] = 255;
    } else {
      p[0] = v[2];
      p[1] = v[1];
      p[2] = v[0];
      p[3] = l.alpha ? v[3] : 255;
    }
  }
  return picture;
}
