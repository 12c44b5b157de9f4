#pragma once
// Islands of the mapping: the selected triangles that hang together on the
// skin through shared mapping vertices (pieces cut apart on the skin stay
// apart even where they meet on the model). Packing lays them out in the
// mapping frame; averaging gives them one texel density.

#include <string>
#include <vector>

#include "editor/document_ops.h"
#include "editor/editor_state.h"
#include "model/model.h"

// The visible selected triangles, grouped by island; each island's
// triangles in ascending order, the islands by their first triangle.
std::vector<std::vector<int>> FindMappingIslands(const Model& model);

struct PackIslandsOptions {
  int margin = 2;      // texels kept free between two islands
  bool turn = false;   // islands may be laid a quarter turn round
};

struct PackIslandsReport {
  int islands = 0;
  double covered = 0;  // share of the frame the packed triangles cover, 0..1
};

// Lays the selected islands out in `frame` without overlap, the largest
// first, each keeping its shape and all keeping their relative sizes.
// False, the mapping untouched, when nothing is selected or the gaps alone
// leave no room.
bool PackIslands(Model& model, const MappingFrame& frame, const PackIslandsOptions& options, PackIslandsReport* report);

// Scales each selected island about the middle of its box so that all have
// the texel density (texels per model unit, on the current frame) of the
// selection as a whole. False when there is nothing to measure.
bool AverageIslandScale(Model& model);

// The texts the two operations answer with.
inline constexpr int kMaxPackMargin = 64;
inline constexpr char kPackMarginText[] = "The margin must be a whole number of texels from 0 to 64: ";
inline constexpr char kPackNoRoomText[] = "The islands do not fit into the mapping frame with that margin.";
std::string PackedIslandsText(const PackIslandsReport& report);

// As the menu runs them: each its own undo step.
OpResult PackIslands(Document& document, const EditorState& editor, const PackIslandsOptions& options);
OpResult AverageIslandScale(Document& document);
