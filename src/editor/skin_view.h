#pragma once
// The skin view pane ("Skin Box"): the current skin drawn flat at any zoom
// with the mapping's triangle edges over it, and the mouse on it: panning and
// zooming, painting and colour picking, single mapping vertices, moving,
// scaling and rotating the selection's mapping, selecting triangles and
// placing the mapping frame.

#include <cstdint>
#include <vector>

#include "editor/document.h"
#include "editor/paint_on_model.h"
#include "image/skin.h"
#include "model/model.h"
#include "platform/pane.h"

class Workspace;
struct RasterTarget;

class SkinView : public Pane {
 public:
  enum class DragState {
    Idle,
    CameraDrag,
    Painting,
    ColourPick,
    VertexDrag,
    SelectionTransform,
    SelectDrag,
    DeselectDrag,
    FrameNew,
    FrameMove,
    FrameLeft,
    FrameRight,
    FrameTop,
    FrameBottom,
    Done,  // a press that does nothing until its button is up
  };
  enum class TransformKind { Move, Scale, Rotate };

  static constexpr float kMinZoom = 1.0f;
  static constexpr float kMaxZoom = 12.0f;

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

  // Zoom 2D Extents: the whole skin in view; false (nothing changed) without
  // a current skin. The caller refreshes everything.
  bool ZoomExtents();
  // Places the view; the zoom is kept within kMinZoom..kMaxZoom.
  void SetView(float centreS, float centreT, float zoom);

  // Skin coordinates of a client point, and a mapping vertex's client
  // position (on its texel's centre); false for a vertex too far out to say.
  void ClientToSkin(int x, int y, float& s, float& t) const;
  bool VertexToClient(const MapVertex& v, double& x, double& y) const;

  float viewZoom() const { return viewZoom_; }
  float viewCentreS() const { return centreS_; }
  float viewCentreT() const { return centreT_; }
  int bufferWidth() const { return width_; }
  int bufferHeight() const { return height_; }
  int clientWidth() const { return clientWidth_; }
  const std::vector<std::uint8_t>& frameBuffer() const { return frame_; }
  const std::vector<std::int32_t>& pixelTags() const { return tags_; }
  DragState dragState() const { return dragState_; }
  TransformKind transformKind() const { return transformKind_; }

 private:
  // --- drawing (skin_view_draw.cpp) ---
  void NormaliseMappingFrame();
  bool SkinDrawable(const Skin* skin) const;
  void DrawSkin(bool writeTags);
  void FillBackground();
  bool SkinCoversBuffer() const;
  void RecolourSkinPixels();
  void DrawOverlay();
  bool EdgeEnd(const MapVertex& v, std::int32_t& x, std::int32_t& y) const;
  void DrawClippedLine(const RasterTarget& target, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                       std::uint8_t colour);
  RasterTarget FrameTarget();

  // --- mouse (skin_view.cpp, skin_view_mapping.cpp) ---
  void Send(int kind, int bits);
  void ShowNow();
  TagView Tags() const;
  bool InClient(int x, int y) const;
  bool CurrentModeTextured() const;
  void StartPress(const MouseEvent& e);
  void CameraMove(const MouseEvent& e);
  void PaintMove(int x, int y);
  void PickAt(int x, int y);
  void SelectAt(int x, int y, bool select);
  void ZoomBy(int steps, double up, double down);
  void HideCursor();
  void RestoreCursor();
  void EndDrag();
  void ToIdle();

  bool GrabVertex(int x, int y);
  void VertexMove(int x, int y);
  void BeginTransform(int x, int y);
  void TransformMove(int x, int y);
  bool RotateOrScale(double angle, double scaleS, double scaleT);
  void MoveSelection(double ds, double dt);
  void EndMappingDrag();
  void Resample();
  void BeginFrameEdit(int x, int y);
  void FrameEditMove(int x, int y);
  int TriangleCount() const;
  int MapVertexCount() const;
  int OverlayVertexLimit() const;

  Workspace& app_;
  std::vector<std::uint8_t> frame_;
  std::vector<std::int32_t> tags_;
  std::vector<std::uint8_t> savedSkin_;  // Line strokes use the stroke's own copy
  int width_ = -1;
  int height_ = -1;
  int clientWidth_ = 0;
  float centreS_ = 128, centreT_ = 128;
  float viewZoom_ = 1.5f;
  int lastX_ = 0, lastY_ = 0;
  int pressX_ = 0, pressY_ = 0;
  bool rightFlag_ = false;
  bool ctrlFlag_ = false, shiftFlag_ = false;
  DragState dragState_ = DragState::Idle;
  TransformKind transformKind_ = TransformKind::Move;
  float boxMinS_ = 0, boxMaxS_ = 0, boxMinT_ = 0, boxMaxT_ = 0;
  float pivotS_ = 0, pivotT_ = 0;
  double angle_ = 0, scaleS_ = 1, scaleT_ = 1;
  std::vector<MapVertex> savedMapping_;
  std::vector<MapVertex> stepMapping_;  // the marked vertices before a rotate or scale step
  int grabSlot_ = -1;               // the vertex drag's temporary slot
  MapVertex grabSlotBefore_{};      // what that slot held, put back when the weld drops it
  Palette palette_{};
  PaintStroke stroke_;
  DragStep step_;  // a drag that changes the document is one undo step
  bool cursorHidden_ = false;
};
