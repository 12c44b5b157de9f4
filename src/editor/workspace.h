#pragma once
// What the panes and the editing operations work on: the document, the
// editor state, the 3D view's camera and light, the one rasterizer and the
// render modes. What changes is announced through the document's notices. The application object is a workspace with the services and the
// windows added; tests and the command line use one on its own.

#include <functional>

#include "editor/document.h"
#include "editor/editor_state.h"
#include "editor/paint_ops.h"
#include "editor/mapping_stretch.h"
#include "editor/pixel_ops.h"
#include "platform/pane.h"
#include "render/lighting.h"
#include "render/rasterizer.h"
#include "render/render_context.h"
#include "render/render_mode.h"
#include "render/viewport.h"

class Workspace {
 public:
  Workspace() = default;
  virtual ~Workspace() = default;
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  Document document;
  Model& model = document.model;
  EditorState editor;
  Viewport viewport;
  Lighting lighting;
  CRasterizer rasterizer;    // the one rasterizer every picture goes through
  RenderModes renderModes;   // the ten modes, renderModeIndex, colormap
  StretchCache stretchCache; // the skin view's stretch display between redraws
  PixelTools pixels;         // the skin view's pixel selection, clipboard piece and floating piece
  MirrorCache mirrorCache;   // the model-plane symmetry's mirror, kept between strokes

  // A render context over this workspace, for renderModes.Render.
  RenderContext MakeRenderContext();
  // The paint remap from the current skin's palette, the active slot, the
  // strength and the blend rule; kept as it was without a current skin.
  // Rebuilt when a change it follows is announced (not within a drag).
  void RebuildPaintTable();
  // The shade ramps follow colour slots 1..3, the light curve and the
  // current skin's palette; the application supplies the rebuild (empty:
  // nothing to rebuild them for). Run when the skin list or the palette
  // changes; the strips that change slots or the curve run it themselves.
  std::function<void()> rebuildShadeRamps;
  // Called after every camera move of an orbit, pan, field-of-view or zoom
  // drag of the 3D view, so a linked copy can follow (empty: nobody follows).
  std::function<void()> cameraDragged;
  // Called when a drag or a command of the user's has ended, so what was
  // kept waiting for it (a linked copy's mapping) can go ahead (empty:
  // nothing waits).
  std::function<void()> actionEnded;
  void ActionEnded() {
    if (actionEnded && !document.history.open()) actionEnded();
  }

 private:
  ChangeHook paintTableFollows_{document.changes,
                                kSkinListChanged | kPaletteChanged | kActiveColourChanged | kSlotsChanged |
                                    kBrushChanged,
                                [this](const ChangeNotice& n) {
                                  if (!(n.how.flags & kDragging)) RebuildPaintTable();
                                }};
  ChangeHook shadeRampsFollow_{document.changes, kSkinListChanged | kPaletteChanged, [this](const ChangeNotice& n) {
                                 if (!(n.how.flags & kDragging) && rebuildShadeRamps) rebuildShadeRamps();
                               }};
};
