#pragma once
// What the panes and the editing operations work on: the document, the
// editor state, the 3D view's camera and light, the one rasterizer and the
// render modes, and the message queue the panes send their refreshes
// through. The application object is a workspace with the services and the
// windows added; tests and the command line use one on its own.

#include <functional>

#include "editor/document.h"
#include "editor/editor_state.h"
#include "platform/message_queue.h"
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
  MessageQueue messages;     // "VRK-Refresh" and "VRK-BarAdjust" between the windows

  // A render context over this workspace, for renderModes.Render.
  RenderContext MakeRenderContext();
  // The paint remap from the current skin's palette, the active slot, the
  // strength and the blend rule; kept as it was without a current skin.
  void RebuildPaintTable();
  // The shade ramps follow colour slots 1..3 and the light curve; the
  // application supplies the rebuild (empty: nothing to rebuild them for).
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
};
