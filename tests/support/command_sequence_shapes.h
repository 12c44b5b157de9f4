#pragma once
// The models the command-sequence driver plays on, and the scratch folder
// that holds them: a closed body of rings (its poles collapsed, so some
// triangles have no area) on skins of odd sizes, optionally with repeated
// corners, a flat sliver and mapping off every side of the skin; the skins
// the model names (one missing, one of the wrong size) and a few pictures
// for the open dialogs.

#include <string>

#include "image/skin.h"

struct Model;
class ByteSource;

inline constexpr const char* kSequenceModelDir = "models/c";

struct SequenceShape {
  int skinWidth = 64, skinHeight = 48;
  int rings = 4, segments = 6, frames = 2;
  bool awkward = false;  // degenerate triangles and mapping off the skin
  int namedSkins = 2;
};

SequenceShape ChooseShape(ByteSource& bytes);
// Empties `folder` and fills it: kSequenceModelDir/creature.md2 with its
// skins, "other.md2", and pictures of 1 x 1, 3 x 7, 257 x 5 and 256 x 256.
void FillScratch(const std::string& folder, const SequenceShape& shape);
// Marks triangles hidden, selected or both, as a session leaves them.
void MarkTriangles(ByteSource& bytes, Model& model);
// A palette of its own for each salt.
Palette SomePalette(int salt);
