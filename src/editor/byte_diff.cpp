#include "editor/byte_diff.h"

#include <algorithm>
#include <cstring>

#include "editor/byte_io.h"

namespace {

// Two changed runs this close are kept as one: a run's bookkeeping costs
// about as much as this many unchanged bytes stored twice.
constexpr std::size_t kMergeGap = 8;
constexpr std::size_t kBlock = 64;

// The first position >= from where a and b differ, or n.
std::size_t FirstDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t from, std::size_t n) {
  std::size_t i = from;
  while (i + kBlock <= n && std::memcmp(a + i, b + i, kBlock) == 0) i += kBlock;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

ByteDiff ByteDiff::Between(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after) {
  ByteDiff d;
  d.beforeSize_ = before.size();
  d.afterSize_ = after.size();
  d.common_ = std::min(before.size(), after.size());
  const std::uint8_t* a = before.data();
  const std::uint8_t* b = after.data();
  const std::size_t n = d.common_;
  std::size_t i = FirstDifference(a, b, 0, n);
  while (i < n) {
    // Extend the run until kMergeGap equal bytes in a row, or the end.
    std::size_t end = i + 1;
    std::size_t equal = 0;
    std::size_t j = end;
    while (j < n && equal < kMergeGap) {
      if (a[j] == b[j]) {
        ++equal;
      } else {
        equal = 0;
        end = j + 1;
      }
      ++j;
    }
    Run run;
    run.offset = static_cast<std::uint32_t>(i);
    run.length = static_cast<std::uint32_t>(end - i);
    run.store = static_cast<std::uint32_t>(d.before_.size());
    d.before_.insert(d.before_.end(), a + i, a + end);
    d.after_.insert(d.after_.end(), b + i, b + end);
    d.runs_.push_back(run);
    i = FirstDifference(a, b, end, n);
  }
  d.before_.insert(d.before_.end(), a + n, a + before.size());
  d.after_.insert(d.after_.end(), b + n, b + after.size());
  d.before_.shrink_to_fit();
  d.after_.shrink_to_fit();
  d.runs_.shrink_to_fit();
  return d;
}

std::size_t ByteDiff::bytes() const {
  return sizeof(ByteDiff) + runs_.capacity() * sizeof(Run) + before_.capacity() + after_.capacity();
}

bool ByteDiff::Matches(std::span<const std::uint8_t> data, bool afterSide) const {
  if (data.size() != (afterSide ? afterSize_ : beforeSize_)) return false;
  const std::vector<std::uint8_t>& side = afterSide ? after_ : before_;
  for (const Run& run : runs_)
    if (std::memcmp(data.data() + run.offset, side.data() + run.store, run.length) != 0) return false;
  const std::size_t tail = data.size() - common_;
  const std::size_t tailStore = side.size() - tail;
  return tail == 0 || std::memcmp(data.data() + common_, side.data() + tailStore, tail) == 0;
}

bool ByteDiff::MatchesAfter(std::span<const std::uint8_t> data) const { return Matches(data, true); }
bool ByteDiff::MatchesBefore(std::span<const std::uint8_t> data) const { return Matches(data, false); }

void ByteDiff::Apply(std::vector<std::uint8_t>& data, bool forward) const {
  const std::vector<std::uint8_t>& side = forward ? after_ : before_;
  const std::size_t size = forward ? afterSize_ : beforeSize_;
  data.resize(size);
  for (const Run& run : runs_) std::memcpy(data.data() + run.offset, side.data() + run.store, run.length);
  const std::size_t tail = size - common_;
  if (tail) std::memcpy(data.data() + common_, side.data() + (side.size() - tail), tail);
}

void ByteDiff::ApplyForward(std::vector<std::uint8_t>& data) const { Apply(data, true); }
void ByteDiff::ApplyBackward(std::vector<std::uint8_t>& data) const { Apply(data, false); }

void ByteDiff::Write(ByteWriter& out) const {
  out.Put(static_cast<std::uint64_t>(beforeSize_));
  out.Put(static_cast<std::uint64_t>(afterSize_));
  out.Put(static_cast<std::uint32_t>(runs_.size()));
  for (const Run& run : runs_) {
    out.Put(run.offset);
    out.Put(run.length);
  }
  out.Blob(before_);
  out.Blob(after_);
}

std::optional<ByteDiff> ByteDiff::Read(ByteReader& in) {
  ByteDiff d;
  std::uint64_t beforeSize = 0, afterSize = 0;
  std::uint32_t count = 0;
  if (!in.Get(beforeSize) || !in.Get(afterSize) || !in.Get(count)) return std::nullopt;
  // Offsets are 32-bit: no side of a diff is larger.
  if (beforeSize > UINT32_MAX || afterSize > UINT32_MAX) return std::nullopt;
  d.beforeSize_ = static_cast<std::size_t>(beforeSize);
  d.afterSize_ = static_cast<std::size_t>(afterSize);
  d.common_ = std::min(d.beforeSize_, d.afterSize_);
  std::uint64_t end = 0, stored = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    Run run;
    if (!in.Get(run.offset) || !in.Get(run.length)) return std::nullopt;
    if (run.length == 0 || run.offset < end || std::uint64_t{run.offset} + run.length > d.common_)
      return std::nullopt;
    run.store = static_cast<std::uint32_t>(stored);
    end = std::uint64_t{run.offset} + run.length;
    stored += run.length;
    d.runs_.push_back(run);
  }
  if (!in.Blob(d.before_) || !in.Blob(d.after_)) return std::nullopt;
  if (d.before_.size() != stored + (d.beforeSize_ - d.common_) || d.after_.size() != stored + (d.afterSize_ - d.common_))
    return std::nullopt;
  return d;
}
