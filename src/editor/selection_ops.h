#pragma once
// The Selection menu's operations on the model's triangle flags. Connection
// runs through shared mapping vertices, not shared 3D vertices: pieces cut
// apart on the skin stay apart even where they touch on the model. Hidden
// triangles keep their selected flag but neither join nor carry a fill.

#include "model/model.h"

void SelectAll(Model& model);      // hidden triangles too
void SelectNone(Model& model);
void InvertSelection(Model& model);  // hidden triangles too
// The whole mapping island of every visible selected triangle.
void SelectConnected(Model& model);
// Adds every visible triangle whose three mapping vertices each belong to a
// visible triangle touching the selection.
void GrowSelection(Model& model);
// Drops every visible selected triangle that shares a mapping vertex with a
// visible unselected one.
void ShrinkSelection(Model& model);
