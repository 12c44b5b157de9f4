#pragma once
// The light: its direction, the light curve shaped by the gradient box's
// exponent, the shade ramps of the shaded modes, and the per-triangle light
// values (shade levels and phong/environment map coordinates).

#include <array>
#include <cstdint>

#include "image/skin.h"
#include "model/model.h"
#include "render/camera_math.h"
#include "render/scene_light.h"

struct Lighting {
  Mat3 lightRotation;  // third row is the light vector in world axes
  int lockLight = 0;   // 1: the light turns with the camera
  double shadeExponent = 1.0;
  std::array<std::uint8_t, 256> lightCurve{};
  std::uint8_t shadeRamps[3][64][3] = {};  // ramp, entry, R G B

  Lighting();
};

// lightCurve from shadeExponent. While "Textured, P-Shade" is current with a
// phong map, the caller follows it with BuildPhongLightRows for that map.
void BuildLightCurve(Lighting& lighting);

// The phong map's light rows (0 brightest) into its storedPixels, from its
// light levels in pixels.
void BuildPhongLightRows(const Lighting& lighting, Skin& phongMap);

// The three ramps from colour slots 1, 2, 3 (palette indices `slots[0..2]`),
// coloured through `palette`, or grey (i, i, i) when there is none.
void BuildShadeRamps(Lighting& lighting, const Palette* palette, const std::uint8_t slots[3]);

// Into `light` (fitted to the meshes first): kind 0 flat, 1 smooth, 2 map
// coordinates from viewNormal; model triangles and every shown companion.
// Nothing without a current frame.
void ComputeShading(const Model& model, const Lighting& lighting, int kind, SceneLight& light);

// viewNormal of every model and shown-companion triangle: the world face
// normal against columns 0 and 1 of `frame`, negated.
void SetViewNormals(const Model& model, const Mat3& frame, SceneLight& light);
