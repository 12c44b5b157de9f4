#include <gtest/gtest.h>

#include "editor/pixel_ops.h"
#include "image/new_skin.h"

namespace {

// A 16 x 8 grey-ramp skin whose texel (x, y) is x + 16y, in a document.
struct Sheet {
  Document document;
  EditorState editor;
  PixelTools tools;
  Skin* skin = nullptr;
  Sheet() {
    Model& m = document.model;
    m.skinWidth = 16;
    m.skinHeight = 8;
    auto s = MakeBlankSkin("s", 16, 8, GreyRampPalette());
    for (int i = 0; i < 128; ++i) s->pixels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    skin = s.get();
    m.skins.push_back(std::move(s));
    m.currentSkinIndex = 0;
    editor.colourSlots[7] = 200;
  }
  int At(int x, int y) const { return skin->pixels[static_cast<std::size_t>(y * 16 + x)]; }
};

TEST(PixelSelection, RectanglesClipToTheSkinAndLassosKeepTheirOutlineAndInside) {
  const PixelSelection r = PixelSelection::Rectangle(12, 5, 20, -3, 16, 8);
  EXPECT_EQ((std::vector<int>{r.x, r.y, r.width, r.height}), (std::vector<int>{12, 0, 4, 6}));
  // The triangle (0, 0), (6, 0), (0, 6): texels on or under the diagonal.
  const PixelSelection l = PixelSelection::Lasso({{0, 0}, {6, 0}, {0, 6}}, 16, 8);
  const struct {
    int x, y;
    bool in;
  } cases[] = {{0, 0, true}, {6, 0, true}, {0, 6, true}, {3, 3, true}, {1, 1, true}, {4, 4, false}, {6, 6, false}};
  for (const auto& c : cases) EXPECT_EQ(l.Contains(c.x, c.y), c.in) << c.x << "," << c.y;
  EXPECT_TRUE(PixelSelection::Rectangle(20, 20, 30, 30, 16, 8).empty());
}

TEST(PixelSelection, CutPasteFlipAndPlaceAreStepsThatUndoExactly) {
  Sheet s;
  s.editor.protectedColours[35] = 1;  // texel (3, 2)
  const std::vector<std::uint8_t> before = s.skin->pixels;
  s.tools.selection = PixelSelection::Rectangle(0, 0, 1, 1, 16, 8);  // texels 0, 1, 16, 17
  ASSERT_TRUE(CutPixelSelection(s.document, s.editor, s.tools).done);
  EXPECT_EQ(s.At(0, 0), 200);
  EXPECT_EQ(s.At(1, 1), 200);
  ASSERT_TRUE(PastePiece(s.document, s.editor, s.tools, std::nullopt, 2, 1).done);
  EXPECT_EQ(s.At(2, 1), 18);  // floating: the skin is unchanged until placed
  ASSERT_TRUE(FlipPixelPiece(s.tools, true).done);
  ASSERT_TRUE(PlaceFloatingPiece(s.document, s.editor, s.tools).done);
  // Flipped left-right: row 1 of the skin takes 1, 0; row 2 takes 17, 16
  // except over the protected texel (3, 2).
  EXPECT_EQ((std::vector<int>{s.At(2, 1), s.At(3, 1), s.At(2, 2), s.At(3, 2)}), (std::vector<int>{1, 0, 17, 35}));
  EXPECT_FALSE(s.tools.floating);
  EXPECT_EQ(s.document.history.UndoName(), "Paste");
  ASSERT_TRUE(s.document.Undo());
  ASSERT_TRUE(s.document.Undo());
  EXPECT_EQ(s.skin->pixels, before);
  // Without a selection or a piece the commands say so and change nothing.
  s.tools = {};
  EXPECT_EQ(DeletePixelSelection(s.document, s.editor, s.tools).message, kNoPixelSelectionText);
  EXPECT_EQ(PastePiece(s.document, s.editor, s.tools, std::nullopt, 0, 0).message, kNothingToPasteText);
  EXPECT_EQ(s.skin->pixels, before);
}

TEST(PixelSelection, APictureNeverPastesAProtectedColour) {
  Sheet s;
  // Pixels exactly the grey of protected entries 100..103, one half clear.
  TrueColourPicture picture;
  picture.width = 5;
  picture.height = 1;
  for (int i = 0; i < 5; ++i) {
    const auto grey = static_cast<std::uint8_t>(100 + i % 4);
    picture.rgba.insert(picture.rgba.end(), {grey, grey, grey, static_cast<std::uint8_t>(i == 4 ? 60 : 255)});
  }
  for (int i = 100; i <= 103; ++i) s.editor.protectedColours[static_cast<std::size_t>(i)] = 1;
  for (bool dither : {false, true}) {
    const SkinPiece piece = PieceFromPicture(picture, GreyRampPalette(), s.editor, dither);
    ASSERT_EQ(piece.width, 5);
    for (int i = 0; i < 4; ++i) {
      EXPECT_TRUE(piece.pixels[static_cast<std::size_t>(i)] == 99 || piece.pixels[static_cast<std::size_t>(i)] == 104)
          << i << (dither ? " dithered" : "");
      EXPECT_TRUE(piece.inside[static_cast<std::size_t>(i)]);
    }
    EXPECT_FALSE(piece.inside[4]);
  }
  // And back out as a picture, the clear texel clear.
  const TrueColourPicture out = PieceToPicture(PieceFromPicture(picture, GreyRampPalette(), s.editor, false));
  EXPECT_EQ(out.rgba[3], 255);
  EXPECT_EQ(out.rgba[4 * 4 + 3], 0);
}

}  // namespace
