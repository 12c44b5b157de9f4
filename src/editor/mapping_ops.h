#pragma once
// The Mapping menu's operations on the selected triangles' skin positions.
// Each refreshes the corners from the mapping vertices, moves the corners of
// the visible selected triangles and rebuilds the mapping vertices from the
// corners, so the new positions win.

#include <memory>
#include <optional>
#include <string>

#include "editor/editor_state.h"
#include "model/mapping_file.h"
#include "model/model.h"
#include "render/viewport.h"

inline constexpr char kRotateOutsideText[] =
    "Rotation of the selected triangles will place them outside of the skin area...aborting.";
inline constexpr char kRetroMapCountText[] = "The number of triangles in this VMAP file do not match the current model!";

// Mirrors the selection's t (Flip) or s (Mirror) within its own extent.
void FlipSelectedMapping(Model& model);
void MirrorSelectedMapping(Model& model);
// A quarter turn about the middle of the selection's box: a corner right of
// the centre moves above it. Refused, with the message and the mapping as
// it was, when a corner would leave the skin.
std::string RotateSelectedMapping(Model& model);
// Every mapping vertex of a selected triangle truncated to whole pixels
// (unselected triangles sharing one move along).
void SnapSelectedToGrid(Model& model);
// The selection's corners collapsed onto (0, 0).
void DeleteSelectedMapping(Model& model);

// "Map from 3D View": which projection, which faces, which way round.
struct MapFrom3DViewOptions {
  int projection = 0;  // 0 "Perspective" (divides by depth), 1 "Parallel" (flat)
  bool noBackfaces = false;
  bool flip = false;    // top to bottom
  bool mirror = false;  // left to right
};

// Projects the selected triangles (hidden ones too) from the 3D view's
// camera into `frame` of the skin, each axis stretched on its own; with
// `snapToGrid` on whole pixels. Nothing without a current frame.
void MapFrom3DView(Model& model, const Viewport& view, const MappingFrame& frame, const MapFrom3DViewOptions& options,
                   bool snapToGrid);

// A new external skin of the model's skin size holding `picture` re-projected
// from the mapping `file` was painted for onto the current mapping;
// `background` where no triangle lies. Nothing, and the message, when the
// file's triangle count differs from the model's.
std::unique_ptr<Skin> RetroMap(const Model& model, const Skin& picture, const VmapData& file,
                               std::uint8_t background, std::string* message);
