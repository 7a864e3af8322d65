#include "rxt4/screens/Surface.h"

#include <gtest/gtest.h>

#include "PixelHelpers.h"
#include "rxt4/screens/Fonts.h"

namespace rxt4 {
namespace {

using test::AllWhite;
using test::CodeAt;
using test::CountBlack;

TEST(Surface, DefaultsToTheWhiteScreenArea) {
  Surface s;
  EXPECT_EQ(s.width(), 321);
  EXPECT_EQ(s.height(), 240);
  EXPECT_TRUE(AllWhite(s, 0, 0, 321, 240));
  EXPECT_EQ(s.Pixel(-1, 0), kWhite);
  EXPECT_EQ(Surface(-5, 3).width(), 0);
}

TEST(Surface, RectanglesIncludeLeftTopAndExcludeRightBottom) {
  Surface s(20, 20);
  s.FillRect(2, 3, 5, 7, kBlack);
  EXPECT_TRUE(s.IsBlack(2, 3));
  EXPECT_TRUE(s.IsBlack(4, 6));
  EXPECT_FALSE(s.IsBlack(5, 6));
  EXPECT_FALSE(s.IsBlack(4, 7));
  EXPECT_EQ(CountBlack(s, 0, 0, 20, 20), 12);

  s.InvertRect(4, 6, 6, 8);  // turns (4,6) white again and three white pixels black
  EXPECT_FALSE(s.IsBlack(4, 6));
  EXPECT_TRUE(s.IsBlack(5, 6));
  EXPECT_TRUE(s.IsBlack(4, 7));
  EXPECT_TRUE(s.IsBlack(5, 7));
  EXPECT_EQ(CountBlack(s, 0, 0, 20, 20), 14);

  Surface f(20, 20);
  f.FrameRect(1, 1, 5, 4, kBlack);
  EXPECT_EQ(CountBlack(f, 0, 0, 20, 20), 10);
  EXPECT_TRUE(f.IsBlack(4, 3));
  EXPECT_FALSE(f.IsBlack(2, 2));
  EXPECT_FALSE(f.IsBlack(5, 1));
}

TEST(Surface, InversionComplementsColours) {
  Surface s(2, 1);
  s.SetPixel(0, 0, Rgb{10, 200, 30});
  s.InvertRect(0, 0, 2, 1);
  EXPECT_EQ(s.Pixel(0, 0), (Rgb{245, 55, 225}));
  EXPECT_EQ(s.Pixel(1, 0), kBlack);
}

TEST(Surface, LinesPaintTheirStartButNotTheirEnd) {
  Surface s(20, 20);
  s.MoveTo(2, 5);
  s.LineTo(6, 5);
  EXPECT_EQ(CountBlack(s, 0, 0, 20, 20), 4);
  EXPECT_TRUE(s.IsBlack(2, 5));
  EXPECT_FALSE(s.IsBlack(6, 5));
  EXPECT_EQ(s.position().x, 6);

  Surface v(20, 20);
  v.MoveTo(3, 9);
  v.LineTo(3, 6);  // upward
  EXPECT_TRUE(v.IsBlack(3, 9));
  EXPECT_TRUE(v.IsBlack(3, 7));
  EXPECT_FALSE(v.IsBlack(3, 6));

  Surface d(20, 20);
  d.MoveTo(0, 0);
  d.LineTo(4, 2);
  EXPECT_EQ(CountBlack(d, 0, 0, 20, 20), 4);
  EXPECT_TRUE(d.IsBlack(0, 0));
  EXPECT_FALSE(d.IsBlack(4, 2));

  Surface z(5, 5);
  z.MoveTo(1, 1);
  z.LineTo(1, 1);
  EXPECT_EQ(CountBlack(z, 0, 0, 5, 5), 0);
}

TEST(Surface, PolylinePaintsEveryVertexButItsLast) {
  Surface s(20, 20);
  s.MoveTo(15, 15);
  s.Polyline({{1, 1}, {4, 1}, {4, 4}});
  EXPECT_TRUE(s.IsBlack(1, 1));
  EXPECT_TRUE(s.IsBlack(4, 1));
  EXPECT_TRUE(s.IsBlack(4, 3));
  EXPECT_FALSE(s.IsBlack(4, 4));
  EXPECT_EQ(CountBlack(s, 0, 0, 20, 20), 6);
  EXPECT_EQ(s.position().x, 15);  // the current position is not used or moved
}

TEST(Surface, DrawingOutsideIsClipped) {
  Surface s(10, 10);
  s.FillRect(-100, -100, 3, 2, kBlack);
  s.InvertRect(8, 8, 1000, 1000);
  s.SetPixel(10, 0, kBlack);
  s.MoveTo(-2000000000, 5);
  s.LineTo(2000000000, 5);
  s.FrameRect(-5, -5, 50, 50, kBlack);
  EXPECT_EQ(CountBlack(s, 0, 0, 10, 10), 6 + 4 + 10);
  EXPECT_TRUE(s.IsBlack(9, 5));
  EXPECT_TRUE(s.IsBlack(0, 5));
}

TEST(Surface, TextCellsFollowTheShiftJisByteCount) {
  auto fonts = FontSet::CreatePattern();
  Surface s;
  s.Fill(kBlack);
  s.SelectFont(*fonts, 3);
  const std::string text = EncodeSjis("A周 ");
  s.TextOut(10, 20, text);
  // "A" one 7-pixel cell, "周" two cells, the blank one: 28 pixels painted white first.
  EXPECT_TRUE(test::GlyphAt(s, 10, 20, test::kCell3));
  EXPECT_EQ(CodeAt(s, 10, 20, 7), 0x41u);
  EXPECT_TRUE(test::GlyphAt(s, 17, 20, test::kCell3, 2));
  EXPECT_EQ(CodeAt(s, 17, 20, 14), 0x5468u & 0x3FFFu);  // U+5468
  EXPECT_TRUE(AllWhite(s, 31, 20, 38, 34));
  EXPECT_TRUE(s.IsBlack(38, 25));
  EXPECT_TRUE(s.IsBlack(9, 25));
  EXPECT_TRUE(s.IsBlack(12, 34));
  EXPECT_EQ(s.TextWidth(text), 28);
  EXPECT_EQ(s.fontIndex(), 3);
}

TEST(Surface, TransparentTextKeepsTheCellBackground) {
  auto fonts = FontSet::CreatePattern();
  Surface s;
  s.Fill(Rgb{0, 0, 255});
  s.SelectFont(*fonts, 5);
  s.SetBackgroundMode(BackgroundMode::Transparent);
  s.SetTextColor(Rgb{255, 0, 0});
  s.TextOut(0, 0, "X");
  EXPECT_EQ(s.Pixel(1, 1), (Rgb{255, 0, 0}));
  EXPECT_EQ(s.Pixel(0, 1), (Rgb{0, 0, 255}));
  EXPECT_EQ(s.Pixel(5, 11), (Rgb{0, 0, 255}));
}

TEST(Surface, FontIndicesOutsideTheSetSelectFontZero) {
  auto fonts = FontSet::CreatePattern();
  Surface s;
  s.SelectFont(*fonts, 7);
  EXPECT_EQ(s.fontIndex(), 0);
  EXPECT_EQ(s.TextWidth("ab"), 26);
  s.SelectFont(*fonts, -1);
  s.TextOut(315, 230, "XYZ");  // runs off the surface
  EXPECT_TRUE(s.IsBlack(316, 231));
  Surface none;
  none.TextOut(0, 0, "X");
  EXPECT_EQ(none.TextWidth("X"), 0);
  EXPECT_TRUE(AllWhite(none, 0, 0, 321, 240));
}

TEST(Surface, TruncatedDoubleByteCharacterTakesOneCell) {
  auto fonts = FontSet::CreatePattern();
  Surface s;
  s.SelectFont(*fonts, 3);
  s.TextOut(0, 0, std::string("A\x81", 2));  // a lead byte without its trail byte
  EXPECT_TRUE(test::GlyphAt(s, 7, 0, test::kCell3));
  EXPECT_TRUE(AllWhite(s, 14, 0, 30, 14));
}

}  // namespace
}  // namespace rxt4
