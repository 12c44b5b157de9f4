#pragma once
// A square of two triangles facing the default camera in a 64 x 64 view,
// mapped over a 16 x 16 skin, with the context a render mode needs.

#include <gtest/gtest.h>

#include <memory>

#include "model/model.h"
#include "render/lighting.h"
#include "render/rasterizer.h"
#include "render/render_mode.h"
#include "render/viewport.h"

class RenderModeTest : public ::testing::Test {
 protected:
  static constexpr int kSize = 64;
  static constexpr int kSkin = 16;
  static constexpr float kHalf = 15.0f;  // half the square's side, in model units

  void SetUp() override {
    // Camera x = -model y, camera y = model z, camera z = 75 - model x; the
    // corners run clockwise on screen, as the back-face test wants.
    auto frame = std::make_unique<Frame>(4);
    auto at = [](float cx, float cy) { return Vec3{0, -cx, cy}; };
    frame->vertices[0] = at(-kHalf, -kHalf);
    frame->vertices[1] = at(kHalf, -kHalf);
    frame->vertices[2] = at(-kHalf, kHalf);
    frame->vertices[3] = at(kHalf, kHalf);
    model.SetVertexCount(4);
    model.frames.push_back(std::move(frame));
    model.SetTriangleCount(2);
    const int corners[2][3] = {{0, 1, 2}, {1, 3, 2}};
    for (int t = 0; t < 2; ++t)
      for (int k = 0; k < 3; ++k) {
        model.triangles[t].vertexIndex[k] = static_cast<std::int16_t>(corners[t][k]);
        model.triangles[t].mapIndex[k] = static_cast<std::int16_t>(corners[t][k]);
      }
    model.SetMapVertexCount(4);
    model.mapVertices[0] = {0, 15.9f};
    model.mapVertices[1] = {15.9f, 15.9f};
    model.mapVertices[2] = {0, 0};
    model.mapVertices[3] = {15.9f, 0};
    model.skinWidth = model.skinHeight = kSkin;
    model.ComputeFaceNormals();

    ResizeViewport(viewport, kSize, kSize, false);
    context.model = &model;
    context.viewport = &viewport;
    context.rasterizer = &rasterizer;
    context.lighting = &lighting;
    context.cameraToggle = false;
  }

  // A current skin whose palette entry i is (i, 255 - i, i / 2).
  Skin& AddSkin(std::uint8_t fill) {
    auto skin = std::make_unique<Skin>();
    skin->width = skin->height = kSkin;
    skin->pixels.assign(kSkin * kSkin, fill);
    for (int i = 0; i < 256; ++i) {
      skin->palette[i * 3] = static_cast<std::uint8_t>(i);
      skin->palette[i * 3 + 1] = static_cast<std::uint8_t>(255 - i);
      skin->palette[i * 3 + 2] = static_cast<std::uint8_t>(i / 2);
    }
    ComputeRowOffsets(skin.get());
    model.skins.push_back(std::move(skin));
    model.currentSkinIndex = 0;
    return *model.CurrentSkin();
  }

  // A 256 x 256 map of one value (light level or colour).
  Skin& AddMap(std::vector<std::unique_ptr<Skin>>& list, std::int16_t& current, std::uint8_t value) {
    auto map = std::make_unique<Skin>();
    map->width = map->height = 256;
    map->pixels.assign(256 * 256, value);
    for (int i = 0; i < 768; ++i) map->palette[i] = static_cast<std::uint8_t>(255 - i / 3);
    list.push_back(std::move(map));
    current = static_cast<std::int16_t>(list.size() - 1);
    return *list.back();
  }

  void Render(int index, int kind) {
    modes.renderModeIndex = index;
    modes.Render(context, kind, 32);
  }

  std::size_t Pixels() const { return static_cast<std::size_t>(viewport.width) * viewport.height; }
  int CountTagged() const {
    int n = 0;
    for (std::size_t i = 0; i < Pixels(); ++i) n += viewport.tagBuffer[i] >= 0;
    return n;
  }
  // Buffer index of the view's centre pixel (inside the square).
  std::size_t Centre() const { return static_cast<std::size_t>(kSize / 2) * kSize + kSize / 2; }

  Model model;
  Viewport viewport;
  CRasterizer rasterizer;
  Lighting lighting;
  RenderModes modes;
  RenderContext context;
};
