#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editor/skin_view.h"
#include "editor/pixel_ops.h"
#include "editor/skin_view_fill.h"
#include "editor/workspace.h"
#include "image/new_skin.h"
#include "render/rasterizer.h"

namespace {

// A 64 x 48 skin of many colours under a mapping of big triangles (plain,
// selected and marked) whose edges cross the picture's edges, or with
// `inside` of triangles on the skin, in Mapping Mode.
struct Scene {
  Workspace app;

  Scene(bool tiled, bool frame, bool pixelSelection, bool inside = false) {
    app.model.skinWidth = 64;
    app.model.skinHeight = 48;
    auto s = MakeBlankSkin("s", 64, 48, GreyRampPalette());
    for (std::size_t i = 0; i < s->pixels.size(); ++i) s->pixels[i] = static_cast<std::uint8_t>(i * 7 + i / 64 * 3);
    app.model.skins.push_back(std::move(s));
    app.model.currentSkinIndex = 0;
    app.editor.editMode = EditMode::Mapping;
    app.editor.tiledSkin = tiled;
    app.editor.showMappingFrame = frame;
    const float wide[][6] = {{-20, -10, 50, 5, 10, 60}, {3, 3, 61, 40, 30, 47}, {10, 20, 90, 22, 40, -30}};
    const float onSkin[][6] = {{2, 2, 50, 5, 10, 44}, {3, 3, 61, 40, 30, 45}, {10, 20, 60, 22, 40, 4}};
    const auto& corners = inside ? onSkin : wide;
    app.editor.colourSlots[7] = 9;  // a background unlike a fresh buffer's zeros
    const std::uint32_t flags[] = {0, TRI_SELECTED, TRI_MARKED};
    Model& m = app.model;
    m.SetTriangleCount(3);
    for (std::size_t i = 0; i < 3; ++i) {
      for (int k = 0; k < 3; ++k) m.triangles[i].cornerMap[k] = MapVertex{corners[i][2 * k], corners[i][2 * k + 1]};
      m.triangles[i].flags = flags[i];
    }
    m.WeldMapVertices(0);
    if (!pixelSelection) return;
    app.pixels.selection = PixelSelection::Rectangle(20, 10, 30, 25, 64, 48);
    SkinPiece piece;
    piece.width = 5;
    piece.height = 4;
    piece.pixels.assign(20, 3);
    piece.inside = {1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 1, 1};
    app.pixels.floating = piece;
    app.pixels.floatX = 8;
    app.pixels.floatY = 30;
  }
};

}  // namespace

// A pan moves the picture and draws the uncovered strips: after every pan it
// holds the same bytes (and, drawn Full, the same tags) as a picture drawn
// from nothing at that view.
TEST(SkinViewScroll, PannedPictureEqualsAFreshDrawingAfterEveryMove) {
  struct Move {
    float ds, dt;
  };
  struct Case {
    float zoom;
    bool tiled, frame, pixelSelection;
    int kind;
    int threads;  // above 1: a picture big enough to be moved in bands
    std::vector<Move> moves;
    bool inside = false;  // the skin and the mapping stay on the picture: the moves scroll
  };
  // At zoom 4 a quarter texel is a pixel; 0.1 is less than one; 30 texels
  // is past the whole picture at zoom 4 and 12.
  const std::vector<Move> pan = {{0.25f, 0}, {-1.5f, 0.75f}, {0.1f, 0}, {0.1f, -0.05f}, {2, 3}, {-30, 0},
                                 {0.5f, -0.25f}, {-4.75f, -2}, {0, 9}, {0.15f, 0}};
  // Small enough to keep the skin on the picture around its centre, after a
  // first move that puts it across the picture's right and bottom edges and
  // back, so that the moved picture lands on a buffer with the skin at its
  // edges.
  const std::vector<Move> small = {{-30, -20}, {30, 20}, {1, 0}, {-3, 2}, {0.5f, 0}, {0.5f, 0}, {0.3f, -0.7f}, {4, -3}, {-2, 1}, {0, 0}};
  const Case cases[] = {{4, false, true, false, REDRAW_QUICK, 1, pan},
                        {4, true, false, false, REDRAW_FULL, 1, pan},
                        {1, false, false, false, REDRAW_FULL, 1, {{1, 0}, {-3, 2}, {0.5f, 0}, {0.5f, 0}, {40, -7}, {-9, 0}}},
                        {1, true, true, false, REDRAW_QUICK, 1, {{5, 5}, {-2, 1}, {0.3f, 0.7f}, {0, -25}}},
                        {4, false, true, true, REDRAW_QUICK, 1, pan},
                        {12, false, false, false, REDRAW_FULL, 1, pan},
                        {2.5f, true, true, false, REDRAW_FULL, 1, {{0.4f, 0}, {0.8f, -0.4f}, {2, 2}}},
                        {4, true, true, false, REDRAW_QUICK, 3, pan},
                        {1, false, true, false, REDRAW_FULL, 1, small, true},
                        {1, false, false, true, REDRAW_QUICK, 1, small, true},
                        {2, false, true, false, REDRAW_FULL, 3, small, true}};
  for (const Case& c : cases) {
    Scene scene(c.tiled, c.frame, c.pixelSelection, c.inside);
    scene.app.renderModes.SetThreads(c.threads);
    const int width = c.threads > 1 ? 700 : 98, height = c.threads > 1 ? 400 : 70;
    SkinView moving(scene.app);
    moving.Resize(width, height);
    float s = c.inside ? 32 : 20, t = c.inside ? 24 : 30;
    moving.SetView(s, t, c.zoom);
    moving.Redraw(REDRAW_FULL, 0);
    for (std::size_t i = 0; i < c.moves.size(); ++i) {
      s += c.moves[i].ds;
      t += c.moves[i].dt;
      moving.SetView(s, t, c.zoom);
      moving.Redraw(c.kind, 0);
      SkinView fresh(scene.app);
      fresh.Resize(width, height);
      fresh.SetView(s, t, c.zoom);
      fresh.Redraw(c.kind, 0);
      EXPECT_TRUE(moving.frameBuffer() == fresh.frameBuffer()) << "zoom " << c.zoom << " move " << i;
      if (c.kind == REDRAW_FULL) {
        EXPECT_TRUE(moving.pixelTags() == fresh.pixelTags()) << "zoom " << c.zoom << " move " << i;
      }
    }
  }
}

// Inside the picture the skin and the lines come out as the general filler
// and line drawer make them.
TEST(SkinViewScroll, SkinAndLinesInsideThePictureAreTheRasterizersOwn) {
  constexpr int kWidth = 120, kHeight = 90;
  std::vector<std::uint8_t> texels(40 * 30);
  for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<std::uint8_t>(i * 11 + i / 40);
  std::vector<std::int32_t> rows(30);
  for (int y = 0; y < 30; ++y) rows[static_cast<std::size_t>(y)] = y * 40;
  const std::int32_t u1 = 40 * 65536 - 2, v1 = 30 * 65536 - 2;
  const SkinQuad quads[] = {{10, 90, 5, 65, 0x4000, 0x4000, u1, v1},   {1, 118, 1, 88, 0x4000, 0x4000, u1, v1},
                            {50, 53, 40, 83, 0x4000, 0x4000, u1, v1},  {7, 100, 30, 31, 0x4000, 0x4000, u1, v1},
                            {3, 117, 2, 87, 0x2345, 0x6000, 0x1C0000, 0x120000}};
  CRasterizer r;
  r.BindTexture(texels.data(), rows.data(), 40, 30);
  for (const SkinQuad& q : quads) {
    std::vector<std::uint8_t> expected(kWidth * kHeight, 0), got(expected);
    std::vector<std::int32_t> expectedTags(kWidth * kHeight, -1), gotTags(expectedTags);
    RasterTarget target = RasterTarget::Bytes(expected.data(), kWidth, kHeight);
    target.PixelTagBuffer = expectedTags.data();
    const V4 pts[5] = {{q.xl, q.ya, q.u0, q.v0}, {q.xr, q.ya, q.u1, q.v0}, {q.xr, q.yb, q.u1, q.v1},
                       {q.xl, q.yb, q.u0, q.v1}, {q.xl, q.ya, q.u0, q.v0}};
    r.BeginFrame();
    r.FillTriTexOfsTag(target, pts);
    FillSkinQuad(q, {0, 0, kWidth - 1, kHeight - 1}, got.data(), gotTags.data(), kWidth, texels.data(), rows.data());
    EXPECT_TRUE(got == expected) << q.xl << "," << q.yb;
    EXPECT_TRUE(gotTags == expectedTags) << q.xl << "," << q.yb;
  }
  r.UnbindTexture();
  // Flat, upright, diagonal, steep and shallow either way.
  const SkinLine lines[] = {{3, 7, 100, 7, 9},  {50, 80, 50, 2, 9}, {10, 10, 60, 60, 9}, {70, 5, 20, 55, 9},
                            {5, 3, 18, 85, 9},  {90, 80, 84, 1, 9}, {2, 40, 117, 51, 9}, {117, 2, 1, 30, 9}};
  for (const SkinLine& l : lines) {
    std::vector<std::uint8_t> expected(kWidth * kHeight, 0), got(expected);
    CRasterizer::DrawLine(RasterTarget::Bytes(expected.data(), kWidth, kHeight), l.x0, l.y0, l.x1, l.y1, l.colour);
    DrawSkinLine(l, {0, 0, kWidth - 1, kHeight - 1}, got.data(), kWidth);
    EXPECT_TRUE(got == expected) << l.x0 << "," << l.y0 << " " << l.x1 << "," << l.y1;
  }
}
