#pragma once
// Stand-ins for the palette strip and gradient strip until their own
// modules arrive: the right names and picture formats, a plain background,
// and the gradient strip's press that starts the split drag.

#include <cstdint>
#include <vector>

#include "image/skin.h"
#include "platform/pane.h"

class App;

// 24-bit strips drawn in one colour (B, G, R).
class PlaceholderStrip : public Pane {
 public:
  PlaceholderStrip(App& app, const char* name, std::uint8_t grey) : app_(app), name_(name), grey_(grey) {}
  const char* WindowName() const override { return name_; }
  void Redraw(int kind, int flags) override;
  void Resize(int clientWidth, int clientHeight) override;
  PaneImage Image() const override;
  // The gradient strip starts the split drag on a left press.
  void MouseDown(const MouseEvent& e) override;
  CursorKind Cursor() const override;
  int redrawCount = 0;

 protected:
  App& app_;

 private:
  const char* name_;
  std::uint8_t grey_;
  int width_ = 0, height_ = 0, stride_ = 0;
  std::vector<std::uint8_t> pixels_;
};

class PlaceholderPaletteStrip : public PlaceholderStrip {
 public:
  explicit PlaceholderPaletteStrip(App& app) : PlaceholderStrip(app, "Pal Box", 0xc0) {}
};

class PlaceholderGradientStrip : public PlaceholderStrip {
 public:
  explicit PlaceholderGradientStrip(App& app) : PlaceholderStrip(app, "Gradient Box", 0x80) {}
};
