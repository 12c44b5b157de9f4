#pragma once
// The skin view pane ("Skin Box"): the current skin drawn flat at any zoom
// with the mapping's triangle edges over it. The mouse drags belong to the
// tools in editor/tools/; the pane picks one for each press and keeps the
// zoom, the pan and the picture.

#include <cstdint>
#include <vector>

#include "editor/document.h"
#include "editor/paint_on_model.h"
#include "editor/skin_view_fill.h"
#include "editor/tools/frame_tool.h"
#include "editor/tools/brush_tool.h"
#include "editor/tools/fill_tool.h"
#include "editor/tools/paint_tool.h"
#include "editor/tools/pan_zoom_tool.h"
#include "editor/tools/pick_tool.h"
#include "editor/tools/pixel_select_tool.h"
#include "editor/tools/rect_select_tool.h"
#include "editor/tools/select_tool.h"
#include "editor/tools/shape_tool.h"
#include "editor/tools/skin_view_transform.h"
#include "editor/tools/transform_tool.h"
#include "editor/tools/vertex_drag_tool.h"
#include "image/skin.h"
#include "model/model.h"
#include "platform/pane.h"

class Workspace;
class CRasterizer;

class SkinView : public Pane {
 public:
  static constexpr float kMinZoom = SkinViewTransform::kMinZoom;
  static constexpr float kMaxZoom = SkinViewTransform::kMaxZoom;

  explicit SkinView(Workspace& workspace);

  const char* WindowName() const override { return "Skin Box"; }
  void Redraw(int kind, int flags) override;
  // New buffers (width rounded up to a multiple of 4) and a Full redraw;
  // nothing when the buffer size did not change.
  void Resize(int clientWidth, int clientHeight) override;
  // The frame buffer with the current skin's palette (grey without a skin).
  PaneImage Image() const override;

  void MouseDown(const MouseEvent& e) override;
  void MouseUp(const MouseEvent& e) override;
  void MouseMove(const MouseEvent& e) override;
  void Wheel(int delta, int x, int y) override;
  void CaptureLost() override;
  CursorKind Cursor() const override;
  bool RubberBand(int& x0, int& y0, int& x1, int& y1) const override;

  // Zoom 2D Extents: the whole skin in view; false (nothing changed) without
  // a current skin. The caller refreshes everything.
  bool ZoomExtents();
  // Places the view; the zoom is kept within kMinZoom..kMaxZoom.
  void SetView(float centreS, float centreT, float zoom);

  // Skin coordinates of a client point, and a mapping vertex's client
  // position (on its texel's centre); false for a vertex too far out to say.
  void ClientToSkin(int x, int y, float& s, float& t) const { view_.ClientToSkin(x, y, s, t); }
  bool VertexToClient(const MapVertex& v, double& x, double& y) const { return view_.VertexToClient(v, x, y); }

  float viewZoom() const { return view_.zoom; }
  float viewCentreS() const { return view_.centreS; }
  float viewCentreT() const { return view_.centreT; }
  int bufferWidth() const { return view_.width; }
  int bufferHeight() const { return view_.height; }
  int clientWidth() const { return clientWidth_; }
  const std::vector<std::uint8_t>& frameBuffer() const { return frame_; }
  const std::vector<std::int32_t>& pixelTags() const { return tags_; }
  // The tool whose drag goes on; null between drags, and while a press that
  // started nothing (or a drag that ended) waits for its button.
  const Tool* activeTool() const { return tool_; }
  bool Idle() const { return !tool_ && !held_; }

 private:
  // What a Full or Quick redraw draws: the skin's rectangles (nine when
  // tiled), the overlay's lines in the order drawn, and what colours them.
  struct Scene {
    std::vector<SkinQuad> quads;
    std::vector<SkinLine> lines;
    bool covered = false;  // the skin covers every pixel
    std::uint8_t background = 0;
    Palette palette{};
    int width = 0, height = 0;
    PixelBox tools;  // where the pixel tools were drawn
  };

  // --- drawing (skin_view_draw.cpp) ---
  void NormaliseMappingFrame();
  void MakeScene(Scene& scene) const;
  // The background (unless covered), the skin and, when `all`, the pixel
  // tools and the overlay's lines, inside `box` alone. A skin rectangle
  // that crosses the picture's edge goes through the general filler `r`
  // (rows of `box`, which then spans the picture's width); without one it
  // is left out.
  void DrawArea(const Scene& scene, const PixelBox& box, bool writeTags, bool all, CRasterizer* r = nullptr);
  // An overlay line over the whole picture, clipped by the line drawer when
  // it crosses the picture's edge.
  void DrawOverlayLine(const SkinLine& line);
  // Every skin rectangle and overlay line lies on the picture.
  static bool InsidePicture(const Scene& scene);
  // fn(rasterizer, top, bottom) for every band of a big picture, each on
  // its own thread; the whole picture at once for a small one.
  template <class BandFn>
  void InBands(BandFn&& fn);
  bool SkinCoversBuffer() const;
  void RecolourSkinPixels();
  // The mapping's edges and frame as lines, in the order they are drawn.
  void OverlayLines(std::vector<SkinLine>& lines) const;
  // The pixel selection's outline and the floating piece, inside `clip`
  // alone, and the buffer pixels they may reach (skin_view_pixels.cpp).
  void DrawPixelTools(const PixelBox& clip);
  PixelBox PixelToolsBox() const;
  int TexelColumn(int s) const;
  int TexelRow(int t) const;
  bool EdgeEnd(const MapVertex& v, std::int32_t& x, std::int32_t& y) const;
  int OverlayVertexLimit() const;
  // --- moving the picture (skin_view_scroll.cpp) ---
  // When the scene is the one shown moved by whole pixels (a pan), moves the
  // picture and draws only the strips it uncovers; false, nothing done,
  // when anything else changed.
  bool ScrollTo(const Scene& scene, bool writeTags);
  void MovePicture(int dx, int dy, bool writeTags);

  // --- mouse (skin_view.cpp) ---
  TagView Tags() const;
  ToolContext Context() { return ToolContext{app_, *this, Tags(), &view_}; }
  Tool* ToolFor(const MouseEvent& e);
  void ToIdle();

  Workspace& app_;
  std::vector<std::uint8_t> frame_;
  std::vector<std::int32_t> tags_;
  int clientWidth_ = 0;
  SkinViewTransform view_;
  Palette palette_{};
  // The skin's texels as the picture shows them, so a redraw of changed
  // pixels recolours only the part of the picture over what changed.
  std::vector<std::uint8_t> shown_;
  // The scene the picture shows, when a Full or Quick redraw (or a move of
  // one) made it, and whether the tags are that picture's too.
  Scene drawn_;
  bool drawnValid_ = false;
  bool drawnTags_ = false;
  Scene scene_;  // the next one, kept to reuse its room
  std::vector<std::uint8_t> spare_;  // where a move puts the picture
  SkinPanZoomTool panZoom_;
  PaintTool paint_;
  BrushTool brush_;
  FillTool fill_;
  ShapeTool shape_;
  PixelSelectTool pixelSelect_;
  PickTool pick_;
  PickTool eyedropper_{MouseButton::Left};
  VertexDragTool vertexDrag_;
  TransformTool transform_;
  SkinSelectTool select_;
  RectSelectTool rectSelect_;
  FrameTool frameTool_;
  Tool* tool_ = nullptr;  // the drag under way
  bool held_ = false;     // a press (or a drag's end) waiting for its button to come up
};
