#include "platform/pane.h"

namespace {

// Full 0 > Background 2 > Quick 1 > Pixels 3.
int Strength(int kind) {
  switch (kind) {
    case 0: return 3;
    case 2: return 2;
    case 1: return 1;
    default: return 0;
  }
}

}  // namespace

void Pane::MarkStale(int kind, int flags) {
  if (!stale_ || Strength(kind) >= Strength(staleKind_)) {
    const int shown = stale_ ? staleFlags_ & kShowNow : 0;
    staleKind_ = kind;
    staleFlags_ = flags | shown;
  } else {
    staleFlags_ |= flags & kShowNow;
  }
  stale_ = true;
}

bool Pane::TakeStale(int& kind, int& flags) {
  if (!stale_) return false;
  stale_ = false;
  kind = staleKind_;
  flags = staleFlags_;
  return true;
}
