#pragma once
// Records what was announced to a document's listeners, each notice as the
// redraw it asks of the four panes: its kind and the panes it leaves stale
// (bits below) with its flags.

#include <string>
#include <vector>

#include "editor/change_notices.h"
#include "editor/pane_interests.h"
#include "platform/pane.h"

namespace panes {
constexpr int kSkinView = 1;
constexpr int kModelView = 2;
constexpr int kGradient = 4;
constexpr int kPalette = 8;
}  // namespace panes

struct PaneRedraw {
  std::string name = "redraw";  // or the name of a request a test records alongside
  int kind = 0;
  int panes = 0;  // the pane bits above, with kDragging / kShowNow
};

inline int PanesOf(unsigned changes) {
  int bits = 0;
  if (changes & kSkinViewInterests) bits |= panes::kSkinView;
  if (changes & kModelViewInterests) bits |= panes::kModelView;
  if (changes & kGradientStripInterests) bits |= panes::kGradient;
  if (changes & kPaletteStripInterests) bits |= panes::kPalette;
  return bits;
}

class NoticeLog : public ChangeListener {
 public:
  explicit NoticeLog(ChangeNotices& notices) : notices_(notices) { notices_.Subscribe(*this); }
  ~NoticeLog() override { notices_.Unsubscribe(*this); }
  NoticeLog(const NoticeLog&) = delete;
  NoticeLog& operator=(const NoticeLog&) = delete;

  void Changed(const ChangeNotice& n) override {
    notices.push_back(n);
    sent.push_back(PaneRedraw{"redraw", n.how.kind, PanesOf(n.changes) | n.how.flags});
  }
  // Notices of exactly these changes.
  int Count(unsigned changes) const {
    int n = 0;
    for (const ChangeNotice& notice : notices) n += notice.changes == changes ? 1 : 0;
    return n;
  }
  void clear() {
    notices.clear();
    sent.clear();
  }

  std::vector<ChangeNotice> notices;
  std::vector<PaneRedraw> sent;

 private:
  ChangeNotices& notices_;
};
