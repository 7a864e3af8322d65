// Glyphs of the installed screen font: they must exist and stay inside their cells.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "PixelHelpers.h"
#include "rxt4/screens/Fonts.h"

namespace rxt4 {
namespace {

class RealFont : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    auto source = FreeTypeGlyphSource::OpenDefault(&error);
    if (!source) GTEST_SKIP() << error;
    fonts = std::make_unique<FontSet>(std::move(source));
  }

  // Ink rows and columns of a glyph: {top, bottom, left, right}, or all -1 without ink.
  static std::array<int, 4> InkBox(const GlyphBitmap& g) {
    std::array<int, 4> box{-1, -1, -1, -1};
    for (int y = 0; y < g.height; ++y)
      for (int x = 0; x < g.width; ++x)
        if (g.Ink(x, y)) {
          if (box[0] < 0) box = {y, y, x, x};
          box[1] = y;
          box[2] = std::min(box[2], x);
          box[3] = std::max(box[3], x);
        }
    return box;
  }

  std::unique_ptr<FontSet> fonts;
};

TEST_F(RealFont, JapaneseAndHalfWidthKatakanaLandInsideTheirCells) {
  for (int index = 0; index < kFontCount; ++index) {
    const FontCell cell = FontCellOf(index);
    // Ideographs fill nearly the whole em: a baseline too high or too low would cut
    // them at the cell's edge and lose rows of ink.
    for (const char* utf8 : {"周", "衛", "補", "波"}) {
      const std::string sjis = EncodeSjis(utf8);
      const GlyphBitmap& g = fonts->Glyph(index, sjis);
      ASSERT_EQ(g.width, 2 * cell.width) << utf8;
      ASSERT_EQ(g.height, cell.height);
      const auto box = InkBox(g);
      ASSERT_GE(box[0], 0) << utf8 << " in font " << index << " has no ink";
      EXPECT_GE(4 * (box[1] - box[0] + 1), 3 * cell.height) << utf8 << " font " << index;
      // Centred across its two cells.
      EXPECT_LE(std::abs(box[2] - (g.width - 1 - box[3])), 3) << utf8 << " font " << index;
    }
    // Half-width katakana take one cell and keep most of their height above the baseline.
    for (const char* utf8 : {"ｺ", "ﾝ", "ﾊ", "ｰ"}) {
      const std::string sjis = EncodeSjis(utf8);
      const GlyphBitmap& g = fonts->Glyph(index, sjis);
      ASSERT_EQ(g.width, cell.width) << utf8;
      const auto box = InkBox(g);
      ASSERT_GE(box[0], 0) << utf8 << " in font " << index << " has no ink";
      EXPECT_GE(box[2], 0);
      EXPECT_LE(box[1], cell.height * 7 / 8) << utf8 << " font " << index;
    }
    // The descender of "g" still has its ink under the baseline row.
    const auto g = InkBox(fonts->Glyph(index, "g"));
    EXPECT_GT(g[1], cell.height * 7 / 8 - 1) << "font " << index;
  }
}

TEST_F(RealFont, GlyphsAreMonochromeAndBlanksEmpty) {
  const GlyphBitmap& blank = fonts->Glyph(0, " ");
  EXPECT_EQ(InkBox(blank)[0], -1);
  const GlyphBitmap& wide = fonts->Glyph(3, "\x81\x40");  // ideographic space
  EXPECT_EQ(InkBox(wide)[0], -1);
  const GlyphBitmap& digit = fonts->Glyph(4, "0");
  for (std::uint8_t v : digit.ink) EXPECT_LE(v, 1);
  // The large digits fill most of their 36-pixel cell.
  const auto box = InkBox(digit);
  EXPECT_GE(box[1] - box[0], 20);
}

TEST_F(RealFont, NarrowFontsCondenseTheBandName) {
  const std::string name = EncodeSjis("パ");
  const auto wide = InkBox(fonts->Glyph(0, name));
  const auto narrow = InkBox(fonts->Glyph(2, name));
  EXPECT_LT(narrow[3] - narrow[2], wide[3] - wide[2]);
  EXPECT_LT(narrow[3], 16);
}

TEST_F(RealFont, DrawnTextStaysInItsCells) {
  Surface s;
  s.SelectFont(*fonts, 3);
  const std::string text = EncodeSjis("ｺﾝﾊﾞｰﾀｰ周波数");
  s.TextOut(20, 30, text);
  const int right = 20 + 7 * static_cast<int>(text.size());
  EXPECT_GT(test::CountBlack(s, 20, 30, right, 44), 50);
  EXPECT_EQ(test::CountBlack(s, 0, 0, 321, 240), test::CountBlack(s, 20, 30, right, 44));
}

}  // namespace
}  // namespace rxt4
