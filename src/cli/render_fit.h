#pragma once
// `render`'s default camera: the model framed to fill the picture.

struct Model;
struct Viewport;

// Turns nothing: keeps the viewport's rotation and field of view and moves
// the orbit centre to the middle of the bounds of the current frame's
// vertices that shown triangles use, then sets the distance at which every
// one of them projects at least `margin` pixels inside a picture of
// `pictureWidth` x viewport.height (the buffer may be wider, its width
// rounded up). False, the camera unchanged, without such a vertex.
bool FitViewToModel(Viewport& viewport, const Model& model, int pictureWidth, int margin);
