#include "shell/shell_layout.h"

#include <algorithm>

#include "editor/gradient_box.h"
#include "editor/model_view.h"
#include "editor/skin_view.h"
#include "editor/pane_interests.h"
#include "platform/profile.h"
#include "shell/app.h"

ShellRects ComputeShellRects(int width, int height, double splitRatio, bool palOnTop) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  ShellRects r;
  const int stripHeight = std::min(kPaletteStripHeight, height);
  const int bandHeight = height - stripHeight;
  const int bandTop = palOnTop ? stripHeight : 0;
  r.palette = PaneRect{0, palOnTop ? 0 : bandHeight, width, stripHeight};
  const double ratio = std::clamp(splitRatio, 0.0, 1.0);
  const int room = std::max(width - kGradientStripWidth, 0);
  const int left = static_cast<int>(room * ratio);
  const int gradientWidth = std::min(kGradientStripWidth, width - left);
  r.left = PaneRect{0, bandTop, left, bandHeight};
  r.gradient = PaneRect{left, bandTop, gradientWidth, bandHeight};
  r.right = PaneRect{left + gradientWidth, bandTop, width - left - gradientWidth, bandHeight};
  return r;
}

double SplitRatioAt(int x, int width) {
  if (x > width - kSplitSnapDistance) return 1.0;
  if (x >= kSplitSnapDistance && width > 0) return static_cast<double>(x) / width;
  return 0.0;
}

void ClampFrameSize(int& width, int& height) {
  width = std::max(width, kMinFrameWidth);
  height = std::max(height, kMinFrameHeight);
}

ShellLayout::ShellLayout(App& app, Pane& skinView, Pane& modelView, Pane& paletteStrip,
                         Pane& gradientStrip, PaneHost* shellHost)
    : app_(app),
      skinView_(skinView),
      modelView_(modelView),
      paletteStrip_(paletteStrip),
      gradientStrip_(gradientStrip),
      shellHost_(shellHost) {
  app_.services.shellLayout = this;
  app_.document.changes.Subscribe(*this);
  if (auto* gradient = dynamic_cast<GradientBox*>(&gradientStrip_)) {
    gradient->requests.beginSplitDrag = [this] { BeginSplitDrag(); };
    gradient->requests.relayout = [this] { Relayout(); };
    gradient->requests.swapDisplays = [this] { SwapDisplays(); };
  }
}

ShellLayout::~ShellLayout() {
  app_.document.changes.Unsubscribe(*this);
  if (auto* gradient = dynamic_cast<GradientBox*>(&gradientStrip_)) gradient->requests = {};
  if (app_.services.shellLayout == this) app_.services.shellLayout = nullptr;
}

void ShellLayout::MarkAllStale() {
  for (Pane* pane : {&skinView_, &gradientStrip_, &modelView_, &paletteStrip_}) pane->MarkStale(REDRAW_FULL, kShowNow);
  app_.document.changes.RequestSettle();
}

void ShellLayout::Create(int clientWidth, int clientHeight) {
  palOnTop_ = app_.profile.Get(kPalOnTopSetting) == 1;
  swapped_ = true;
  width_ = clientWidth;
  height_ = clientHeight;
  Layout();
  MarkAllStale();
}

void ShellLayout::Resize(int clientWidth, int clientHeight) {
  width_ = clientWidth;
  height_ = clientHeight;
  Layout();
  MarkAllStale();
}

void ShellLayout::Layout() {
  rects_ = ComputeShellRects(width_, height_, app_.splitRatio, palOnTop_);
  const PaneRect skin = SkinViewRect();
  const PaneRect model = ModelViewRect();
  const auto size = [this](Pane& pane, int width, int height) {
    if (resizePane)
      resizePane(pane, width, height);
    else
      pane.Resize(width, height);
  };
  size(skinView_, skin.width, skin.height);
  size(modelView_, model.width, model.height);
  size(paletteStrip_, rects_.palette.width, rects_.palette.height);
  size(gradientStrip_, rects_.gradient.width, rects_.gradient.height);
}

void ShellLayout::Changed(const ChangeNotice& notice) {
  const std::pair<Pane*, unsigned> panes[] = {{&skinView_, kSkinViewInterests},
                                              {&gradientStrip_, kGradientStripInterests},
                                              {&modelView_, kModelViewInterests},
                                              {&paletteStrip_, kPaletteStripInterests}};
  for (const auto& [pane, interests] : panes)
    if (notice.changes & interests) pane->MarkStale(notice.how.kind, notice.how.flags);
}

void ShellLayout::Settle() {
  for (Pane* pane : {&skinView_, &gradientStrip_, &modelView_, &paletteStrip_}) {
    int kind = 0, flags = 0;
    if (pane->TakeStale(kind, flags)) RedrawPane(*pane, kind, flags);
  }
}

void ShellLayout::Show(Pane& pane) {
  if (pane.host()) pane.host()->RepaintNow();
}

void ShellLayout::RedrawPane(Pane& pane, int kind, int flags) {
  pane.Redraw(kind, flags);
  Show(pane);
}

void ShellLayout::Relayout() {
  Layout();
  if (onLayoutChanged) onLayoutChanged();
  RedrawPane(skinView_, REDRAW_FULL, kShowNow);
  RedrawPane(modelView_, REDRAW_FULL, kShowNow);
  Show(gradientStrip_);
}

void ShellLayout::BeginSplitDrag() {
  if (splitDragging_) return;
  splitDragging_ = true;
  if (shellHost_) {
    shellHost_->CaptureMouse();
    shellHost_->SetCursorHidden(true);
  }
  if (onSplitDrag) onSplitDrag(true);
  RedrawPane(gradientStrip_, 0, 0);
}

void ShellLayout::SplitDragMove(int x) {
  if (!splitDragging_) return;
  app_.splitRatio = SplitRatioAt(x, width_);
  Layout();
  RedrawPane(skinView_, REDRAW_QUICK, kDragging);
  RedrawPane(modelView_, REDRAW_QUICK, kDragging);
  RedrawPane(gradientStrip_, REDRAW_QUICK, kDragging);
}

void ShellLayout::EndSplitDrag() {
  if (!splitDragging_) return;
  splitDragging_ = false;
  if (onSplitDrag) onSplitDrag(false);
  for (Pane* pane : {&skinView_, &gradientStrip_, &modelView_}) RedrawPane(*pane, REDRAW_FULL, kShowNow);
  if (shellHost_) {
    shellHost_->ReleaseMouse();
    shellHost_->SetCursorHidden(false);
  }
}

void ShellLayout::SwapDisplays() {
  swapped_ = !swapped_;
  Relayout();
  RedrawPane(skinView_, REDRAW_FULL, kShowNow);
  RedrawPane(modelView_, REDRAW_FULL, kShowNow);
}

void ShellLayout::SetPalOnTop(bool palOnTop) {
  palOnTop_ = palOnTop;
  Relayout();
}

Pane* ShellLayout::PaneAt(int x, int y) {
  if (rects_.palette.Contains(x, y)) return &paletteStrip_;
  if (rects_.left.Contains(x, y)) return swapped_ ? &skinView_ : &modelView_;
  if (rects_.right.Contains(x, y)) return swapped_ ? &modelView_ : &skinView_;
  return nullptr;
}

void ShellLayout::Wheel(int delta, int x, int y) {
  Pane* pane = PaneAt(x, y);
  if (!pane) return;
  PaneRect r = pane == &paletteStrip_ ? rects_.palette
               : pane == &skinView_   ? SkinViewRect()
                                      : ModelViewRect();
  pane->Wheel(delta, x - r.x, y - r.y);
}

SkinView* ShellLayout::skinViewPane() { return dynamic_cast<SkinView*>(&skinView_); }
ModelView* ShellLayout::modelViewPane() { return dynamic_cast<ModelView*>(&modelView_); }
