#include "rxt4/screens/Screen.h"

#include <gtest/gtest.h>

#include "PixelHelpers.h"

namespace rxt4 {
namespace {

// The footers, fields and labels are checked in their places on whole screens
// (WholeScreenTest.cpp); here the rules and the primitives' own behaviour.

using test::AllWhite;
using test::CodeAt;
using test::CountBlack;
using test::GlyphAt;
using test::kCell3;

class ScreenBase : public ::testing::Test {
 protected:
  std::shared_ptr<const FontSet> fonts = FontSet::CreatePattern();
  CScreen screen{fonts};
  Surface dc;
};

TEST(ScreenFormats, CutWideFormatsToTheirRightmostCharacters) {
  EXPECT_EQ(CScreen::FormatOneDecimal(5), "  5.0");
  EXPECT_EQ(CScreen::FormatOneDecimal(68.24), " 68.2");
  EXPECT_EQ(CScreen::FormatOneDecimal(120), "120.0");
  EXPECT_EQ(CScreen::FormatOneDecimal(1000), "000.0");
  EXPECT_EQ(CScreen::FormatOneDecimal(-3.25), " -3.2");
  EXPECT_EQ(CScreen::FormatInteger(1049.5), "1049");
  EXPECT_EQ(CScreen::FormatInteger(1049.48), "1049");
  EXPECT_EQ(CScreen::FormatInteger(12), "  12");
  EXPECT_EQ(CScreen::FormatInteger(-7.9), "  -7");
  EXPECT_EQ(CScreen::FormatInteger(1e300), "5807");  // held at the largest integer
  EXPECT_EQ(CScreen::FormatTwoDecimals(473.143), "473.14");
  EXPECT_EQ(CScreen::FormatTwoDecimals(1049.48), "049.48");
  EXPECT_EQ(CScreen::FormatTwoDecimals(93.1), " 93.10");
}

TEST(ScreenRules, BandClassBoundaries) {
  EXPECT_EQ(CScreen::BandClassOf(25), 1);
  EXPECT_EQ(CScreen::BandClassOf(26), 2);
  EXPECT_EQ(CScreen::BandClassOf(42), 2);
  EXPECT_EQ(CScreen::BandClassOf(43), 3);
  EXPECT_EQ(CScreen::BandClassOf(-4), 1);

  CScreen screen(FontSet::CreatePattern());
  EXPECT_EQ(screen.bandClass, 0);
  screen.DeriveBandClass(test::Row({}));
  EXPECT_EQ(screen.bandNumber, 0);
  EXPECT_EQ(screen.bandClass, 1);
  screen.DeriveBandClass(test::Row({{14, " 30abc"}}));
  EXPECT_EQ(screen.bandNumber, 30);
  EXPECT_EQ(screen.bandClass, 2);
}

TEST(ScreenRules, ClampingIncludesTheLimits) {
  EXPECT_EQ(CScreen::Clamp(5.0, 5, 30).flag, 1);
  EXPECT_EQ(CScreen::Clamp(5.0, 5, 30).value, 5.0);
  EXPECT_EQ(CScreen::Clamp(5.1, 5, 30).flag, 0);
  EXPECT_EQ(CScreen::Clamp(30.0, 5, 30).flag, 2);
  EXPECT_EQ(CScreen::Clamp(31.2, 5, 30).value, 30.0);
  EXPECT_EQ(CScreen::Clamp(-1, 5, 30).value, 5.0);
}

TEST(ScreenRules, ScreenTypeTableHasTwelveEntries) {
  EXPECT_EQ(CScreen::ScreenTypeNameId(0), StringId::ScreenTerrestrial);
  EXPECT_EQ(CScreen::ScreenTypeNameId(3), StringId::ScreenE2Sky);
  EXPECT_EQ(CScreen::ScreenTypeNameId(6), StringId::ScreenSkyPerfect);
  EXPECT_EQ(CScreen::ScreenTypeNameId(8), StringId::ScreenVuCatv);
  EXPECT_EQ(CScreen::ScreenTypeNameId(10), StringId::ScreenOtherSatellite);
  EXPECT_EQ(CScreen::ScreenTypeNameId(11), StringId::ScreenCatvUp);
  EXPECT_FALSE(CScreen::ScreenTypeNameId(12).has_value());
  EXPECT_FALSE(CScreen::ScreenTypeNameId(-1).has_value());
  EXPECT_EQ(CScreen::ScreenTypeName(12), " ");
  EXPECT_EQ(DecodeSjis(CScreen::ScreenTypeName(1)), "ワンセグ");
}

TEST(ScreenRules, MarkersAreRecognisedExactly) {
  EXPECT_EQ(CScreen::ShownMarker("---.-"), " --.-");
  EXPECT_EQ(CScreen::ShownMarker("___._"), " __._");
  EXPECT_EQ(CScreen::ShownMarker("~~~.~"), " ~~.~");
  EXPECT_FALSE(CScreen::ShownMarker(" ---.-").has_value());
  EXPECT_FALSE(CScreen::ShownMarker("12.5").has_value());
}

TEST_F(ScreenBase, ClearLeavesTheOuterRingAndFrameDrawsIt) {
  dc.Fill(kBlack);
  CScreen::ClearScreenArea(dc);
  EXPECT_TRUE(AllWhite(dc, 1, 1, 320, 239));
  EXPECT_EQ(CountBlack(dc, 0, 0, 321, 240), 2 * 321 + 2 * 238);
  dc.Fill(kWhite);
  CScreen::FrameScreenArea(dc);
  EXPECT_EQ(CountBlack(dc, 0, 0, 321, 240), 2 * 321 + 2 * 238);
  EXPECT_TRUE(dc.IsBlack(320, 239));
}

TEST_F(ScreenBase, DottedLinePaintsEveryOtherPixel) {
  CScreen::DrawDottedLine(dc, 0, 0, 10, 0);
  for (int x = 0; x <= 10; ++x) EXPECT_EQ(dc.IsBlack(x, 0), x % 2 == 0 && x < 10) << x;
  EXPECT_EQ(CountBlack(dc, 0, 0, 321, 240), 5);

  Surface v;
  CScreen::DrawDottedLine(v, 5, 20, 5, 13);  // upward, length 7: steps 0, 2, 4, 6
  EXPECT_EQ(CountBlack(v, 0, 0, 321, 240), 4);
  EXPECT_TRUE(v.IsBlack(5, 20));
  EXPECT_TRUE(v.IsBlack(5, 14));
  EXPECT_FALSE(v.IsBlack(5, 13));

  Surface none;
  CScreen::DrawDottedLine(none, 7, 7, 7, 7);
  EXPECT_EQ(CountBlack(none, 0, 0, 321, 240), 0);
}

TEST_F(ScreenBase, ModulationTextIsCentredInItsField) {
  const struct {
    const char* text;
    int x;
    unsigned firstCode;
  } cases[] = {{"64QAM", 90, '6'}, {"OFDM", 94, 'O'}, {" 64QAM\t", 90, '6'}, {"Analog", 90, 0xFF71u & 0x7Fu},
               {"ABCDEFGHI", 77, 'A'}, {"X", 104, 'X'}};
  for (const auto& c : cases) {
    Surface s;
    screen.polarizationOrModulation = EncodeSjis(c.text);
    screen.DrawModulationText(s);
    EXPECT_TRUE(GlyphAt(s, c.x, 225, kCell3)) << c.text;
    EXPECT_EQ(CodeAt(s, c.x, 225, 7), c.firstCode) << c.text;
    EXPECT_TRUE(AllWhite(s, 0, 225, c.x, 239)) << c.text;
  }
}

TEST_F(ScreenBase, ModulationTextErasesThePreviousText) {
  dc.Fill(kBlack);
  screen.polarizationOrModulation = "";
  screen.DrawModulationText(dc);
  EXPECT_TRUE(AllWhite(dc, 80, 225, 136, 239));
  EXPECT_TRUE(dc.IsBlack(79, 230));
  EXPECT_TRUE(dc.IsBlack(136, 230));
  EXPECT_EQ(dc.fontIndex(), 3);
}

TEST_F(ScreenBase, BaseScreenDrawsNothingAndNamesNothing) {
  screen.Draw(dc);
  EXPECT_TRUE(AllWhite(dc, 0, 0, 321, 240));
  EXPECT_FALSE(screen.ShowDataName().has_value());
  EXPECT_EQ(screen.ShowKindName(), "");
  EXPECT_EQ(screen.screenType, 0);
}

}  // namespace
}  // namespace rxt4
