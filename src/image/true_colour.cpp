#include "image/true_colour.h"

#include <algorithm>
#include <limits>

#include "image/image_bytes.h"
#include "image/palette_matcher.h"

namespace {

std::vector<std::uint8_t> MapPlain(const TrueColourPicture& picture, PaletteMatcher& matcher) {
  const std::size_t count = picture.rgba.size() / 4;
  std::vector<std::uint8_t> out(count);
  const std::uint8_t* px = picture.rgba.data();
  for (std::size_t i = 0; i < count; ++i, px += 4)
    out[i] = px[3] < kOpaqueAlphaFrom ? kTransparentIndex : matcher.Nearest(px[0], px[1], px[2]);
  return out;
}

std::vector<std::uint8_t> MapDithered(const TrueColourPicture& picture, const Palette& palette,
                                      PaletteMatcher& matcher) {
  const std::size_t w = static_cast<std::size_t>(picture.width);
  const std::size_t h = static_cast<std::size_t>(picture.height);
  std::vector<std::uint8_t> out(w * h);
  // Errors in sixteenths, for this row and the next, one slot of margin on
  // each side so the spread needs no edge tests.
  std::vector<std::int32_t> here((w + 2) * 3, 0), next((w + 2) * 3, 0);
  for (std::size_t y = 0; y < h; ++y) {
    std::fill(next.begin(), next.end(), 0);
    for (std::size_t x = 0; x < w; ++x) {
      const std::uint8_t* px = picture.rgba.data() + (y * w + x) * 4;
      // A see-through pixel shows nothing, so it neither takes nor passes on
      // any error.
      if (px[3] < kOpaqueAlphaFrom) {
        out[y * w + x] = kTransparentIndex;
        continue;
      }
      std::int32_t want[3];
      std::uint8_t clamped[3];
      for (int c = 0; c < 3; ++c) {
        want[c] = px[c] + here[(x + 1) * 3 + static_cast<std::size_t>(c)] / 16;
        clamped[c] = static_cast<std::uint8_t>(std::clamp(want[c], 0, 255));
      }
      const std::uint8_t index = matcher.Nearest(clamped[0], clamped[1], clamped[2]);
      out[y * w + x] = index;
      for (int c = 0; c < 3; ++c) {
        const std::int32_t e = clamped[c] - palette[static_cast<std::size_t>(index) * 3 + static_cast<std::size_t>(c)];
        const std::size_t at = (x + 1) * 3 + static_cast<std::size_t>(c);
        here[at + 3] += e * 7;
        next[at - 3] += e * 3;
        next[at] += e * 5;
        next[at + 3] += e;
      }
    }
    std::swap(here, next);
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> MapToPalette(const TrueColourPicture& picture, const Palette& palette, bool dither) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgba.size() != static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4)
    return {};
  PaletteMatcher matcher(palette);
  return dither ? MapDithered(picture, palette, matcher) : MapPlain(picture, matcher);
}

TrueColourPicture ExpandToTrueColour(const Skin& skin) {
  TrueColourPicture picture;
  picture.width = skin.width;
  picture.height = skin.height;
  picture.rgba.resize(skin.pixels.size() * 4);
  for (std::size_t i = 0; i < skin.pixels.size(); ++i) {
    const std::size_t at = static_cast<std::size_t>(skin.pixels[i]) * 3;
    picture.rgba[i * 4] = skin.palette[at];
    picture.rgba[i * 4 + 1] = skin.palette[at + 1];
    picture.rgba[i * 4 + 2] = skin.palette[at + 2];
    picture.rgba[i * 4 + 3] = 255;
  }
  return picture;
}

std::unique_ptr<Skin> SkinFromPicture(DecodedPicture picture, const Palette& palette, bool dither) {
  if (picture.indexed) return std::move(picture.indexed);
  const TrueColourPicture& tc = picture.trueColour;
  auto pixels = MapToPalette(tc, palette, dither);
  if (pixels.empty() || tc.width > std::numeric_limits<std::int16_t>::max() || tc.height > kMaxImageRows) return nullptr;
  auto skin = std::make_unique<Skin>();
  skin->width = static_cast<std::int16_t>(tc.width);
  skin->height = static_cast<std::int16_t>(tc.height);
  skin->pixels = std::move(pixels);
  skin->palette = palette;
  FinishParsedSkin(*skin, FORMAT_PCX);
  return skin;
}
