#pragma once
// Everything a render mode reads and writes besides its own palette. The
// owner of the editor state (the App, or a headless caller) fills it before
// each call; the render layer never reaches into the shell.

#include <cstdint>
#include <vector>

#include "model/model.h"
#include "platform/render_priority.h"
#include "render/lighting.h"
#include "render/rasterizer.h"
#include "render/viewport.h"

class RenderBands;

// How a pane redraws what went stale.
enum RedrawKind : int {
  REDRAW_FULL = 0,        // everything, tags included
  REDRAW_QUICK = 1,       // no tags, no light pass (drags, benchmark)
  REDRAW_BACKGROUND = 2,  // drawn as Full by the render modes
  REDRAW_PIXELS = 3,      // recolour the pixels whose tag is a skin texel offset
};

// Light rows of a usable colormap: row 0 brightest, each 256 entries wide.
constexpr int kColormapRows = 64;
constexpr int kColormapRowLength = 256;

struct RenderContext {
  Model* model = nullptr;
  Viewport* viewport = nullptr;  // lightLevels lives here too
  CRasterizer* rasterizer = nullptr;
  Lighting* lighting = nullptr;

  // The eight colour slots (palette indices); slots 1, 2, 3 colour the
  // unselected, selected and marked edges and 7 is the background.
  std::uint8_t colourSlots[8] = {248, 64, 128, 192, 15, 10, 5, 0};
  int editMode = 0;          // 0 Paint Mode, 1 Mapping Mode
  bool cameraToggle = true;  // camera mode: the trackball guide is drawn

  // At least kColormapRows x 256 bytes while a lit textured mode is current,
  // else null.
  const std::uint8_t* colormap = nullptr;

  // The bracket around every render; the caller's, so nested renders share it.
  RenderPriority* priority = nullptr;

  // The threads the picture is drawn on in bands; null draws it whole on
  // the calling thread. The picture is the same to the byte either way.
  RenderBands* bands = nullptr;
};
