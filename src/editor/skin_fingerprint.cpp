#include "editor/skin_fingerprint.h"

#include <bit>
#include <cstring>
#include <string>

namespace {

// A word at a time: the fingerprint of a large skin is taken on every
// question about unsaved work, and no one is trying to collide it.
class Mixer {
 public:
  void Word(std::uint64_t w) { h_ = std::rotl(h_ ^ w, 29) * 0x9E3779B97F4A7C15ull; }
  void Bytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    Word(n);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      std::uint64_t w;
      std::memcpy(&w, p + i, 8);
      Word(w);
    }
    std::uint64_t tail = 0;
    if (n > i) std::memcpy(&tail, p + i, n - i);  // an empty skin has no pixels to point at
    Word(tail);
  }
  std::uint64_t Final() const {
    std::uint64_t h = h_;
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return h ? h : 1;
  }

 private:
  std::uint64_t h_ = 0x243F6A8885A308D3ull;
};

}  // namespace

std::uint64_t SkinFingerprint(const Skin& skin) {
  Mixer m;
  // The list bar turns every '/' of a name into '\'; that is no edit.
  std::string name = skin.name;
  for (char& c : name)
    if (c == '/') c = '\\';
  m.Bytes(name.data(), name.size());
  m.Word(static_cast<std::uint64_t>(static_cast<std::uint16_t>(skin.width)) << 16 |
         static_cast<std::uint16_t>(skin.height));
  m.Bytes(skin.palette.data(), skin.palette.size());
  m.Bytes(skin.pixels.data(), skin.pixels.size());
  return m.Final();
}

bool SkinChanged(const Skin& skin) {
  return skin.modified || (skin.savedFingerprint != 0 && SkinFingerprint(skin) != skin.savedFingerprint);
}

void MarkSkinSaved(Skin& skin) {
  skin.modified = false;
  skin.savedFingerprint = SkinFingerprint(skin);
}

void TakeSavedFingerprint(Skin& skin) {
  if (!skin.modified && skin.savedFingerprint == 0) skin.savedFingerprint = SkinFingerprint(skin);
}
