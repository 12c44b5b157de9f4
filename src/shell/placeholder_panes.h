#pragma once
// A stand-in for the skin view until its own module arrives: the right name
// and picture format, showing the current skin 1:1 from the top-left corner.

#include <cstdint>
#include <vector>

#include "image/skin.h"
#include "platform/pane.h"

class App;

// An 8-bit pane with the current skin's palette (grey without a skin).
class PlaceholderSkinView : public Pane {
 public:
  explicit PlaceholderSkinView(App& app) : app_(app) {}
  const char* WindowName() const override { return "Skin Box"; }
  void Redraw(int kind, int flags) override;
  void Resize(int clientWidth, int clientHeight) override;
  PaneImage Image() const override;
  int redrawCount = 0;

 private:
  App& app_;
  int width_ = 0, height_ = 0, stride_ = 0;
  std::vector<std::uint8_t> pixels_;
  Palette palette_{};
};
