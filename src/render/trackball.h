#pragma once
// The virtual trackball that turns a pointer drag into a rotation.

#include "render/camera_math.h"

struct Quaternion {
  float x = 0, y = 0, z = 0, w = 1;
};

// The rotation that rolls a ball of size 0.8 from p1 to p2 (normalised
// pointer coordinates); the identity when the points are equal.
Quaternion Trackball(float p1x, float p1y, float p2x, float p2y);

Mat3 QuaternionToMatrix(const Quaternion& q);

// Trackball axis constraint chosen when the drag starts.
enum class TrackballAxis { Free, Vertical, Horizontal };

struct TrackballPoints {
  float p1x = 0, p1y = 0, p2x = 0, p2y = 0;
};

// Pointer positions (pixels, y downward) of the previous and current mouse
// event in a client area of width x height, as trackball coordinates.
// Vertical keeps the turn about the vertical screen axis (y' zeroed),
// Horizontal about the horizontal one (x' zeroed).
TrackballPoints NormaliseTrackballPointers(int prevX, int prevY, int x, int y, int width,
                                           int height, TrackballAxis axis);
