#include "editor/undo_save.h"

#include <string>
#include <utility>

#include "editor/document_bytes.h"
#include "editor/undo_step.h"

namespace {

bool Read(Skin& skin, const std::vector<std::uint8_t>& record) { return SetSkinRecordBytes(skin, record); }

// The list bar spells every name and path with '\'; the spelling is no
// other name.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && !((a[i] == '/' || a[i] == '\\') && (b[i] == '/' || b[i] == '\\'))) return false;
  return true;
}

}  // namespace

bool CarryNames(std::vector<std::uint8_t>& record, const std::vector<std::uint8_t>& from) {
  Skin to, source;
  if (!Read(to, record) || !Read(source, from)) return false;
  to.name = source.name;
  to.path = source.path;
  to.hasFile = source.hasFile;
  to.format = source.format;
  to.flags = source.flags;
  record = SkinRecordBytes(to);
  return true;
}

bool SameNames(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  Skin x, y;
  if (!Read(x, a) || !Read(y, b)) return false;
  return SameName(x.name, y.name) && SameName(x.path, y.path) && x.hasFile == y.hasFile && x.format == y.format &&
         x.flags == y.flags;
}

bool LinkedRecord(const std::vector<std::uint8_t>& record) {
  Skin s;
  return Read(s, record) && !(s.flags & SKIN_EXTERNAL);
}

// The same swaps as PartitionSkins makes, on places instead of skins.
std::vector<int> PartitionOrder(const std::vector<bool>& linked) {
  const int n = static_cast<int>(linked.size());
  std::vector<int> at(static_cast<std::size_t>(n));  // at[place] = the recorded place now there
  for (int i = 0; i < n; ++i) at[static_cast<std::size_t>(i)] = i;
  int count = 0;
  for (bool l : linked) count += l ? 1 : 0;
  auto isLinked = [&](int place) { return linked[static_cast<std::size_t>(at[static_cast<std::size_t>(place)])]; };
  bool moved = false;
  for (int i = 0; i < count; ++i) {
    if (isLinked(i)) continue;
    int j = i + 1;
    while (j < n && !isLinked(j)) ++j;
    if (j >= n) break;
    std::swap(at[static_cast<std::size_t>(i)], at[static_cast<std::size_t>(j)]);
    moved = true;
  }
  if (!moved) return {};
  std::vector<int> order(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) order[static_cast<std::size_t>(at[static_cast<std::size_t>(i)])] = i;
  return order;
}

namespace {

// The order a state takes when the saved skin there gets the save's names.
std::vector<int> CarriedOrder(const SaveView& view, const SavedSkin& save) {
  if (!view.namesLive) return {};
  std::vector<bool> linked = view.linked;
  linked[static_cast<std::size_t>(view.pos)] = LinkedRecord(save.recordAfter);
  return PartitionOrder(linked);
}

}  // namespace

bool UndoStep::CarrySave(const SavedSkin& save, const SaveView& near, bool toPast, SaveView& far) {
  const bool list = (parts_ & STEP_SKINS) && !skins_.empty();
  auto nearPos = [toPast](SkinChange& c) -> int& { return toPast ? c.afterPos : c.beforePos; };
  auto farPos = [toPast](SkinChange& c) -> int& { return toPast ? c.beforePos : c.afterPos; };
  auto nearRecord = [toPast](SkinChange& c) -> std::vector<std::uint8_t>& {
    return toPast ? c.recordAfter : c.recordBefore;
  };
  auto farRecord = [toPast](SkinChange& c) -> std::vector<std::uint8_t>& {
    return toPast ? c.recordBefore : c.recordAfter;
  };

  // The far state's list, as recorded.
  far.linked = near.linked;
  if (list) {
    const int count = toPast ? countBefore_ : countAfter_;
    far.linked.assign(static_cast<std::size_t>(count), false);
    for (SkinChange& c : skins_) {
      const int to = farPos(c), from = nearPos(c);
      if (to < 0) continue;
      if (to >= count || from >= static_cast<int>(near.linked.size())) return false;
      far.linked[static_cast<std::size_t>(to)] =
          c.recordChanged ? LinkedRecord(farRecord(c)) : from >= 0 && near.linked[static_cast<std::size_t>(from)];
    }
  } else if (!skins_.empty()) {
    SkinChange& c = skins_.front();
    if (c.afterPos < 0 || c.afterPos >= static_cast<int>(far.linked.size())) return false;
    if (c.recordChanged) far.linked[static_cast<std::size_t>(c.afterPos)] = LinkedRecord(farRecord(c));
  }

  // The saved skin there.
  SkinChange* x = nullptr;
  if (near.pos >= 0)
    for (SkinChange& c : skins_)
      if (nearPos(c) == near.pos) {
        x = &c;
        break;
      }
  if (list && near.pos >= 0 && !x) return false;  // a list step names every skin it saw
  far.pos = near.pos < 0 ? -1 : (list ? farPos(*x) : near.pos);
  const bool renamed = x && x->recordChanged;
  far.record = far.pos < 0 ? std::vector<std::uint8_t>{} : (renamed ? farRecord(*x) : near.record);
  far.namesLive = near.namesLive && far.pos >= 0 && (!renamed || SameNames(far.record, save.recordBefore));
  far.storedLive = near.storedLive && far.pos >= 0 && !(x && !x->stored.empty());
  // Most steps (strokes) leave every record alone: the order stays too.
  const bool sameList = !list && (skins_.empty() || !skins_.front().recordChanged);
  far.order = sameList ? near.order : CarriedOrder(far, save);
  // Without a list of its own the step leaves every skin in its place.
  if (!list && far.order != near.order) return false;

  if (x) {
    if (x->recordChanged) {
      if (near.namesLive && !CarryNames(nearRecord(*x), save.recordAfter)) return false;
      if (far.namesLive && !CarryNames(farRecord(*x), save.recordAfter)) return false;
      if (!x->recordBefore.empty() && !x->recordAfter.empty() && x->recordBefore == x->recordAfter) {
        x->recordChanged = false;
        x->recordBefore.clear();
        x->recordAfter.clear();
      }
    }
    if (far.pos < 0 && near.namesLive) (toPast ? x->fileAfter : x->fileBefore) = save.fileAfter;
    if (near.storedLive && !far.storedLive) {
      std::vector<std::uint8_t> farStored;
      if (far.pos >= 0) {
        farStored = save.storedBefore;
        if (toPast)
          x->stored.ApplyBackward(farStored);
        else
          x->stored.ApplyForward(farStored);
      }
      x->stored = toPast ? ByteDiff::Between(farStored, save.storedAfter) : ByteDiff::Between(save.storedAfter, farStored);
    }
  }

  if (near.order.empty() && far.order.empty()) return true;
  for (SkinChange& c : skins_) {
    if (list) {
      nearPos(c) = near.Place(nearPos(c));
      farPos(c) = far.Place(farPos(c));
    } else {
      c.beforePos = c.afterPos = near.Place(c.afterPos);
    }
  }
  if (list) {
    int& nearCurrent = toPast ? currentAfter_ : currentBefore_;
    int& farCurrent = toPast ? currentBefore_ : currentAfter_;
    nearCurrent = near.Place(nearCurrent);
    farCurrent = far.Place(farCurrent);
  } else if (parts_ & STEP_CURRENT_SKIN) {
    currentBefore_ = near.Place(currentBefore_);
  }
  return true;
}

void UndoStep::CarrySaveOpen(const SavedSkin& save, const SaveView& live, SaveView& before) {
  SkinCapture* x = nullptr;
  int capturedAt = -1;
  for (std::size_t i = 0; i < skinsBefore_.size(); ++i)
    if (skinsBefore_[i].skin == save.skin) {
      x = &skinsBefore_[i];
      capturedAt = static_cast<int>(i);
    }
  before = SaveView{};
  if (parts_ & STEP_SKINS) {
    for (const SkinCapture& c : skinsBefore_) before.linked.push_back(LinkedRecord(c.record));
    before.pos = capturedAt;
  } else {
    before.linked = live.linked;
    if (x && currentBefore_ >= 0 && currentBefore_ < static_cast<int>(before.linked.size()))
      before.linked[static_cast<std::size_t>(currentBefore_)] = LinkedRecord(x->record);
    before.pos = live.pos;
  }
  before.record = before.pos < 0 ? std::vector<std::uint8_t>{} : (x ? x->record : live.record);
  before.namesLive = live.namesLive && before.pos >= 0 && SameNames(before.record, save.recordBefore);
  before.storedLive = live.storedLive && before.pos >= 0 && (!x || x->stored == save.storedBefore);
  before.order = CarriedOrder(before, save);

  if (x) {
    if (before.namesLive && CarryNames(x->record, save.recordAfter)) x->file = save.fileAfter;
    if (before.storedLive) x->stored = save.storedAfter;
  }
  if (before.order.empty()) return;
  if (parts_ & STEP_SKINS) {
    std::vector<SkinCapture> moved(skinsBefore_.size());
    for (std::size_t i = 0; i < skinsBefore_.size(); ++i)
      moved[static_cast<std::size_t>(before.Place(static_cast<int>(i)))] = std::move(skinsBefore_[i]);
    skinsBefore_ = std::move(moved);
  }
  currentBefore_ = before.Place(currentBefore_);
}
