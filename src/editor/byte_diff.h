#pragma once
// The difference between two byte strings as the runs that changed, with
// both sides' bytes kept, so it can be applied either way. Undo steps hold
// these instead of whole copies: a one-texel stroke costs a few bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class ByteReader;
class ByteWriter;

class ByteDiff {
 public:
  ByteDiff() = default;
  // The runs that turn `before` into `after`. Bytes past the shorter side's
  // end form one tail run of their own.
  static ByteDiff Between(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after);

  bool empty() const { return runs_.empty() && beforeSize_ == afterSize_; }
  std::size_t beforeSize() const { return beforeSize_; }
  std::size_t afterSize() const { return afterSize_; }
  // What the diff holds, in bytes, for the history's memory budget.
  std::size_t bytes() const;

  // Whether `data` is exactly the after (or before) side in every byte the
  // diff covers and in length: the check that a step is applied to the
  // state it was taken from.
  bool MatchesAfter(std::span<const std::uint8_t> data) const;
  bool MatchesBefore(std::span<const std::uint8_t> data) const;

  // Rewrites `data` (resized as needed) from one side to the other. The
  // caller checks MatchesAfter/MatchesBefore first.
  void ApplyForward(std::vector<std::uint8_t>& data) const;
  void ApplyBackward(std::vector<std::uint8_t>& data) const;

  // The diff as bytes (the recovery journal keeps steps this way), and back.
  // Read takes only what Between could have made: runs in order, inside the
  // common part, with stores that add up; nothing otherwise.
  void Write(ByteWriter& out) const;
  static std::optional<ByteDiff> Read(ByteReader& in);

 private:
  struct Run {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::uint32_t store = 0;  // where the run's bytes start in before_/after_
  };
  bool Matches(std::span<const std::uint8_t> data, bool afterSide) const;
  void Apply(std::vector<std::uint8_t>& data, bool forward) const;

  std::vector<Run> runs_;
  std::vector<std::uint8_t> before_;  // the runs' old bytes, then the old tail
  std::vector<std::uint8_t> after_;   // the runs' new bytes, then the new tail
  std::size_t beforeSize_ = 0;
  std::size_t afterSize_ = 0;
  std::size_t common_ = 0;  // min(beforeSize_, afterSize_): where the tails start
};
