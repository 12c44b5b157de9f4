#pragma once
// Camera and light moves driven by the 3D view's mouse handling and the
// Views menu.

#include "model/model.h"
#include "render/lighting.h"
#include "render/trackball.h"
#include "render/viewport.h"

// Orbit by the trackball turn from p1 to p2. With lockLight the light turns
// along, keeping its direction relative to the camera.
void Rotate(Viewport& viewport, Lighting& lighting, const TrackballPoints& points);

// Turns the light by the trackball turn, seen from the camera; the camera
// stays.
void RotateLight(const Viewport& viewport, Lighting& lighting, const TrackballPoints& points);

// Pixel deltas (dy positive downward): the model follows the pointer at the
// orbit centre's depth.
void Pan(Viewport& viewport, int dx, int dy);

// Slides the orbit centre along the line of sight, the eye staying put, one
// step per pixel of vertical motion (downward pulls it closer).
void MovePivot(Viewport& viewport, int dy);

// distance x 1.002 per positive step, x 1/1.002 per negative step.
void Zoom(Viewport& viewport, int steps);

// fieldOfView += dx * 0.1, kept within 1..120 degrees.
void ChangeFieldOfView(Viewport& viewport, int dx);

enum class AlignKind { Front, Back, Left, Right, Top, Bottom };

// The view's orientation for `kind`; pan, distance and field of view stay.
Mat3 AlignRotation(AlignKind kind);
void Align(Viewport& viewport, AlignKind kind);

// Orbit centre on the mean centroid of the selected, shown triangles. False
// (nothing changed) without a frame or such a triangle.
bool CenterOnSelected(Viewport& viewport, const Model& model);

// Orbit centre on the mean of every vertex of the current frame and of every
// shown companion at its drawn position. False without a frame.
bool CenterOnScene(Viewport& viewport, const Model& model);
