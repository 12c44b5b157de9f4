#pragma once
// Plain little helpers for the program's own binary records (recovery copies,
// the journal): values in the machine's order, byte strings with their
// length before them, and a reader that never reads past its buffer.

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

class ByteWriter {
 public:
  template <class T>
  void Put(T value) {
    Raw(&value, sizeof(T));
  }
  // Grown then copied into, rather than inserted: GCC 12 mistakes a small
  // insert at the end of a vector for a write past it when optimising.
  void Raw(const void* data, std::size_t n) {
    if (n == 0) return;
    const std::size_t at = bytes.size();
    bytes.resize(at + n);
    std::memcpy(bytes.data() + at, data, n);
  }
  void Blob(const void* data, std::size_t n) {
    Put(static_cast<std::uint64_t>(n));
    Raw(data, n);
  }
  void Blob(std::span<const std::uint8_t> v) { Blob(v.data(), v.size()); }
  std::vector<std::uint8_t> bytes;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  template <class T>
  bool Get(T& value) {
    if (bytes_.size() - pos_ < sizeof(T)) return false;
    std::memcpy(&value, bytes_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return true;
  }
  bool Blob(std::vector<std::uint8_t>& out) {
    std::uint64_t n = 0;
    if (!Get(n) || bytes_.size() - pos_ < n) return false;
    out.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
               bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
    pos_ += static_cast<std::size_t>(n);
    return true;
  }
  bool Magic(const char (&magic)[8]) {
    char read[8];
    for (char& c : read)
      if (!Get(c)) return false;
    return std::memcmp(read, magic, 8) == 0;
  }
  bool AtEnd() const { return pos_ == bytes_.size(); }
  std::size_t position() const { return pos_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

// FNV-1a over the bytes: enough to tell a torn or damaged record from a whole
// one, which is all the program's own files need.
inline std::uint64_t Fnv1a(std::span<const std::uint8_t> bytes, std::uint64_t h = 14695981039346656037ull) {
  for (std::uint8_t b : bytes) {
    h ^= b;
    h *= 1099511628211ull;
  }
  return h;
}
