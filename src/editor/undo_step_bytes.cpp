// A closed undo step to bytes and back, for the recovery journal. What is
// read may come from a damaged file, so every position and size is checked
// against what Finish could have made before the step can be played.

#include <algorithm>

#include "editor/byte_io.h"
#include "editor/document_bytes.h"
#include "editor/undo_step.h"

namespace {

constexpr char kStepMagic[8] = {'S', 'T', 'U', 'N', 'D', 'O', 'S', '1'};
constexpr std::uint32_t kMaxName = 4096;
// More skins than any model holds.
constexpr std::int32_t kMaxListed = 4096;

void PutState(ByteWriter& out, const SkinFileState& s) {
  out.Put(static_cast<std::uint8_t>(s.modified ? 1 : 0));
  out.Put(s.savedFingerprint);
}

bool GetState(ByteReader& in, SkinFileState& s) {
  std::uint8_t modified = 0;
  if (!in.Get(modified) || !in.Get(s.savedFingerprint) || modified > 1) return false;
  s.modified = modified == 1;
  return true;
}

// The pixel count a record gives its skin; nothing when it is no record of
// a skin the program can hold.
std::optional<std::size_t> AreaOf(const std::vector<std::uint8_t>& record) {
  Skin skin;
  if (!SetSkinRecordBytes(skin, record) || skin.width <= 0 || skin.height <= 0 || skin.height > kMaxImageRows)
    return std::nullopt;
  return static_cast<std::size_t>(skin.width) * static_cast<std::size_t>(skin.height);
}

bool StoredFits(std::size_t stored, std::size_t pixels) { return stored == 0 || stored == pixels; }

}  // namespace

void UndoStep::Write(ByteWriter& out) const {
  out.Raw(kStepMagic, sizeof kStepMagic);
  out.Blob(name_.data(), name_.size());
  out.Put(static_cast<std::uint32_t>(parts_));
  out.Put(static_cast<std::uint8_t>(savedMeshChanged_ ? 1 : 0));
  mesh_.Write(out);
  out.Put(static_cast<std::int32_t>(countBefore_));
  out.Put(static_cast<std::int32_t>(countAfter_));
  out.Put(static_cast<std::int32_t>(currentBefore_));
  out.Put(static_cast<std::int32_t>(currentAfter_));
  out.Put(static_cast<std::uint32_t>(skins_.size()));
  for (const SkinChange& c : skins_) {
    out.Put(static_cast<std::int32_t>(c.beforePos));
    out.Put(static_cast<std::int32_t>(c.afterPos));
    out.Put(static_cast<std::uint8_t>(c.recordChanged ? 1 : 0));
    out.Blob(c.recordBefore);
    out.Blob(c.recordAfter);
    c.pixels.Write(out);
    c.stored.Write(out);
    PutState(out, c.fileBefore);
    PutState(out, c.fileAfter);
  }
}

std::unique_ptr<UndoStep> UndoStep::Read(std::span<const std::uint8_t> bytes) {
  ByteReader in(bytes);
  std::unique_ptr<UndoStep> step(new UndoStep);
  std::vector<std::uint8_t> name;
  std::uint32_t parts = 0, changes = 0;
  std::uint8_t savedMeshChanged = 0;
  std::int32_t countBefore = 0, countAfter = 0, currentBefore = 0, currentAfter = 0;
  if (!in.Magic(kStepMagic) || !in.Blob(name) || name.size() > kMaxName || !in.Get(parts) ||
      !in.Get(savedMeshChanged) || savedMeshChanged > 1 ||
      (parts & ~unsigned{STEP_MESH | STEP_CURRENT_SKIN | STEP_SKINS}) != 0)
    return nullptr;
  std::optional<ByteDiff> mesh = ByteDiff::Read(in);
  if (!mesh || !in.Get(countBefore) || !in.Get(countAfter) || !in.Get(currentBefore) || !in.Get(currentAfter) ||
      !in.Get(changes))
    return nullptr;
  if (!(parts & STEP_MESH) && !mesh->empty()) return nullptr;
  step->name_.assign(name.begin(), name.end());
  step->parts_ = parts;
  step->savedMeshChanged_ = savedMeshChanged == 1;
  step->mesh_ = std::move(*mesh);
  step->countBefore_ = countBefore;
  step->countAfter_ = countAfter;
  step->currentBefore_ = currentBefore;
  step->currentAfter_ = currentAfter;

  const bool list = (parts & STEP_SKINS) != 0;
  if (changes > static_cast<std::uint32_t>(2 * kMaxListed)) return nullptr;
  for (std::uint32_t i = 0; i < changes; ++i) {
    SkinChange c;
    std::uint8_t recordChanged = 0;
    std::int32_t beforePos = 0, afterPos = 0;
    if (!in.Get(beforePos) || !in.Get(afterPos) || !in.Get(recordChanged) || recordChanged > 1 ||
        !in.Blob(c.recordBefore) || !in.Blob(c.recordAfter))
      return nullptr;
    std::optional<ByteDiff> pixels = ByteDiff::Read(in);
    if (!pixels) return nullptr;
    std::optional<ByteDiff> stored = ByteDiff::Read(in);
    if (!stored || !GetState(in, c.fileBefore) || !GetState(in, c.fileAfter)) return nullptr;
    c.beforePos = beforePos;
    c.afterPos = afterPos;
    c.recordChanged = recordChanged == 1;
    c.pixels = std::move(*pixels);
    c.stored = std::move(*stored);

    if (c.beforePos < -1 || c.afterPos < -1 || c.beforePos >= kMaxListed || c.afterPos >= kMaxListed ||
        (c.beforePos < 0 && c.afterPos < 0))
      return nullptr;
    if (!list && (c.beforePos != c.afterPos || c.beforePos < 0)) return nullptr;
    // A side the skin is missing on holds nothing; a skin made or removed
    // carries its records.
    if (c.beforePos < 0 && (c.pixels.beforeSize() || c.stored.beforeSize() || !c.recordChanged ||
                            !c.recordBefore.empty()))
      return nullptr;
    if (c.afterPos < 0 && (c.pixels.afterSize() || c.stored.afterSize() || !c.recordChanged ||
                           !c.recordAfter.empty()))
      return nullptr;
    if (c.recordChanged) {
      for (bool after : {false, true}) {
        if ((after ? c.afterPos : c.beforePos) < 0) continue;
        const std::optional<std::size_t> area = AreaOf(after ? c.recordAfter : c.recordBefore);
        const std::size_t pixelsSize = after ? c.pixels.afterSize() : c.pixels.beforeSize();
        const std::size_t storedSize = after ? c.stored.afterSize() : c.stored.beforeSize();
        if (!area || pixelsSize != *area || !StoredFits(storedSize, *area)) return nullptr;
      }
    } else if (!c.recordBefore.empty() || !c.recordAfter.empty() ||
               c.pixels.beforeSize() != c.pixels.afterSize() ||
               !StoredFits(c.stored.beforeSize(), c.pixels.beforeSize()) ||
               !StoredFits(c.stored.afterSize(), c.pixels.afterSize())) {
      return nullptr;
    }
    step->skins_.push_back(std::move(c));
  }
  if (!in.AtEnd()) return nullptr;

  if (list && !step->skins_.empty()) {
    // Every place on either side is held by exactly one change.
    if (countBefore < 0 || countAfter < 0 || countBefore > kMaxListed || countAfter > kMaxListed ||
        currentBefore < -1 || currentBefore >= countBefore || currentAfter < -1 || currentAfter >= countAfter)
      return nullptr;
    std::vector<int> before(static_cast<std::size_t>(countBefore)), after(static_cast<std::size_t>(countAfter));
    for (const SkinChange& c : step->skins_) {
      if (c.beforePos >= countBefore || c.afterPos >= countAfter) return nullptr;
      if (c.beforePos >= 0) ++before[static_cast<std::size_t>(c.beforePos)];
      if (c.afterPos >= 0) ++after[static_cast<std::size_t>(c.afterPos)];
    }
    auto once = [](const std::vector<int>& held) {
      return std::all_of(held.begin(), held.end(), [](int n) { return n == 1; });
    };
    if (!once(before) || !once(after)) return nullptr;
  }
  if (step->mesh_.empty() && step->skins_.empty()) return nullptr;
  return step;
}
