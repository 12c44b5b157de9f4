#pragma once
// Where the skin view looks: the skin point at the buffer's centre and the
// zoom (client pixels per texel), with the buffer's size.

#include "model/model.h"

struct SkinViewTransform {
  static constexpr float kMinZoom = 1.0f;
  static constexpr float kMaxZoom = 12.0f;

  float centreS = 128, centreT = 128;
  float zoom = 1.5f;
  int width = -1;  // the buffer's, a multiple of 4
  int height = -1;

  // Skin coordinates of a client point, and a mapping vertex's client
  // position (on its texel's centre); false for a vertex too far out to say.
  void ClientToSkin(int x, int y, float& s, float& t) const;
  bool VertexToClient(const MapVertex& v, double& x, double& y) const;
  // Multiplies the zoom by `up` (or `down` for negative steps) once per step,
  // within kMinZoom..kMaxZoom.
  void ZoomBy(int steps, double up, double down);
};
