#pragma once
// The skin view pane ("Skin Box"): the current skin drawn flat at any zoom
// with the mapping's triangle edges over it. The mouse drags belong to the
// tools in editor/tools/; the pane picks one for each press and keeps the
// zoom, the pan and the picture.

#include <cstdint>
#include <vector>

#include "editor/document.h"
#include "editor/paint_on_model.h"
#include "editor/skin_picture.h"
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
  const std::vector<std::uint8_t>& frameBuffer() const { return picture_.frame(); }
  const std::vector<std::int32_t>& pixelTags() const { return picture_.tags(); }
  // The tool whose drag goes on; null between drags, and while a press that
  // started nothing (or a drag that ended) waits for its button.
  const Tool* activeTool() const { return tool_; }
  bool Idle() const { return !tool_ && !held_; }

 private:
  // --- mouse (skin_view.cpp) ---
  TagView Tags() const;
  ToolContext Context() { return ToolContext{app_, *this, Tags(), &view_}; }
  Tool* ToolFor(const MouseEvent& e);
  void ToIdle();

  Workspace& app_;
  int clientWidth_ = 0;
  SkinViewTransform view_;
  SkinPicture picture_{app_, view_};  // after view_, which it reads
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
