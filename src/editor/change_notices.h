#pragma once
// What changed, told to whoever draws from it. Operations, Undo and Redo,
// tools and commands announce typed changes; panes, the list bars, the
// paint table and the shade ramps listen, each for the changes it draws
// from. A listener only marks itself stale when told; drawing waits until
// Settle, which the front end runs once per turn of its event loop, so a
// burst of changes is drawn once.

#include <functional>
#include <vector>

enum Change : unsigned {
  kMeshChanged = 1u << 0,          // triangles, vertices, hidden and deleted faces
  kMappingChanged = 1u << 1,       // skin positions of the corners
  kSelectionChanged = 1u << 2,     // selected and marked triangles
  kSkinPixelsChanged = 1u << 3,    // the current skin's pixels
  kSkinListChanged = 1u << 4,      // skins added, removed, reordered, or another made current
  kPaletteChanged = 1u << 5,       // the current skin's palette
  kFrameChanged = 1u << 6,         // another frame shown
  kCameraChanged = 1u << 7,        // the 3D view's camera
  kSlotsChanged = 1u << 8,         // colour slots the views draw edges and background in
  kActiveColourChanged = 1u << 9,  // which slot paints, or its colour (the palette strip's marks)
  kLightChanged = 1u << 10,        // the light curve of the 3D view's lit modes
  kLookChanged = 1u << 11,         // render mode, edit mode, maps: how both views draw
  kCompanionChanged = 1u << 12,    // the companion model shown beside the model
  kSkinViewChanged = 1u << 13,     // the skin view's own pan, zoom and overlays
  kBrushChanged = 1u << 14,        // paint strength and blend rule (the paint table)
  kEverythingChanged = (1u << 15) - 1,
};

// The step parts of an undo step (editor/undo_step.h) as the changes they stand for.
unsigned ChangesOfStepParts(unsigned parts);

// How a listener that draws should draw what went stale: the redraw kind
// (RedrawKind: Full, Quick, Background, Pixels) and the pane flags
// kDragging / kShowNow (platform/pane.h).
struct RedrawHint {
  int kind = 0;
  int flags = 0x20;  // kShowNow
};

struct ChangeNotice {
  unsigned changes = 0;
  RedrawHint how;
};

class ChangeListener {
 public:
  virtual ~ChangeListener() = default;
  // Note what went stale; draw nothing yet.
  virtual void Changed(const ChangeNotice& notice) = 0;
  // Draw what went stale since the last settle.
  virtual void Settle() {}
};

class ChangeNotices {
 public:
  ChangeNotices() = default;
  ChangeNotices(const ChangeNotices&) = delete;
  ChangeNotices& operator=(const ChangeNotices&) = delete;

  // Listeners are told in the order they subscribed.
  void Subscribe(ChangeListener& listener);
  void Unsubscribe(ChangeListener& listener);

  // Tells every listener now, and asks the front end for a settle.
  void Announce(unsigned changes, RedrawHint how = {});
  // Each listener draws what went stale. A listener that announces while
  // settling is settled again in the same call (within a bound).
  void Settle();
  bool pending() const { return pending_; }
  // Asks for a settle with nothing announced: a listener marked itself
  // stale on its own account (a window resized).
  void RequestSettle();

  // Called on the first announcement after a settle, so the front end can
  // schedule one for the next turn of its event loop.
  void SetWakeup(std::function<void()> wakeup) { wakeup_ = std::move(wakeup); }

 private:
  std::vector<ChangeListener*> listeners_;
  std::function<void()> wakeup_;
  bool pending_ = false;
  bool settling_ = false;
};

// A listener made of a function, for what rebuilds at once when told.
class ChangeHook : public ChangeListener {
 public:
  ChangeHook(ChangeNotices& notices, unsigned interests, std::function<void(const ChangeNotice&)> changed)
      : notices_(notices), interests_(interests), changed_(std::move(changed)) {
    notices_.Subscribe(*this);
  }
  ~ChangeHook() override { notices_.Unsubscribe(*this); }
  ChangeHook(const ChangeHook&) = delete;
  ChangeHook& operator=(const ChangeHook&) = delete;
  void Changed(const ChangeNotice& notice) override {
    if (notice.changes & interests_) changed_(notice);
  }

 private:
  ChangeNotices& notices_;
  unsigned interests_;
  std::function<void(const ChangeNotice&)> changed_;
};
