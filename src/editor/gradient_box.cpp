#include "editor/gradient_box.h"

#include <algorithm>

#include "editor/paint_table.h"
#include "editor/workspace.h"
#include "render/lighting.h"
#include "render/render_mode.h"

namespace {

// Rows from the bottom: the two preset buttons, then the split button.
constexpr int kPresetRows = 12;
constexpr int kButtonRows = 27;
constexpr int kBarTop = 2;
constexpr std::array<std::uint8_t, 3> kPressedGlyph{224, 32, 32};
constexpr std::array<std::uint8_t, 3> kBlack{0, 0, 0};

enum Glyph { kSplitGlyph, kLeftGlyph, kRightGlyph };

}  // namespace

double SliderValue(int y, int height) {
  const int rows = height - kButtonRows;
  if (rows <= 0) return 0.0;
  return 1.0 - std::clamp(static_cast<double>(y) / rows, 0.0, 1.0);
}

bool ModeUsesLightCurve(int index) {
  switch (index) {
    case MODE_FLAT:
    case MODE_GOURAUD:
    case MODE_PHONG:
    case MODE_TEXTURED_F:
    case MODE_TEXTURED_G:
    case MODE_TEXTURED_P:
      return true;
    default:
      return false;
  }
}

GradientBox::GradientBox(Workspace& workspace, double& splitRatio) : app_(workspace), splitRatio_(splitRatio) {}

void GradientBox::Resize(int clientWidth, int clientHeight) {
  clientWidth = std::max(clientWidth, 0);
  clientHeight = std::max(clientHeight, 0);
  if (clientWidth == clientWidth_ && clientHeight == height_) return;
  clientWidth_ = clientWidth;
  width_ = (clientWidth + 3) & ~3;
  height_ = clientHeight;
  pixels_.assign(static_cast<std::size_t>(width_) * 3 * static_cast<std::size_t>(height_), 0);
  Redraw(REDRAW_FULL, 0);
}

PaneImage GradientBox::Image() const {
  PaneImage image;
  if (pixels_.empty()) return image;
  image.pixels = pixels_.data();
  image.width = clientWidth_;
  image.height = height_;
  image.stride = width_ * 3;
  image.bitsPerPixel = 24;
  image.bottomUp = true;
  return image;
}

GradientBox::Part GradientBox::PartAt(int x, int y) const {
  if (y >= height_ - kPresetRows) return x < clientWidth_ / 2 ? Part::LeftButton : Part::RightButton;
  if (y >= height_ - kButtonRows) return Part::SplitButton;
  return Part::Slider;
}

void GradientBox::Fill(int x0, int y0, int x1, int y1, const std::array<std::uint8_t, 3>& rgb) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width_ - 1);
  y1 = std::min(y1, height_ - 1);
  for (int y = y0; y <= y1; ++y) {
    std::uint8_t* row = pixels_.data() + static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) * 3;
    for (int x = x0; x <= x1; ++x) {
      row[x * 3] = rgb[2];
      row[x * 3 + 1] = rgb[1];
      row[x * 3 + 2] = rgb[0];
    }
  }
}

void GradientBox::Redraw(int, int) {
  if (pixels_.empty()) return;
  const int w = clientWidth_;
  const int h = height_;
  DrawSlider();
  const bool splitPressed = dragState_ == DragState::SplitDrag || dragState_ == DragState::SwapPress;
  const bool presetPressed = dragState_ == DragState::RecallPress || dragState_ == DragState::StorePress;
  DrawButton(0, h - kButtonRows, w - 1, h - kPresetRows - 1, splitPressed, kSplitGlyph);
  DrawButton(0, h - kPresetRows, w / 2 - 1, h - 1, presetPressed && pressX_ < w / 2, kLeftGlyph);
  DrawButton(w / 2, h - kPresetRows, w - 1, h - 1, presetPressed && pressX_ >= w / 2, kRightGlyph);
}

void GradientBox::DrawSlider() {
  const int w = clientWidth_;
  const int bottom = height_ - kButtonRows - 1;  // the bar's lowest row
  Fill(0, 0, width_ - 1, bottom, colours.face);
  Fill(1, 1, w - 2, 1, colours.shadow);
  Fill(1, 1, 1, bottom, colours.shadow);
  Fill(w - 2, 1, w - 2, bottom, colours.highlight);
  const int rows = std::max(height_ - 29, 0);
  Fill(2, kBarTop, w - 3, bottom, kBlack);
  const int filled = std::clamp(static_cast<int>(rows * app_.editor.paintStrength), 0, rows);
  for (int k = 0; k < filled; ++k) {
    const std::uint8_t grey = app_.lighting.lightCurve[static_cast<std::size_t>(k * 255 / filled)];
    Fill(2, bottom - k, w - 3, bottom - k, {grey, grey, grey});
  }
}

void GradientBox::DrawButton(int x0, int y0, int x1, int y1, bool pressed, int glyph) {
  if (x1 < x0 || y1 < y0) return;
  const auto& topLeft = pressed ? colours.shadow : colours.highlight;
  const auto& bottomRight = pressed ? colours.highlight : colours.shadow;
  Fill(x0, y0, x1, y1, colours.face);
  Fill(x0, y0, x1, y0, topLeft);
  Fill(x0, y0, x0, y1, topLeft);
  Fill(x0, y1, x1, y1, bottomRight);
  Fill(x1, y0, x1, y1, bottomRight);
  const auto& ink = pressed ? kPressedGlyph : colours.text;
  const int cx = (x0 + x1) / 2 + (pressed ? 1 : 0);
  const int cy = (y0 + y1) / 2 + (pressed ? 1 : 0);
  // Triangles pointing out of the centre: both ways on the split button,
  // towards the preset's side on the small ones.
  auto triangle = [&](int tipX, int dir) {
    for (int i = 0; i < 3; ++i) Fill(tipX + dir * i, cy - i, tipX + dir * i, cy + i, ink);
  };
  if (glyph == kSplitGlyph) {
    triangle(cx - 5, 1);
    triangle(cx + 5, -1);
  } else {
    triangle(glyph == kLeftGlyph ? cx - 1 : cx + 1, glyph == kLeftGlyph ? 1 : -1);
  }
}

void GradientBox::Show() {
  if (host()) host()->RepaintNow();
}

void GradientBox::SetSplitDragging(bool dragging) {
  if (dragging && dragState_ == DragState::Idle)
    dragState_ = DragState::SplitDrag;
  else if (!dragging && dragState_ == DragState::SplitDrag)
    dragState_ = DragState::Idle;
}

void GradientBox::RebuildLightTables() {
  BuildLightCurve(app_.lighting);
  if (Skin* phong = app_.model.CurrentPhongMap()) BuildPhongLightRows(app_.lighting, *phong);
  if (app_.rebuildShadeRamps) app_.rebuildShadeRamps();
}

void GradientBox::AnnounceExponent(int kind, int flags) {
  if (!ModeUsesLightCurve(app_.renderModes.renderModeIndex)) return;
  app_.document.changes.Announce(kLightChanged, {kind, flags});
}

void GradientBox::SetFromSlider(int y) {
  const double value = SliderValue(y, height_);
  if (dragState_ == DragState::StrengthDrag) {
    app_.editor.paintStrength = value;
  } else if (dragState_ == DragState::ExponentDrag) {
    app_.lighting.shadeExponent = ExponentFor(value);
    RebuildLightTables();
  }
  Redraw(REDRAW_FULL, 0);
  Show();
}

void GradientBox::MouseDown(const MouseEvent& e) {
  if (dragState_ != DragState::Idle || (host() && host()->HasCapture())) return;
  const Part part = PartAt(e.x, e.y);
  const bool left = e.button == MouseButton::Left;
  const bool right = e.button == MouseButton::Right;
  if (!left && !right) return;
  if (part == Part::SplitButton && left) {
    // The layout runs the split drag itself and marks this strip meanwhile.
    if (requests.beginSplitDrag) requests.beginSplitDrag();
    return;
  }
  pressX_ = e.x;
  pressY_ = e.y;
  if (host()) host()->CaptureMouse();
  switch (part) {
    case Part::Slider:
      dragState_ = left ? DragState::StrengthDrag : DragState::ExponentDrag;
      if (host()) host()->SetCursorHidden(true);
      cursorHidden_ = true;
      SetFromSlider(e.y);
      if (right) AnnounceExponent(REDRAW_QUICK, kDragging);
      return;
    case Part::SplitButton:
      dragState_ = DragState::SwapPress;
      break;
    case Part::LeftButton:
    case Part::RightButton:
      dragState_ = left ? DragState::RecallPress : DragState::StorePress;
      break;
  }
  Redraw(REDRAW_FULL, 0);
  Show();
}

void GradientBox::MouseMove(const MouseEvent& e) {
  if (dragState_ != DragState::StrengthDrag && dragState_ != DragState::ExponentDrag) return;
  SetFromSlider(e.y);
  if (dragState_ == DragState::ExponentDrag) AnnounceExponent(REDRAW_QUICK, kDragging);
}

void GradientBox::MouseUp(const MouseEvent& e) {
  const bool leftDrag = dragState_ == DragState::StrengthDrag || dragState_ == DragState::RecallPress;
  const bool rightDrag = dragState_ == DragState::ExponentDrag || dragState_ == DragState::SwapPress ||
                         dragState_ == DragState::StorePress;
  const bool ends = (leftDrag && e.button == MouseButton::Left) || (rightDrag && e.button == MouseButton::Right);
  if (!ends) return;
  EndDrag(true, e.x, e.y);
  if (host()) host()->ReleaseMouse();
}

void GradientBox::CaptureLost() { EndDrag(false, pressX_, pressY_); }

void GradientBox::EndDrag(bool released, int, int y) {
  const DragState ended = dragState_;
  const int preset = pressX_ < clientWidth_ / 2 ? 0 : 1;
  if (released && (ended == DragState::StrengthDrag || ended == DragState::ExponentDrag)) SetFromSlider(y);
  if (ended == DragState::SplitDrag || ended == DragState::Idle) return;
  // Idle before anything is sent: the layout may resize and redraw this
  // strip while handling it.
  dragState_ = DragState::Idle;
  if (cursorHidden_) {
    cursorHidden_ = false;
    if (host()) {
      host()->SetCursorPos(pressX_, pressY_);
      host()->SetCursorHidden(false);
    }
  }
  Redraw(REDRAW_FULL, 0);
  Show();
  switch (ended) {
    case DragState::StrengthDrag:
      BuildPaintTable(app_);
      break;
    case DragState::ExponentDrag:
      AnnounceExponent(REDRAW_FULL, kShowNow);
      break;
    case DragState::SwapPress:
      // A lost capture is no click: only a release swaps or recalls.
      if (released && requests.swapDisplays) requests.swapDisplays();
      break;
    case DragState::RecallPress:
      if (released) {
        splitRatio_ = presets_[static_cast<std::size_t>(preset)];
        if (requests.relayout) requests.relayout();
      }
      break;
    case DragState::StorePress:
      if (released) presets_[static_cast<std::size_t>(preset)] = splitRatio_;
      break;
    default:
      break;
  }
}
