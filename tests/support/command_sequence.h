#pragma once
// A headless driver that plays long random sequences of what a user does
// (menu commands with their dialogs answered, drags and strokes in both views
// and the two strips, undo, redo, frame and skin changes) on generated models
// and checks the document after every step. The choices come from a byte
// source: a seeded generator in the test suite, the fuzzer's input in the
// long runs. No test framework in here, so the fuzz target builds it too.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

struct Model;

// Where the driver's choices come from.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint8_t Byte() = 0;
  // True once a finite source has given all it holds.
  virtual bool Exhausted() const = 0;

  // 0..n-1 (0 when n < 2).
  int Below(int n);
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  // True about once in n.
  bool OneIn(int n) { return Below(n) == 0; }
};

// An endless, reproducible stream.
class SeededBytes : public ByteSource {
 public:
  explicit SeededBytes(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint8_t Byte() override;
  bool Exhausted() const override { return false; }

 private:
  std::uint64_t state_;
};

// The bytes given, then zeros.
class SpanBytes : public ByteSource {
 public:
  explicit SpanBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint8_t Byte() override { return pos_ < bytes_.size() ? bytes_[pos_++] : 0; }
  bool Exhausted() const override { return pos_ >= bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

// What a consistent document looks like: counts within the model's limits,
// every triangle's vertex and mapping indices in range, mapping coordinates
// finite, every skin's pixels and stored pixels width x height, the current
// skin, frame and maps valid. Empty when all hold, else what is broken.
std::string CheckDocument(const Model& model);

struct SequenceOptions {
  int maxSteps = 1000;
  // Every so many steps an Undo and a Redo must give back the same bytes.
  int undoCheckEvery = 7;
  // Scratch folder for the model, its skins and whatever the commands save;
  // emptied and filled again at the start.
  std::string scratchFolder;
  // Every step's operation on stderr, to follow a failing run.
  bool trace = false;
};

// Builds the model the first bytes choose, then plays steps until maxSteps
// or the source runs dry. A broken document aborts the process with the
// step number and the operation on stderr. Returns the steps played.
int RunCommandSequence(ByteSource& bytes, const SequenceOptions& options);
