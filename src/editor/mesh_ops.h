#pragma once
// The Mesh menu's operations on the model's triangles. Each returns the
// message to show when it refuses (and then changes nothing, apart from a
// re-weld that moves no corner), or an empty string.

#include <string>

#include "model/model.h"

inline constexpr char kNoSelectedTrianglesText[] = "There are no selected triangles!";
inline constexpr char kCannotDeleteAllText[] = "You can no delete all existing triangles!";
inline constexpr char kSelectTwoForEdgeTurnText[] = "You must select only 2 triangles when turning an edge!";
inline constexpr char kNotConnectedText[] = "The selected triangles are not connected!";
inline constexpr char kNotConnectedInMappingText[] = "The selected triangles are not connected in their mapping!";

// Hides every selected triangle; it stays selected.
void HideSelectedFaces(Model& model);
// Shows every hidden triangle again, selected.
void UnhideAll(Model& model);
// Removes the visible selected triangles; the others keep their order.
std::string DeleteSelectedFaces(Model& model);
// Reverses the winding of every visible selected triangle; its mapping
// stays where it was.
void FlipSelectedFaces(Model& model);
// Gives the two visible selected triangles that share an edge the other
// diagonal of their quadrilateral. `beforeFlip` runs between the rewrite and
// the closing flip (the caller's tables that follow the mesh).
std::string EdgeTurn(Model& model, void (*beforeFlip)(void*) = nullptr, void* context = nullptr);
