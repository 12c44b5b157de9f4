#include "editor/workspace.h"

#include <cmath>
#include <utility>

#include "editor/paint_table.h"

RenderContext Workspace::MakeRenderContext() {
  RenderContext context;
  context.model = &model;
  context.viewport = &viewport;
  context.rasterizer = &rasterizer;
  context.lighting = &lighting;
  for (int i = 0; i < 8; ++i) context.colourSlots[i] = editor.colourSlots[static_cast<std::size_t>(i)];
  context.colormap = renderModes.colormap.empty() ? nullptr : renderModes.colormap.data();
  context.priority = &renderModes.priority;
  context.editMode = static_cast<int>(editor.editMode);
  context.cameraToggle = editor.cameraToggle;
  return context;
}

void Workspace::RebuildPaintTable() { BuildPaintTable(*this); }

MappingFrame NormalisedFrame(MappingFrame f, int w, int h) {
  auto clamp = [](float v, int size) { return !(v >= 0) ? 0.0f : v > size ? static_cast<float>(size) : v; };
  f.left = clamp(f.left, w);
  f.right = clamp(f.right, w);
  f.top = clamp(f.top, h);
  f.bottom = clamp(f.bottom, h);
  if (f.left > f.right) {
    std::swap(f.left, f.right);
    f.left = std::trunc(f.left);
  }
  if (f.top > f.bottom) {
    std::swap(f.top, f.bottom);
    f.top = std::trunc(f.top);
  }
  return f;
}
