#pragma once
// The arithmetic of the skin view's mapping drags: marking what a drag moves,
// moving, rotating and scaling the marked mapping vertices within the skin,
// carrying the skin's pixels along, and tidying up when the drag ends.

#include <cstdint>
#include <vector>

#include "model/model.h"

class CRasterizer;
struct Skin;

// A selected triangle that is not hidden: what the mapping commands work on.
bool VisibleSelected(const Triangle& t);
// Whether a corner's mapping index names an entry of the table.
bool InMapTable(const Model& m, int index);
// Every corner's own copy of its mapping vertex, refreshed from the table.
void CornersFromMapVertices(Model& m);

// A skin the rasterizer can read: sized, not too tall, pixels all there.
bool SkinDrawable(const Skin* skin);

// The box around the marked mapping vertices; starts 5 texels outside the
// skin on every side, so an empty mark leaves it inverted.
struct MappingBox {
  float minS = 0, maxS = 0, minT = 0, maxT = 0;
};

// Marks (mapVertexSelected) every vertex of a selected triangle, flags each
// triangle using a marked vertex TRI_MARKED, and returns the marked box.
MappingBox MarkSelectedMapping(Model& m);

// Each marked vertex from its `saved` position turned by `angle` and scaled
// about the pivot, truncated when snapping. A result off the skin takes the
// whole step back and answers false.
bool RotateScaleMarked(Model& m, const std::vector<MapVertex>& saved, double pivotS, double pivotT, double angle,
                       double scaleS, double scaleT, bool snap);

// Moves the marked vertices by (ds, dt) texels, with the box pushed back
// inside the skin and everything truncated to whole texels when snapping.
void MoveMarked(Model& m, MappingBox& box, double ds, double dt, bool snap);

// The skin as `savedSkin`, with every marked triangle's pixels carried from
// where its mapping lay (`savedMapping`) to where it lies now; vertices at
// or past `vertexLimit` are not read.
void ResampleMarked(CRasterizer& r, Model& m, Skin& skin, const std::vector<std::uint8_t>& savedSkin,
                    const std::vector<MapVertex>& savedMapping, int vertexLimit);

// Welds the mapping and clears every TRI_MARKED. The weld drops a vertex
// drag's temporary slot (-1: none); what it held before goes back, so a click
// that moved nothing leaves the model exactly as it was.
void EndMappingDrag(Model& m);
