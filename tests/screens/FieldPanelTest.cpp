#include "rxt4/screens/FieldPanel.h"

#include <gtest/gtest.h>

#include "PixelHelpers.h"

namespace rxt4 {
namespace {

using Row = CFieldPanel::Row;

using test::AllWhite;
using test::CodeAt;
using test::CountBlack;
using test::GlyphAt;
using test::InvertedGlyphAt;
using test::kCell0;
using test::kCell1;
using test::kCell3;
using test::kCell4;
using test::kCell5;

class FieldPanel : public ::testing::Test {
 protected:
  CFieldPanel panel{FontSet::CreatePattern()};
  Surface dc;
};

TEST_F(FieldPanel, BsPassThroughIsTrimmedAndDrawnNarrow) {
  panel.DrawBandName(dc, EncodeSjis(" BSパススルー "));
  // Font 1 (10-pixel cells) from x 1: B at 1, S at 11, パ over 21..40.
  EXPECT_TRUE(GlyphAt(dc, 1, 136, kCell1));
  EXPECT_EQ(CodeAt(dc, 11, 136, 7), unsigned{'S'});
  EXPECT_TRUE(GlyphAt(dc, 21, 136, kCell1, 2));
  EXPECT_TRUE(GlyphAt(dc, 101, 136, kCell1, 2));  // ー, the last of 12 cells
  EXPECT_TRUE(AllWhite(dc, 121, 136, 124, 160));
  EXPECT_EQ(dc.fontIndex(), 3);  // the label font stays selected

  Surface other;
  panel.DrawBandName(other, "BS");
  EXPECT_EQ(CodeAt(other, 14, 136, 7), unsigned{'S'});  // font 0: 13-pixel cells

  Surface satellite;
  panel.DrawSatelliteName(satellite, Row::Second, EncodeSjis("BSパススルー"));
  EXPECT_EQ(CodeAt(satellite, 11, 192, 7), unsigned{'S'});
}

TEST_F(FieldPanel, NameFieldLabelBoxAndOutline) {
  panel.DrawSatelliteName(dc, Row::First, "JCSAT");
  // "衛星名" at (12, 114), white on black in (1, 112, 64, 128).
  EXPECT_TRUE(InvertedGlyphAt(dc, 12, 114, kCell3, 2));
  EXPECT_TRUE(dc.IsBlack(1, 112));
  EXPECT_TRUE(dc.IsBlack(63, 127));
  EXPECT_FALSE(dc.IsBlack(64, 120));
  EXPECT_FALSE(dc.IsBlack(1, 128));
  // Outline 0, 112, 128, 128, 160.
  EXPECT_TRUE(dc.IsBlack(0, 112));
  EXPECT_TRUE(dc.IsBlack(122, 112));
  EXPECT_TRUE(dc.IsBlack(123, 113));
  EXPECT_TRUE(dc.IsBlack(124, 114));
  EXPECT_TRUE(dc.IsBlack(124, 127));
  EXPECT_FALSE(dc.IsBlack(124, 128));
  EXPECT_FALSE(dc.IsBlack(125, 112));
  EXPECT_TRUE(dc.IsBlack(126, 112));
  EXPECT_TRUE(dc.IsBlack(127, 113));
  EXPECT_TRUE(dc.IsBlack(128, 159));
  EXPECT_FALSE(dc.IsBlack(128, 160));
  EXPECT_FALSE(dc.IsBlack(0, 113));
  EXPECT_TRUE(GlyphAt(dc, 1, 136, kCell0));
}

TEST_F(FieldPanel, ChannelOutlineAndLabel) {
  panel.DrawChannel(dc, Row::Second, "12");
  EXPECT_TRUE(InvertedGlyphAt(dc, 140, 169, kCell3));  // "c" of "ch"
  EXPECT_TRUE(dc.IsBlack(136, 168));
  EXPECT_FALSE(dc.IsBlack(160, 175));
  // Outline 136, 168, 184, 184, 216.
  EXPECT_TRUE(dc.IsBlack(178, 168));
  EXPECT_TRUE(dc.IsBlack(180, 183));
  EXPECT_FALSE(dc.IsBlack(180, 184));
  EXPECT_TRUE(dc.IsBlack(184, 215));
  EXPECT_FALSE(dc.IsBlack(184, 216));
  EXPECT_EQ(CodeAt(dc, 149, 192, 7), unsigned{'2'});
}

TEST_F(FieldPanel, PolarisationOnlyForExactMarks) {
  panel.DrawPolarization(dc, Row::First, "V");
  EXPECT_EQ(CodeAt(dc, 165, 114, 7), unsigned{'V'});
  EXPECT_TRUE(dc.IsBlack(176, 112));
  EXPECT_TRUE(dc.IsBlack(176, 127));
  EXPECT_TRUE(dc.IsBlack(160, 127));
  EXPECT_FALSE(dc.IsBlack(159, 127));
  EXPECT_FALSE(dc.IsBlack(177, 112));

  for (const char* text : {"v", "V ", " H", "", "LR", "X"}) {
    Surface s;
    panel.DrawPolarization(s, Row::First, text);
    panel.DrawPolarization(s, Row::Second, text);
    EXPECT_TRUE(AllWhite(s, 0, 0, 321, 240)) << text;
  }
  Surface second;
  panel.DrawPolarization(second, Row::Second, "R");
  EXPECT_EQ(CodeAt(second, 165, 170, 7), unsigned{'R'});
  EXPECT_TRUE(second.IsBlack(176, 183));
  EXPECT_TRUE(second.IsBlack(160, 183));
}

TEST_F(FieldPanel, FrequencyForms) {
  panel.DrawFrequency(dc, CFieldPanel::FrequencyPlace::Left, "473.14");
  EXPECT_EQ(CodeAt(dc, 1, 192, 7), unsigned{'4'});
  EXPECT_TRUE(InvertedGlyphAt(dc, 4, 170, kCell3, 2));
  EXPECT_EQ(CodeAt(dc, 89, 200, 7), unsigned{'M'});
  EXPECT_TRUE(dc.IsBlack(50, 183));
  EXPECT_FALSE(dc.IsBlack(51, 183));

  Surface c;
  panel.DrawFrequency(c, CFieldPanel::FrequencyPlace::Centre, "1049");
  EXPECT_EQ(CodeAt(c, 64, 192, 7), unsigned{'1'});
  EXPECT_TRUE(InvertedGlyphAt(c, 60, 170, kCell3, 2));
  EXPECT_EQ(CodeAt(c, 152, 200, 7), unsigned{'M'});
  EXPECT_TRUE(c.IsBlack(56, 168));
  EXPECT_FALSE(c.IsBlack(55, 168));
  EXPECT_TRUE(c.IsBlack(105, 183));
  EXPECT_FALSE(c.IsBlack(106, 183));
  EXPECT_TRUE(c.IsBlack(184, 215));
}

TEST_F(FieldPanel, LayerValueLiesOverTheOutline) {
  // A long layer text reaches the outline at x 180 and 184; its opaque cells win.
  panel.DrawLayer(dc, "ABCD");
  EXPECT_TRUE(InvertedGlyphAt(dc, 140, 170, kCell3, 2));
  EXPECT_TRUE(GlyphAt(dc, 174, 192, kCell0));
  EXPECT_FALSE(dc.IsBlack(184, 215));  // the outline under C's blank bottom row is gone
  EXPECT_TRUE(dc.IsBlack(184, 191));   // above the value the outline remains
}

TEST_F(FieldPanel, LevelStatesAndTheirPlaces) {
  panel.DrawLevel(dc, Row::First, " 68.2", CFieldPanel::kLevelShown);
  EXPECT_TRUE(GlyphAt(dc, 210, 128, kCell4));
  EXPECT_EQ(CodeAt(dc, 228, 128, 7), unsigned{'8'});
  EXPECT_TRUE(InvertedGlyphAt(dc, 202, 114, kCell3));  // ﾚ
  EXPECT_EQ(CodeAt(dc, 288, 146, 7), unsigned{'d'});
  EXPECT_TRUE(dc.IsBlack(192, 112));
  EXPECT_TRUE(dc.IsBlack(314, 112));
  EXPECT_TRUE(dc.IsBlack(316, 127));
  EXPECT_TRUE(dc.IsBlack(320, 127));
  EXPECT_FALSE(dc.IsBlack(320, 128));

  // Above range: dashes 9 pixels high (y 119), the point at (246, 128).
  Surface above;
  panel.DrawLevel(above, Row::First, "", CFieldPanel::kLevelAbove);
  EXPECT_TRUE(above.IsBlack(211, 140));
  EXPECT_FALSE(above.IsBlack(210, 140));
  EXPECT_TRUE(above.IsBlack(211, 153));
  EXPECT_FALSE(above.IsBlack(211, 154));
  EXPECT_TRUE(GlyphAt(above, 264, 119, kCell4));
  EXPECT_EQ(CodeAt(above, 264, 119, 7), unsigned{'-'});
  EXPECT_TRUE(GlyphAt(above, 246, 128, kCell4));
  EXPECT_EQ(CodeAt(above, 246, 128, 7), unsigned{'.'});

  // Below range: dashes 16 pixels low (y 144).
  Surface below;
  panel.DrawLevel(below, Row::Second, "", CFieldPanel::kLevelBelow);
  EXPECT_TRUE(GlyphAt(below, 210, 200, kCell4));
  EXPECT_EQ(CodeAt(below, 210, 200, 7), unsigned{'-'});
  EXPECT_EQ(CodeAt(below, 246, 184, 7), unsigned{'.'});
  EXPECT_TRUE(InvertedGlyphAt(below, 202, 169, kCell3));

  Surface none;
  panel.DrawLevel(none, Row::First, " --.-", CFieldPanel::kLevelNone);
  EXPECT_EQ(CodeAt(none, 210, 128, 7), unsigned{'-'});
  EXPECT_EQ(CodeAt(none, 246, 128, 7), unsigned{'.'});
  EXPECT_FALSE(none.IsBlack(211, 170));
}

TEST_F(FieldPanel, UnderRangeReadingsStandLow) {
  panel.DrawCn(dc, Row::First, " __._", 0);
  EXPECT_EQ(CodeAt(dc, 210, 144, 7), unsigned{'-'});
  EXPECT_EQ(CodeAt(dc, 246, 128, 7), unsigned{'.'});

  Surface high;
  panel.DrawCn(high, Row::First, " ~~.~", 0);
  EXPECT_EQ(CodeAt(high, 210, 128, 7), unsigned{'~'});
  EXPECT_FALSE(high.IsBlack(211, 170));

  Surface mer;
  panel.DrawMer(mer, Row::Second, " __._", 0);
  EXPECT_EQ(CodeAt(mer, 210, 200, 7), unsigned{'-'});
  EXPECT_EQ(CodeAt(mer, 246, 184, 7), unsigned{'.'});
  EXPECT_EQ(CodeAt(mer, 204, 170, 7), 0x7Fu & ~unsigned{'M'});  // inverted label
}

TEST_F(FieldPanel, LimitFlagsAreInvertedInTheirBox) {
  panel.DrawCn(dc, Row::Second, " 20.0", 2);
  // "以上" at (288, 187), then (287, 186, 316, 201) inverted.
  EXPECT_TRUE(InvertedGlyphAt(dc, 288, 187, kCell3, 2));
  EXPECT_TRUE(InvertedGlyphAt(dc, 302, 187, kCell3, 2));
  EXPECT_TRUE(dc.IsBlack(287, 186));
  EXPECT_TRUE(dc.IsBlack(315, 200));
  EXPECT_FALSE(dc.IsBlack(316, 200));
  EXPECT_FALSE(dc.IsBlack(287, 201));
  EXPECT_EQ(CodeAt(dc, 288, 202, 7), unsigned{'d'});

  Surface below;
  panel.DrawCn(below, Row::First, "  5.0", 1);
  EXPECT_TRUE(InvertedGlyphAt(below, 288, 131, kCell3, 2));
  EXPECT_TRUE(below.IsBlack(287, 130));

  Surface none;
  panel.DrawCn(none, Row::First, " 12.0", 0);
  EXPECT_TRUE(AllWhite(none, 287, 130, 316, 145));
}

TEST_F(FieldPanel, BerBelowRangeDrawsDashesAndPoint) {
  panel.DrawBer(dc, Row::First, "_._____");
  EXPECT_EQ(CodeAt(dc, 208, 147, 7), unsigned{'-'});
  EXPECT_TRUE(GlyphAt(dc, 234, 147, kCell0));
  EXPECT_EQ(CodeAt(dc, 221, 136, 7), unsigned{'.'});
  EXPECT_TRUE(dc.IsBlack(222, 158));
  EXPECT_FALSE(dc.IsBlack(222, 165));  // the blank cell under the point
  EXPECT_TRUE(InvertedGlyphAt(dc, 204, 114, kCell3));

  Surface none;
  panel.DrawBer(none, Row::Second, "-.-----");
  EXPECT_EQ(CodeAt(none, 208, 192, 7), unsigned{'-'});
  EXPECT_EQ(CodeAt(none, 221, 192, 7), unsigned{'.'});
  EXPECT_FALSE(none.IsBlack(209, 220));
  EXPECT_TRUE(none.IsBlack(192, 168));
}

TEST_F(FieldPanel, CorrectionMarkAndItsErasure) {
  panel.DrawCorrectionMark(dc, Row::First, true);
  EXPECT_TRUE(GlyphAt(dc, 288, 132, kCell5, 2));
  EXPECT_TRUE(GlyphAt(dc, 300, 132, kCell5, 2));
  EXPECT_TRUE(dc.IsBlack(286, 130));
  EXPECT_TRUE(dc.IsBlack(313, 144));
  EXPECT_FALSE(dc.IsBlack(314, 144));
  EXPECT_EQ(CountBlack(dc, 286, 130, 314, 145) - CountBlack(dc, 288, 132, 312, 144), 2 * 28 + 2 * 13);

  panel.DrawCorrectionMark(dc, Row::First, false);
  EXPECT_TRUE(AllWhite(dc, 0, 0, 321, 240));

  Surface second;
  panel.DrawCorrectionMark(second, Row::Second, true);
  EXPECT_TRUE(GlyphAt(second, 288, 188, kCell5, 2));
  EXPECT_TRUE(second.IsBlack(286, 200));
}

}  // namespace
}  // namespace rxt4
