#pragma once
// A render runs with the process's scheduling priority raised as far as the
// system allows, and the previous priority put back afterwards.

struct RenderPriority {
  int saved = 0;       // nice value before the raise
  bool raised = false; // a raise is in effect and must be undone
};

// Remembers the current priority and raises it as far as permitted (an
// unprivileged process may get no raise at all; the bracket stays).
void RaiseRenderPriority(RenderPriority& state);

// Puts the remembered priority back; nothing when no raise is pending.
void RestoreRenderPriority(RenderPriority& state);

// Raise for the lifetime of the object, restore on every way out.
class RenderPriorityScope {
 public:
  explicit RenderPriorityScope(RenderPriority& state) : state_(state) { RaiseRenderPriority(state_); }
  ~RenderPriorityScope() { RestoreRenderPriority(state_); }
  RenderPriorityScope(const RenderPriorityScope&) = delete;
  RenderPriorityScope& operator=(const RenderPriorityScope&) = delete;

 private:
  RenderPriority& state_;
};
