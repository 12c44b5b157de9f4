#pragma once
// A mouse tool: one kind of drag in a pane, from its press to its release.
// It holds that drag's state and its undo step; the pane only picks the tool
// for a press and forwards the drag's events to it.

#include "editor/paint_on_model.h"
#include "platform/pane.h"

class Workspace;
struct SkinViewTransform;

// What a tool may use of the pane it works in.
struct ToolContext {
  Workspace& app;
  Pane& pane;                          // its host (null off-screen) and its picture
  TagView tags;                        // the texel under each client pixel
  SkinViewTransform* view = nullptr;   // the skin view's pan and zoom; null in the 3D view
};

// What a release does to the drag.
enum class ToolEnd {
  Continue,  // not this drag's button: it goes on
  Hold,      // ended; the pane takes no press until the other buttons are up
  Free,      // ended; the pane takes the next press at once
};

class Tool {
 public:
  virtual ~Tool() = default;
  // Starts a drag at the press; Active() says whether one began.
  virtual void Press(ToolContext& c, const MouseEvent& e) = 0;
  virtual void Move(ToolContext& c, const MouseEvent& e) = 0;
  virtual ToolEnd Release(ToolContext& c, const MouseEvent& e) = 0;
  // The capture went elsewhere: the drag ends as its release would.
  virtual void CaptureLost(ToolContext& c) = 0;
  bool Active() const { return active_; }

 protected:
  bool active_ = false;
};

// Tells the document's listeners what the drag changed and how the panes
// should draw it (a RedrawKind and kDragging / kShowNow).
void Announce(Workspace& app, unsigned changes, int kind, int flags);
void HidePointer(ToolContext& c, bool hidden);
