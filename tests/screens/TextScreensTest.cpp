#include <gtest/gtest.h>

#include "PixelHelpers.h"
#include "rxt4/screens/BerScreen.h"
#include "rxt4/screens/LevelScreen.h"
#include "rxt4/screens/SkyScreen.h"

namespace rxt4 {
namespace {

using test::AllWhite;
using test::CodeAt;
using test::GlyphAt;
using test::Row;

std::shared_ptr<const FontSet> Fonts() {
  static const std::shared_ptr<const FontSet> fonts = FontSet::CreatePattern();
  return fonts;
}

// Draws a screen onto a black surface; true when only the clearing happened.
template <typename Screen>
bool DrawsNothing(Screen& screen) {
  Surface dc;
  dc.Fill(kBlack);
  screen.Draw(dc);
  return AllWhite(dc, 1, 1, 320, 239) && dc.IsBlack(0, 0) && dc.IsBlack(320, 239);
}

TEST(LevelScreen, LevelRangesByScreenType) {
  CLevelScreen s(Fonts());
  const struct {
    const char* type;
    const char* level;
    int state;
    const char* text;
  } cases[] = {{"0", "20.0", 0, " 20.0"}, {"0", "19.9", 3, ""},      {"0", "120.1", 2, ""},
               {"8", "120.0", 0, "120.0"}, {"2", "42.9", 3, ""},     {"2", "105.0", 0, "105.0"},
               {"2", "105.1", 2, ""},      {"9", "---.-", 1, " --.-"}, {"0", "___._", 3, ""},
               {"0", "~~~.~", 2, ""},      {"0", "abc", 3, ""},      {"4", "30.0", 3, ""},
               {"1", "30.0", 0, " 30.0"}};
  for (const auto& c : cases) {
    s.SetData(Row({{20, c.type}, {6, c.level}}));
    EXPECT_EQ(s.levelState, c.state) << c.type << " " << c.level;
    EXPECT_EQ(s.levelText, c.text) << c.type << " " << c.level;
  }
}

TEST(LevelScreen, CnClampedOnlyOnTheOtherSatelliteScreen) {
  CLevelScreen s(Fonts());
  const struct {
    const char* type;
    const char* band;
    const char* cn;
    const char* text;
    int flag;
  } cases[] = {{"10", "5", "23.0", " 20.0", 2}, {"10", "1", "23.0", " 23.0", 0}, {"10", "8", "25.0", " 25.0", 2},
               {"10", "9", "2.0", "  2.0", 0},  {"10", "6", "x", "  5.0", 1},   {"2", "5", "23.0", " 23.0", 0},
               {"10", "5", "___._", " __._", 0}};
  for (const auto& c : cases) {
    s.SetData(Row({{20, c.type}, {14, c.band}, {7, c.cn}}));
    EXPECT_EQ(s.cnText, c.text) << c.band << " " << c.cn;
    EXPECT_EQ(s.cnFlag, c.flag) << c.band << " " << c.cn;
  }
}

TEST(LevelScreen, FrequencyAndBottomTextByBandClass) {
  CLevelScreen s(Fonts());
  s.SetData(Row({{20, "2"}, {14, "3"}, {5, "1049.48"}, {4, "V"}, {8, "QPSK"}}));
  EXPECT_EQ(s.bandClass, 1);
  EXPECT_EQ(s.frequencyText, "1049");
  EXPECT_EQ(s.polarizationOrModulation, "V");
  s.SetData(Row({{20, "0"}, {14, "30"}, {5, "473.143"}, {4, "V"}, {8, "64QAM"}}));
  EXPECT_EQ(s.bandClass, 2);
  EXPECT_EQ(s.frequencyText, "473.14");
  EXPECT_EQ(s.polarizationOrModulation, "64QAM");
}

TEST(LevelScreen, CorrectionMarkUnlessOff) {
  CLevelScreen s(Fonts());
  for (const auto& [text, on] : {std::pair{"OFF", false}, {"  OFF ", false}, {"off", true}, {"1.5", true}, {"", true}}) {
    s.SetData(Row({{10, text}}));
    EXPECT_EQ(s.correctionOn, on) << text;
  }
}

TEST(LevelScreen, TitlesAndScreenTypesThatDrawNothing) {
  CLevelScreen s(Fonts());
  s.SetData(Row({{20, "4"}, {1, "データ1"}, {6, "60.0"}}));
  EXPECT_EQ(s.ShowKindName(), "スカイパーフェクトＴＶ！");
  EXPECT_EQ(s.ShowDataName(), "データ1");
  EXPECT_TRUE(DrawsNothing(s));
  for (const char* type : {"1", "5", "6", "12", "13", "-1"}) {
    s.SetData(Row({{20, type}}));
    EXPECT_EQ(s.ShowKindName(), " ") << type;
    EXPECT_TRUE(DrawsNothing(s)) << type;
  }
  s.SetData(Row({{20, "11"}}));
  EXPECT_EQ(s.ShowKindName(), "ＣＡＴＶ上り");
  EXPECT_FALSE(DrawsNothing(s));
}

TEST(LevelScreen, AbsentRowOnlyResetsTheBandClass) {
  CLevelScreen s(Fonts());
  s.SetData(Row({{20, "0"}, {1, "A"}, {14, "30"}}));
  s.SetData(MeasurementRow());
  EXPECT_EQ(s.bandClass, 0);
  EXPECT_EQ(s.dataName, "A");
  EXPECT_EQ(s.screenType, 0);
}

TEST(BerScreen, CnLimitsByScreenTypeAndSatellite) {
  CBerScreen s(Fonts());
  const struct {
    const char* type;
    const char* name;
    const char* cn;
    const char* text;
    int flag;
  } cases[] = {{"0", "", "31.2", " 30.0", 2},         {"0", "", "5.0", "  5.0", 1},
               {"0", "", "5.1", "  5.1", 0},          {"7", "", "30.0", " 30.0", 2},
               {"2", "", "26.0", " 25.0", 2},         {"9", "JCSAT-3A", "22.0", " 20.0", 2},
               {"9", "N-SAT110", "22.0", " 22.0", 0}, {"9", " JCSAT-4A ", "22.0", " 20.0", 2},
               {"9", "BS", "26.0", " 25.0", 2},       {"9", "jcsat-3a", "22.0", " 22.0", 0},
               {"1", "", "40.0", " 40.0", 0},         {"8", "", "40.0", " 40.0", 0},
               {"0", "", "abc", "  5.0", 1},          {"0", "", "~~~.~", " ~~.~", 0}};
  for (const auto& c : cases) {
    s.SetData(Row({{20, c.type}, {2, c.name}, {7, c.cn}}));
    EXPECT_EQ(s.cnText, c.text) << c.type << " " << c.name << " " << c.cn;
    EXPECT_EQ(s.cnFlag, c.flag) << c.type << " " << c.name << " " << c.cn;
  }
}

TEST(BerScreen, MerClampedOnlyForOneSegment) {
  CBerScreen s(Fonts());
  s.SetData(Row({{20, "1"}, {22, "35.0"}, {21, "_._____"}}));
  EXPECT_EQ(s.merText, " 30.0");
  EXPECT_EQ(s.merFlag, 2);
  EXPECT_EQ(s.berText, "_._____");
  s.SetData(Row({{20, "0"}, {22, "35.0"}}));
  EXPECT_EQ(s.merText, " 35.0");
  EXPECT_EQ(s.merFlag, 0);
}

TEST(BerScreen, OneSegmentShowsMerInsteadOfCn) {
  CBerScreen s(Fonts());
  s.SetData(Row({{20, "1"}, {14, "30"}, {7, "12.0"}, {22, "35.0"}, {13, "A"}, {21, "_._____"}}));
  Surface dc;
  s.Draw(dc);
  EXPECT_EQ(CodeAt(dc, 210, 184, 7), unsigned{'3'});   // MER 30.0, not C/N 12.0
  EXPECT_EQ(CodeAt(dc, 204, 170, 7), 0x7Fu & ~unsigned{'M'});
  EXPECT_TRUE(dc.IsBlack(287, 186));
  EXPECT_EQ(CodeAt(dc, 148, 192, 7), unsigned{'A'});   // layer
  EXPECT_EQ(CodeAt(dc, 221, 136, 7), unsigned{'.'});   // BER below range
  EXPECT_EQ(CodeAt(dc, 208, 147, 7), unsigned{'-'});
  EXPECT_EQ(CodeAt(dc, 1, 192, 7), 0u);               // frequency, left form: "  0.00"
  EXPECT_EQ(CodeAt(dc, 27, 192, 7), unsigned{'0'});
  EXPECT_EQ(s.ShowKindName(), "ワンセグ");
}

TEST(BerScreen, CableTypeEightDrawsNothing) {
  CBerScreen s(Fonts());
  s.SetData(Row({{20, "8"}, {7, "20.0"}}));
  EXPECT_EQ(s.ShowKindName(), " ");
  EXPECT_TRUE(DrawsNothing(s));
  s.SetData(Row({{20, "9"}, {7, "20.0"}}));
  EXPECT_EQ(s.ShowKindName(), "その他衛星");
  EXPECT_FALSE(DrawsNothing(s));
}

TEST(SkyScreen, TwoChannelsOfLevels) {
  CSkyScreen s(Fonts());
  s.SetData(Row({{20, "4"}, {6, "60.0"}, {26, "110.0"}, {10, "1.0"}, {29, "OFF"}, {25, "V "}, {4, "H"}}));
  EXPECT_EQ(s.levelText, " 60.0");
  EXPECT_EQ(s.levelState, 0);
  EXPECT_EQ(s.level2State, 2);
  EXPECT_TRUE(s.correctionOn);
  EXPECT_FALSE(s.correction2On);
  Surface dc;
  s.Draw(dc);
  EXPECT_EQ(CodeAt(dc, 210, 128, 7), unsigned{'6'});
  EXPECT_TRUE(dc.IsBlack(211, 190));                   // row 2 high dashes (y 175 to 210)
  EXPECT_FALSE(dc.IsBlack(210, 190));
  EXPECT_FALSE(dc.IsBlack(211, 210));
  EXPECT_TRUE(GlyphAt(dc, 288, 132, test::kCell5, 2));
  EXPECT_TRUE(AllWhite(dc, 286, 186, 314, 201));
  EXPECT_EQ(CodeAt(dc, 165, 114, 7), unsigned{'H'});
  EXPECT_TRUE(AllWhite(dc, 161, 170, 178, 184));       // no polarisation mark in row 2
  s.SetData(Row({{20, "4"}, {6, "42.9"}}));
  EXPECT_EQ(s.levelState, 3);
}

TEST(SkyScreen, CnClampedToFiveAndTwenty) {
  CSkyScreen s(Fonts());
  s.SetData(Row({{20, "6"}, {7, "4.0"}, {28, "25.0"}}));
  EXPECT_EQ(s.cnText, "  5.0");
  EXPECT_EQ(s.cnFlag, 1);
  EXPECT_EQ(s.cn2Text, " 20.0");
  EXPECT_EQ(s.cn2Flag, 2);
  Surface dc;
  s.Draw(dc);
  EXPECT_TRUE(dc.IsBlack(287, 130));
  EXPECT_TRUE(dc.IsBlack(287, 186));
}

TEST(SkyScreen, BerBelowRangeInRowTwo) {
  CSkyScreen s(Fonts());
  s.SetData(Row({{20, "5"}, {21, "1.2E-04"}, {27, "_._____"}}));
  Surface dc;
  s.Draw(dc);
  EXPECT_EQ(CodeAt(dc, 208, 136, 7), unsigned{'1'});
  EXPECT_EQ(CodeAt(dc, 221, 192, 7), unsigned{'.'});
  EXPECT_EQ(CodeAt(dc, 208, 203, 7), unsigned{'-'});
}

TEST(SkyScreen, OtherScreenTypesDrawNothing) {
  CSkyScreen s(Fonts());
  s.SetData(Row({{20, "3"}, {1, "X"}}));
  EXPECT_EQ(s.ShowKindName(), " ");
  EXPECT_EQ(s.ShowDataName(), "X");
  EXPECT_TRUE(DrawsNothing(s));
  s.SetData(Row({{20, "5"}}));
  EXPECT_EQ(s.ShowKindName(), "スカイパーフェクトＴＶ！");
}

}  // namespace
}  // namespace rxt4
