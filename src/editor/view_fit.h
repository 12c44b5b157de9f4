#pragma once
// Zoom to fit: the 3D view framed on the model's bounds over every frame,
// so playing through the frames keeps the model in view.

struct Model;
struct Viewport;

// Keeps the camera's direction and field of view; moves the orbit centre to
// the middle of the box round every vertex of every frame and backs off
// until the sphere round that box fits the smaller side of the view. False,
// the camera unchanged, for a model without vertices.
bool FitViewToAllFrames(Viewport& viewport, const Model& model);
