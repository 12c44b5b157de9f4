#include "editor/workspace.h"

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
