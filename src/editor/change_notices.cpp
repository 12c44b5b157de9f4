#include "editor/change_notices.h"

#include <algorithm>

#include "editor/undo_step.h"

unsigned ChangesOfStepParts(unsigned parts) {
  unsigned changes = 0;
  if (parts & STEP_MESH) changes |= kMeshChanged | kMappingChanged | kSelectionChanged;
  if (parts & STEP_CURRENT_SKIN) changes |= kSkinPixelsChanged | kPaletteChanged;
  if (parts & STEP_SKINS) changes |= kSkinListChanged | kSkinPixelsChanged | kPaletteChanged;
  return changes;
}

void ChangeNotices::Subscribe(ChangeListener& listener) {
  if (std::find(listeners_.begin(), listeners_.end(), &listener) == listeners_.end())
    listeners_.push_back(&listener);
}

void ChangeNotices::Unsubscribe(ChangeListener& listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener), listeners_.end());
}

void ChangeNotices::Announce(unsigned changes, RedrawHint how) {
  if (changes == 0) return;
  const ChangeNotice notice{changes, how};
  // A listener may unsubscribe another while being told.
  const std::vector<ChangeListener*> listeners = listeners_;
  for (ChangeListener* l : listeners)
    if (std::find(listeners_.begin(), listeners_.end(), l) != listeners_.end()) l->Changed(notice);
  RequestSettle();
}

void ChangeNotices::RequestSettle() {
  const bool wasPending = pending_;
  pending_ = true;
  if (!wasPending && !settling_ && wakeup_) wakeup_();
}

void ChangeNotices::Settle() {
  if (settling_) return;
  settling_ = true;
  // Drawing may announce again (a pane that resizes another); a bound
  // keeps a pair that keep announcing to each other from hanging.
  for (int round = 0; round < 8 && pending_; ++round) {
    pending_ = false;
    const std::vector<ChangeListener*> listeners = listeners_;
    for (ChangeListener* l : listeners)
      if (std::find(listeners_.begin(), listeners_.end(), l) != listeners_.end()) l->Settle();
  }
  pending_ = false;
  settling_ = false;
}
