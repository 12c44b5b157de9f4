#include "editor/undo_step.h"

#include <algorithm>
#include <memory>

#include "editor/document_bytes.h"
#include "image/skin_set.h"

namespace {

bool Changed(const ByteDiff& d) { return !d.empty(); }

// What a model save writes of the mesh: the counts, the used triangles'
// corners and the used mapping vertices. Triangle flags (selection, hidden
// faces, marks), the stored mapping and the mapping-vertex marks stay in
// memory only.
std::vector<std::uint8_t> SavedMeshBytes(const Model& m) {
  const std::size_t triangles = m.triangles.size();
  const std::size_t mapVertices = m.mapVertices.size();
  std::vector<std::uint8_t> out;
  out.reserve(5 * 2 + triangles * 12 + mapVertices * sizeof(MapVertex));
  auto put = [&out](const void* data, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), p, p + n);
  };
  for (int value : {static_cast<int>(m.VertexCount()), m.MapVertexCount(), m.TriangleCount(), static_cast<int>(m.skinWidth),
                    static_cast<int>(m.skinHeight)}) {
    const auto count = static_cast<std::int16_t>(value);
    put(&count, sizeof count);
  }
  for (std::size_t i = 0; i < triangles; ++i) {
    put(m.triangles[i].vertexIndex, sizeof m.triangles[i].vertexIndex);
    put(m.triangles[i].mapIndex, sizeof m.triangles[i].mapIndex);
  }
  put(m.mapVertices.data(), mapVertices * sizeof(MapVertex));
  return out;
}

}  // namespace

UndoStep::UndoStep(std::string name, unsigned parts, Model& model) : name_(std::move(name)) {
  AddParts(parts, model);
}

void UndoStep::AddParts(unsigned parts, Model& model) {
  const unsigned added = parts & ~parts_;
  if (!added) return;
  if (added & STEP_MESH) {
    meshBefore_ = MeshBytes(model);
    savedMeshBefore_ = SavedMeshBytes(model);
  }
  if (added & (STEP_SKINS | STEP_CURRENT_SKIN)) {
    if (!(parts_ & (STEP_SKINS | STEP_CURRENT_SKIN))) currentBefore_ = model.currentSkinIndex;
    CaptureSkins(model, added | parts_);
  }
  parts_ |= added;
}

void UndoStep::CaptureSkins(Model& model, unsigned parts) {
  // A skin already captured keeps its first capture: an outer action may
  // have changed it since.
  auto capture = [&](int pos) {
    Skin* skin = model.skins[static_cast<std::size_t>(pos)].get();
    for (const SkinCapture& c : skinsBefore_)
      if (c.skin == skin) return;
    TakeSavedFingerprint(*skin);
    SkinCapture c;
    c.skin = skin;
    c.record = SkinRecordBytes(*skin);
    c.pixels = skin->pixels;
    c.stored = skin->storedPixels;
    c.file = FileStateOf(*skin);
    skinsBefore_.push_back(std::move(c));
  };
  const int count = static_cast<int>(model.skins.size());
  if (parts & STEP_SKINS) {
    // Captures are kept in the list order of the moment the step began.
    std::vector<SkinCapture> earlier = std::move(skinsBefore_);
    skinsBefore_.clear();
    for (int i = 0; i < count; ++i) {
      const Skin* skin = model.skins[static_cast<std::size_t>(i)].get();
      auto it = std::find_if(earlier.begin(), earlier.end(), [skin](const SkinCapture& c) { return c.skin == skin; });
      if (it != earlier.end())
        skinsBefore_.push_back(std::move(*it));
      else
        capture(i);
    }
  } else if (model.currentSkinIndex >= 0 && model.currentSkinIndex < count) {
    capture(model.currentSkinIndex);
  }
}

bool UndoStep::Finish(Model& model) {
  if (parts_ & STEP_MESH) {
    mesh_ = ByteDiff::Between(meshBefore_, MeshBytes(model));
    savedMeshChanged_ = Changed(mesh_) && SavedMeshBytes(model) != savedMeshBefore_;
    meshBefore_.clear();
    meshBefore_.shrink_to_fit();
    savedMeshBefore_.clear();
    savedMeshBefore_.shrink_to_fit();
  }
  const int count = static_cast<int>(model.skins.size());
  bool listChanged = false;
  if (parts_ & STEP_SKINS) {
    countBefore_ = static_cast<int>(skinsBefore_.size());
    countAfter_ = count;
    currentAfter_ = model.currentSkinIndex;
    std::vector<bool> matched(static_cast<std::size_t>(count), false);
    for (int i = 0; i < countBefore_; ++i) {
      SkinCapture& c = skinsBefore_[static_cast<std::size_t>(i)];
      SkinChange change;
      change.beforePos = i;
      change.fileBefore = c.file;
      for (int j = 0; j < count; ++j)
        if (!matched[static_cast<std::size_t>(j)] && model.skins[static_cast<std::size_t>(j)].get() == c.skin) {
          change.afterPos = j;
          matched[static_cast<std::size_t>(j)] = true;
          break;
        }
      const Skin* now = change.afterPos >= 0 ? model.skins[static_cast<std::size_t>(change.afterPos)].get() : nullptr;
      std::vector<std::uint8_t> record = now ? SkinRecordBytes(*now) : std::vector<std::uint8_t>{};
      change.recordChanged = !now || record != c.record;
      if (change.recordChanged) {
        change.recordBefore = std::move(c.record);
        change.recordAfter = std::move(record);
      }
      static const std::vector<std::uint8_t> kNone;
      change.pixels = ByteDiff::Between(c.pixels, now ? now->pixels : kNone);
      change.stored = ByteDiff::Between(c.stored, now ? now->storedPixels : kNone);
      if (change.afterPos != i || change.recordChanged || Changed(change.pixels) || Changed(change.stored))
        listChanged = true;
      skins_.push_back(std::move(change));
    }
    for (int j = 0; j < count; ++j) {
      if (matched[static_cast<std::size_t>(j)]) continue;
      const Skin& now = *model.skins[static_cast<std::size_t>(j)];
      SkinChange change;
      change.afterPos = j;
      change.recordChanged = true;
      change.recordAfter = SkinRecordBytes(now);
      change.pixels = ByteDiff::Between({}, now.pixels);
      change.stored = ByteDiff::Between({}, now.storedPixels);
      skins_.push_back(std::move(change));
      listChanged = true;
    }
    if (currentAfter_ != currentBefore_) listChanged = true;
    if (!listChanged) skins_.clear();
  } else if ((parts_ & STEP_CURRENT_SKIN) && !skinsBefore_.empty()) {
    SkinCapture& c = skinsBefore_.front();
    const int pos = currentBefore_;
    if (pos < 0 || pos >= count || model.skins[static_cast<std::size_t>(pos)].get() != c.skin) {
      skinsBefore_.clear();
      return false;
    }
    const Skin& now = *model.skins[static_cast<std::size_t>(pos)];
    SkinChange change;
    change.beforePos = change.afterPos = pos;
    std::vector<std::uint8_t> record = SkinRecordBytes(now);
    change.recordChanged = record != c.record;
    if (change.recordChanged) {
      change.recordBefore = std::move(c.record);
      change.recordAfter = std::move(record);
    }
    change.pixels = ByteDiff::Between(c.pixels, now.pixels);
    change.stored = ByteDiff::Between(c.stored, now.storedPixels);
    if (change.recordChanged || Changed(change.pixels) || Changed(change.stored)) skins_.push_back(std::move(change));
  }
  skinsBefore_.clear();
  skinsBefore_.shrink_to_fit();

  for (SkinChange& change : skins_) {
    if (change.afterPos < 0 || change.beforePos >= 0) continue;
    Skin& skin = *model.skins[static_cast<std::size_t>(change.afterPos)];
    if (skin.hasFile)
      TakeSavedFingerprint(skin);
    else if (skin.savedFingerprint == 0)
      skin.modified = true;
    change.fileAfter = FileStateOf(skin);
  }
  return Changed(mesh_) || !skins_.empty();
}

bool UndoStep::SkinsMatch(const Model& model, bool forward) const {
  if (skins_.empty()) return true;
  const int count = static_cast<int>(model.skins.size());
  if ((parts_ & STEP_SKINS) && count != (forward ? countBefore_ : countAfter_)) return false;
  for (const SkinChange& c : skins_) {
    const int from = forward ? c.beforePos : c.afterPos;
    if (from < 0) continue;
    if (from >= count) return false;
    const Skin& skin = *model.skins[static_cast<std::size_t>(from)];
    if (c.recordChanged && SkinRecordBytes(skin) != (forward ? c.recordBefore : c.recordAfter)) return false;
    if (forward ? !c.pixels.MatchesBefore(skin.pixels) : !c.pixels.MatchesAfter(skin.pixels)) return false;
    if (forward ? !c.stored.MatchesBefore(skin.storedPixels) : !c.stored.MatchesAfter(skin.storedPixels))
      return false;
  }
  return true;
}

void UndoStep::ApplySkins(Model& model, bool forward) const {
  if (skins_.empty()) return;
  auto rewrite = [&](Skin& skin, const SkinChange& c, bool created) {
    if (c.recordChanged) SetSkinRecordBytes(skin, forward ? c.recordAfter : c.recordBefore);
    if (forward) {
      c.pixels.ApplyForward(skin.pixels);
      c.stored.ApplyForward(skin.storedPixels);
    } else {
      c.pixels.ApplyBackward(skin.pixels);
      c.stored.ApplyBackward(skin.storedPixels);
    }
    ComputeRowOffsets(&skin);
    if (created) SetFileState(skin, forward ? c.fileAfter : c.fileBefore);
  };
  if (!(parts_ & STEP_SKINS)) {
    for (const SkinChange& c : skins_) rewrite(*model.skins[static_cast<std::size_t>(c.afterPos)], c, false);
    return;
  }
  SkinList old = std::move(model.skins);
  SkinList list(static_cast<std::size_t>(forward ? countAfter_ : countBefore_));
  for (const SkinChange& c : skins_) {
    const int from = forward ? c.beforePos : c.afterPos;
    const int to = forward ? c.afterPos : c.beforePos;
    if (to < 0) continue;
    std::unique_ptr<Skin> skin =
        from >= 0 ? std::move(old[static_cast<std::size_t>(from)]) : std::make_unique<Skin>();
    rewrite(*skin, c, from < 0);
    list[static_cast<std::size_t>(to)] = std::move(skin);
  }
  model.skins = std::move(list);
  model.currentSkinIndex = static_cast<std::int16_t>(forward ? currentAfter_ : currentBefore_);
}

bool UndoStep::Apply(Model& model, bool forward) const {
  std::vector<std::uint8_t> mesh;
  if (Changed(mesh_)) {
    mesh = MeshBytes(model);
    if (forward ? !mesh_.MatchesBefore(mesh) : !mesh_.MatchesAfter(mesh)) return false;
  }
  if (!SkinsMatch(model, forward)) return false;
  if (Changed(mesh_)) {
    if (forward)
      mesh_.ApplyForward(mesh);
    else
      mesh_.ApplyBackward(mesh);
    SetMeshBytes(model, mesh);
    model.ComputeFaceNormals();
  }
  ApplySkins(model, forward);
  return true;
}

bool UndoStep::Undo(Model& model) const { return Apply(model, false); }
bool UndoStep::Redo(Model& model) const { return Apply(model, true); }

std::size_t UndoStep::bytes() const {
  std::size_t n = sizeof(UndoStep) + name_.capacity() + mesh_.bytes() - sizeof(ByteDiff);
  for (const SkinChange& c : skins_)
    n += sizeof(SkinChange) + c.recordBefore.capacity() + c.recordAfter.capacity() + c.pixels.bytes() +
         c.stored.bytes() - 2 * sizeof(ByteDiff);
  return n;
}
