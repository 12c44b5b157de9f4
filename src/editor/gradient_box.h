#pragma once
// The gradient strip ("Gradient Box") standing between the skin view and
// the 3D view. Its slider sets the paint strength (left button) and the
// shading exponent (right button) and shows both as a grey bar: the height
// is the strength, the shape of the gradient the light curve. Below it the
// split button drags the split (left) or swaps the views (right), and two
// small buttons recall (left) or store (right) two split positions.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/pane.h"

class Workspace;

// What the strip's buttons ask of the window's layout (empty: nothing).
struct SplitRequests {
  std::function<void()> beginSplitDrag;  // the split button's left press
  std::function<void()> relayout;        // a preset recalled into the split ratio
  std::function<void()> swapDisplays;    // the split button's right click, as "&Swap Displays"
};

// Button frames and glyphs in the desktop's colours (R, G, B).
struct ButtonColours {
  std::array<std::uint8_t, 3> face{192, 192, 192};
  std::array<std::uint8_t, 3> highlight{255, 255, 255};
  std::array<std::uint8_t, 3> shadow{128, 128, 128};
  std::array<std::uint8_t, 3> text{0, 0, 0};
};

// The slider's value at row y of a strip `height` rows high: 1 at the top,
// 0 from row height - 27 down.
double SliderValue(int y, int height);
// The shading exponent the right button sets at a slider value: 0..20.
inline double ExponentFor(double sliderValue) { return sliderValue * sliderValue * 20.0; }
// The 3D view modes whose picture follows the light curve.
bool ModeUsesLightCurve(int renderModeIndex);

class GradientBox : public Pane {
 public:
  enum class DragState {
    Idle,
    StrengthDrag,
    ExponentDrag,
    SplitDrag,  // the layout drags the split; set and cleared by it
    SwapPress,
    RecallPress,
    StorePress,
  };

  // `splitRatio` is the layout's share of the width for the left pane,
  // which the bottom buttons recall and store.
  GradientBox(Workspace& workspace, double& splitRatio);

  const char* WindowName() const override { return "Gradient Box"; }
  void Redraw(int kind, int flags) override;
  void Resize(int clientWidth, int clientHeight) override;
  PaneImage Image() const override;

  void MouseDown(const MouseEvent& e) override;
  void MouseUp(const MouseEvent& e) override;
  void MouseMove(const MouseEvent& e) override;
  void CaptureLost() override;

  // The layout tells the strip when its split drag begins and ends, so the
  // split button shows pressed meanwhile.
  void SetSplitDragging(bool dragging);

  DragState dragState() const { return dragState_; }
  double preset(int i) const { return presets_[i != 0 ? 1 : 0]; }
  ButtonColours colours;
  SplitRequests requests;

 private:
  enum class Part { Slider, SplitButton, LeftButton, RightButton };
  Part PartAt(int x, int y) const;
  void SetFromSlider(int y);
  void RebuildLightTables();
  void AnnounceExponent(int kind, int flags);
  void EndDrag(bool released, int x, int y);
  void Show();

  void Fill(int x0, int y0, int x1, int y1, const std::array<std::uint8_t, 3>& rgb);
  void DrawSlider();
  void DrawButton(int x0, int y0, int x1, int y1, bool pressed, int glyph);

  Workspace& app_;
  double& splitRatio_;
  std::array<double, 2> presets_{0.25, 0.75};
  DragState dragState_ = DragState::Idle;
  bool cursorHidden_ = false;
  int pressX_ = 0, pressY_ = 0;
  int clientWidth_ = -1;
  int width_ = -1;  // client width rounded up to a multiple of 4
  int height_ = -1;
  std::vector<std::uint8_t> pixels_;  // B, G, R; rows bottom-up
};
