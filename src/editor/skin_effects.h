#pragma once
// Effects on the skin texels that the selected triangles' mapping covers
// (hidden triangles included: the skin is edited, not the view). Each blends
// the existing colour toward its own target by `strength` (0..1) and stores
// the nearest entry of the skin's own palette, so the palette never changes.
// Only the pixels change, never the stored pixels: Revert undoes an effect.
//
// Mapping coordinates come from files and drags and may lie off the skin,
// be huge or not numbers at all; nothing is ever written outside the skin.
// A triangle whose mapping indices are out of range, or with a corner that
// is not a number, is left out.

#include <cstdint>
#include <vector>

#include "image/skin.h"
#include "model/model.h"
#include "render/scene_light.h"

class CRasterizer;

// width x height bytes, 255 where a selected triangle's mapping (truncated
// toward zero, edges included) covers the texel, 0 elsewhere. Empty when the
// size is not positive.
std::vector<std::uint8_t> BuildSelectionMask(const Model& model, int width, int height, CRasterizer& raster);

// The same for the listed triangles, selected or not.
std::vector<std::uint8_t> BuildTriangleMask(const Model& model, const std::vector<int>& triangles, int width,
                                            int height, CRasterizer& raster);

// The mapping edges of the selected triangles, in palette index `colour`,
// blended into the skin.
void OutlineSelected(const Model& model, Skin& skin, CRasterizer& raster, std::uint8_t colour, double strength);

// The covered texels' brightness moved toward the light level of their
// triangle, at most half-way (strength 1). FillSelected takes each
// triangle's flat level shade[0], ShadeSelected the corner levels shade[0..2]
// interpolated across the triangle, from `light` (one per model triangle, as
// ComputeShading left them); a triangle past its end is left alone.
void FillSelected(const Model& model, const std::vector<TriangleLight>& light, Skin& skin, CRasterizer& raster,
                  double strength);
void ShadeSelected(const Model& model, const std::vector<TriangleLight>& light, Skin& skin, CRasterizer& raster,
                   double strength);

// The covered texels blended toward the same texels of `picture`, read in
// the picture's own palette. False, and the skin untouched, when the picture
// is not the skin's size.
bool LoadToSelected(const Model& model, Skin& skin, const Skin& picture, CRasterizer& raster, double strength);
