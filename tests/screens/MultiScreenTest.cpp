#include <gtest/gtest.h>

#include "GraphTestHelpers.h"
#include "rxt4/screens/MultiScreen.h"

// Tables are written with designated initializers that leave the other fields at
// their defaults, which GCC's -Wextra reports.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace rxt4 {
namespace {

using test::AllWhite;
using test::CodeAt;
using test::GlyphAt;
using test::Row;
using test::TextAt;

std::shared_ptr<const FontSet> Fonts() {
  static const std::shared_ptr<const FontSet> fonts = FontSet::CreatePattern();
  return fonts;
}

struct Table {
  std::string mode = "VU/CATV";  // column 17
  std::string scale = "0";       // column 16
  std::string range = "0";       // column 15
  std::string cursor = "1";      // column 18
  std::string count;             // column 19; the number of rows when empty
  std::vector<std::string> levels;
  std::vector<std::string> corrections;  // column 10 per channel; "OFF " when missing
};

std::vector<MeasurementRow> Rows(const Table& t) {
  std::vector<MeasurementRow> rows;
  const std::string count = t.count.empty() ? std::to_string(t.levels.size()) : t.count;
  for (std::size_t i = 0; i < t.levels.size(); ++i) {
    const std::string ch = std::to_string(i + 1);
    const std::string correction = i < t.corrections.size() ? t.corrections[i] : "OFF ";
    rows.push_back(Row({{0, "001" + ch}, {1, "多チャンネル"}, {2, "UHF"}, {3, "C" + ch}, {6, t.levels[i]},
                        {8, "64QAM"}, {9, "10.678"}, {10, correction}, {11, "15V"}, {12, "11V"}, {14, "30"},
                        {15, t.range}, {16, t.scale}, {17, t.mode}, {18, t.cursor}, {19, count}}));
  }
  return rows;
}

std::vector<std::string> Levels(std::size_t n, const std::string& level) { return std::vector<std::string>(n, level); }

Surface Drawn(CMultiScreen& s, const Table& t) {
  s.SetData(Rows(t));
  Surface dc;
  s.Draw(dc);
  return dc;
}

// A key action as the viewer runs it: the change of state, then a whole Draw.
void Press(CMultiScreen& s, Surface& dc, void (CMultiScreen::*action)()) {
  (s.*action)();
  s.Draw(dc);
}

TEST(MultiScreen, BarGeometryForFiveTwelveAndTwentyFiveChannels) {
  CMultiScreen s(Fonts());
  // Satellite, 4 dB per division: range 74..106, 5 pixels per dB; 90 dB tops at y 106.
  Surface dc = Drawn(s, {.mode = "BS", .scale = "1", .cursor = "3", .levels = Levels(5, "90.0")});
  for (int left : {32, 56, 80, 104, 128}) {
    EXPECT_TRUE(dc.IsBlack(left, 106)) << left;
    EXPECT_TRUE(dc.IsBlack(left + 15, 191)) << left;
    EXPECT_FALSE(dc.IsBlack(left, 105)) << left;
    EXPECT_FALSE(dc.IsBlack(left + 16, 150)) << left;
    EXPECT_FALSE(dc.IsBlack(left - 1, 150)) << left;
  }
  EXPECT_TRUE(AllWhite(dc, 152, 107, 280, 126));  // between two grid lines
  // "▲" of channel 3 centred on its bar (80..96), 12 pixels wide.
  EXPECT_TRUE(GlyphAt(dc, 82, 194, test::kCell5, 2));
  EXPECT_EQ(CodeAt(dc, 82, 194, 12), 0x25B2u & 0xFFFu);

  // 12 channels: 8 wide, 4 apart. Range 52..116 at 2.5 pixels per dB: 80 dB tops at 116.
  dc = Drawn(s, {.range = "1", .levels = Levels(12, "80.0")});
  EXPECT_EQ(s.barWidth, 8);
  EXPECT_TRUE(dc.IsBlack(164, 116));
  EXPECT_TRUE(dc.IsBlack(171, 191));
  EXPECT_FALSE(dc.IsBlack(172, 150));
  EXPECT_FALSE(dc.IsBlack(163, 150));
  EXPECT_FALSE(dc.IsBlack(176, 150));

  // 25 and 21 channels: 2 wide, 2 apart; the last bar at 128 and 112.
  dc = Drawn(s, {.range = "1", .levels = Levels(25, "80.0")});
  EXPECT_TRUE(dc.IsBlack(128, 150) && dc.IsBlack(129, 150));
  EXPECT_FALSE(dc.IsBlack(130, 150) || dc.IsBlack(131, 150) || dc.IsBlack(132, 150));
  EXPECT_FALSE(dc.IsBlack(127, 150));
  dc = Drawn(s, {.range = "1", .levels = Levels(21, "80.0")});
  EXPECT_TRUE(dc.IsBlack(112, 150));
  EXPECT_FALSE(dc.IsBlack(116, 150));
}

TEST(MultiScreen, BarColoursAndHeightsByLevelState) {
  CMultiScreen s(Fonts());
  // VU/CATV with the range offset 3: 20..84, limits 20.0 and 120.0.
  const Surface dc =
      Drawn(s, {.range = "3", .levels = {"---.-", "19.9", "120.1", "120.0", "abc", "50.0", "20.0"}});
  const Rgb green{64, 128, 64}, blue{32, 32, 255}, red{255, 0, 0};
  EXPECT_EQ(dc.Pixel(32, 190), green);
  EXPECT_EQ(dc.Pixel(56, 189), blue);
  EXPECT_EQ(dc.Pixel(56, 188), kWhite);  // below the range: a stub from y 189
  EXPECT_EQ(dc.Pixel(80, 24), red);      // above the range: up to y 24
  EXPECT_EQ(dc.Pixel(104, 24), kBlack);  // the upper limit itself is in range
  EXPECT_EQ(dc.Pixel(128, 189), blue);   // not a number reads as 0
  EXPECT_EQ(dc.Pixel(152, 111), kBlack);  // 186 - 2.5 x (50 - 20)
  EXPECT_EQ(dc.Pixel(152, 110), kWhite);
  EXPECT_EQ(dc.Pixel(176, 186), kBlack);  // the lower limit: in range, at the bottom line
  EXPECT_EQ(s.levelStates[1], CMultiScreen::kNoMeasurement);
  EXPECT_EQ(s.levelStates[2], CMultiScreen::kBelow);
  EXPECT_EQ(s.levelStates[3], CMultiScreen::kAbove);
  EXPECT_EQ(s.levelStates[4], CMultiScreen::kInRange);
}

TEST(MultiScreen, RangesFromTheStoredScaleAndOffset) {
  CMultiScreen s(Fonts());
  const struct {
    const char* range;
    int bottom;
    int top;
  } cases[] = {{"0", 84, 148}, {"1", 52, 116}, {"2", 20, 84}, {"3", 20, 84}, {"", 84, 148}, {"x", 84, 148}};
  for (const auto& c : cases) {
    s.SetData(Rows({.range = c.range, .levels = Levels(3, "60.0")}));
    EXPECT_EQ(s.bottomLevel, c.bottom) << c.range;
    EXPECT_EQ(s.topLevel, c.top) << c.range;
  }
  Surface dc = Drawn(s, {.range = "0", .levels = Levels(3, "60.0")});
  for (int x : {4, 296}) {
    EXPECT_TRUE(TextAt(dc, x, 21, test::kCell5, "148"));
    EXPECT_TRUE(TextAt(dc, x, 41, test::kCell5, "140"));
    EXPECT_TRUE(TextAt(dc, x, 181, test::kCell5, " 84"));
  }
  // The hexadecimal digit: "a" is 10 steps of half a screen.
  s.SetData(Rows({.scale = "2", .range = "a", .levels = Levels(3, "60.0")}));
  EXPECT_EQ(s.dbPerDivision, 2);
  EXPECT_EQ(s.bottomLevel, 36);  // 132 - 16 - 80
}

TEST(MultiScreen, ScaleAndRangeKeysStayWithinTheBandLimits) {
  CMultiScreen s(Fonts());
  Surface dc;
  s.SetData(Rows({.mode = "BS", .scale = "1", .levels = Levels(3, "80.0")}));
  EXPECT_EQ(s.ShowKindName(), "BS･CS BS");
  EXPECT_EQ(s.powerText, "11V");
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(74, 106));
  Press(s, dc, &CMultiScreen::ScaleCoarser);
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(42, 106));
  EXPECT_TRUE(TextAt(dc, 4, 21, test::kCell5, "106"));
  EXPECT_TRUE(TextAt(dc, 4, 181, test::kCell5, " 42"));
  Press(s, dc, &CMultiScreen::ScaleCoarser);  // 8 dB per division stays
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(42, 106));

  s.SetData(Rows({.mode = "BS", .scale = "1", .levels = Levels(3, "80.0")}));
  Press(s, dc, &CMultiScreen::ScaleFiner);
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(82, 98));
  Press(s, dc, &CMultiScreen::ScaleFiner);  // 2 dB per division stays; the range is re-centred on 90
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(82, 98));

  s.SetData(Rows({.levels = Levels(3, "80.0")}));
  EXPECT_EQ(s.ShowKindName(), "VU/CATV");
  EXPECT_EQ(s.powerText, "15V");
  Press(s, dc, &CMultiScreen::RangeUp);
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(84, 148));
  const std::pair<int, int> down[] = {{52, 116}, {20, 84}, {20, 84}};
  for (const auto& expected : down) {
    Press(s, dc, &CMultiScreen::RangeDown);
    EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), expected);
  }
  Press(s, dc, &CMultiScreen::RangeUp);
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(52, 116));
  // Finer scales lower the top limit to 132; coarser ones restore 148.
  Press(s, dc, &CMultiScreen::RangeUp);
  Press(s, dc, &CMultiScreen::ScaleFiner);
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(100, 132));
  Press(s, dc, &CMultiScreen::ScaleFiner);
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(108, 124));
  Press(s, dc, &CMultiScreen::RangeUp);
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(116, 132));
  Press(s, dc, &CMultiScreen::ScaleCoarser);
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(100, 132));
  Press(s, dc, &CMultiScreen::ScaleCoarser);
  EXPECT_EQ(std::pair(s.bottomLevel, s.topLevel), std::pair(84, 148));
}

TEST(MultiScreen, CursorWraps) {
  CMultiScreen s(Fonts());
  Surface dc = Drawn(s, {.levels = Levels(12, "80.0")});
  Press(s, dc, &CMultiScreen::CursorLeft);
  EXPECT_EQ(s.cursorChannel, 12);
  EXPECT_EQ(s.channelText, "C12");
  EXPECT_TRUE(TextAt(dc, 148, 208, test::kCell6, "C12"));
  EXPECT_TRUE(GlyphAt(dc, 162, 194, test::kCell5, 2));  // 12 x 11 + 4 + 26
  EXPECT_TRUE(AllWhite(dc, 26, 194, 38, 206));          // no mark on channel 1
  Press(s, dc, &CMultiScreen::CursorRight);
  EXPECT_EQ(s.cursorChannel, 1);
}

TEST(MultiScreen, ReferenceCombinationTable) {
  const int expected[4][4] = {{0, 1, 0, 3}, {1, 1, 1, 3}, {0, 1, 2, 3}, {3, 1, 3, 3}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(CMultiScreen::CombinedState(r, c), expected[r][c]) << r << c;
}

TEST(MultiScreen, ReferenceTurnsTheLevelIntoADifference) {
  CMultiScreen s(Fonts());
  Surface dc = Drawn(s, {.cursor = "2", .levels = {"70.0", "80.0", "75.4", "---.-", "15.0", "120.0", "20.0"}});
  auto labelCode = [&](int bits) {
    Surface back = dc;
    back.InvertRect(192, 208, 232, 223);
    return CodeAt(back, 194, 210, bits);
  };
  EXPECT_TRUE(TextAt(dc, 236, 208, test::kCell6, " 80.0"));
  EXPECT_EQ(labelCode(6), 0xFF9Au & 0x3Fu);  // "ﾚﾍﾞﾙ"
  Press(s, dc, &CMultiScreen::ToggleReference);
  EXPECT_EQ(s.referenceChannel, 2);
  EXPECT_EQ(labelCode(12), 0x394u);  // "Δﾚﾍﾞﾙ"
  EXPECT_TRUE(TextAt(dc, 236, 208, test::kCell6, "  0.0"));
  EXPECT_TRUE(GlyphAt(dc, 58, 194, test::kCell5, 2));  // "△" over the cursor's "▲"
  EXPECT_EQ(CodeAt(dc, 58, 194, 12), 0x25B3u & 0xFFFu);
  Press(s, dc, &CMultiScreen::CursorRight);
  EXPECT_TRUE(TextAt(dc, 236, 208, test::kCell6, " -4.6"));
  EXPECT_EQ(CodeAt(dc, 58, 194, 12), 0x25B3u & 0xFFFu);  // the reference mark stays
  Press(s, dc, &CMultiScreen::CursorRight);  // no measurement shows as such whatever the reference
  EXPECT_TRUE(TextAt(dc, 236, 208, test::kCell6, " --.-"));
  Press(s, dc, &CMultiScreen::CursorRight);  // below range: low dashes and the point (drawn over the dashes' blank)
  EXPECT_TRUE(TextAt(dc, 236, 213, test::kCell6, " --"));
  EXPECT_TRUE(TextAt(dc, 272, 213, test::kCell6, "-"));
  EXPECT_TRUE(TextAt(dc, 263, 208, test::kCell6, "."));
  // A difference of -100 or less is shown as -99.9.
  Press(s, dc, &CMultiScreen::ToggleReference);
  Press(s, dc, &CMultiScreen::CursorRight);
  Press(s, dc, &CMultiScreen::ToggleReference);
  Press(s, dc, &CMultiScreen::CursorRight);
  EXPECT_EQ(s.cursorChannel, 7);
  EXPECT_TRUE(TextAt(dc, 236, 208, test::kCell6, "-99.9"));
  // Twice returns to the plain level.
  Press(s, dc, &CMultiScreen::ToggleReference);
  EXPECT_EQ(s.referenceChannel, -1);
  EXPECT_EQ(labelCode(6), 0xFF9Au & 0x3Fu);
  EXPECT_TRUE(TextAt(dc, 236, 208, test::kCell6, " 20.0"));

  // A reference below range turns an in-range cursor into the below-range marker.
  s.SetData(Rows({.cursor = "1", .levels = {"15.0", "60.0"}}));
  s.Draw(dc);
  Press(s, dc, &CMultiScreen::ToggleReference);
  Press(s, dc, &CMultiScreen::CursorRight);
  EXPECT_TRUE(TextAt(dc, 236, 213, test::kCell6, " --"));
}

TEST(MultiScreen, CorrectionMarkUnlessExactlyOffWithItsBlank) {
  CMultiScreen s(Fonts());
  Surface dc = Drawn(s, {.levels = Levels(3, "60.0"), .corrections = {"1.5", "OFF ", "OFF"}});
  EXPECT_TRUE(GlyphAt(dc, 296, 196, test::kCell5, 2));
  EXPECT_TRUE(dc.IsBlack(294, 194) && dc.IsBlack(309, 209));
  Press(s, dc, &CMultiScreen::CursorRight);
  EXPECT_TRUE(AllWhite(dc, 294, 194, 310, 210));
  Press(s, dc, &CMultiScreen::CursorRight);
  EXPECT_TRUE(dc.IsBlack(294, 194));
}

TEST(MultiScreen, TablesBeyondFiftyNineChannelsAndCursorsOutsideTheTable) {
  CMultiScreen s(Fonts());
  // 70 rows and a stored cursor of 65: the bars end with channel 59; the mark
  // stands beside them and the information line stays empty.
  Surface dc = Drawn(s, {.cursor = "65", .levels = Levels(70, "100.0")});
  EXPECT_TRUE(dc.IsBlack(264, 150));  // channel 59
  EXPECT_TRUE(AllWhite(dc, 266, 147, 288, 166));
  EXPECT_TRUE(GlyphAt(dc, 283, 194, test::kCell5, 2));
  EXPECT_TRUE(AllWhite(dc, 148, 208, 190, 224));
  Press(s, dc, &CMultiScreen::CursorLeft);
  EXPECT_EQ(s.cursorChannel, 59);
  EXPECT_TRUE(TextAt(dc, 148, 208, test::kCell6, "C59"));
  Press(s, dc, &CMultiScreen::CursorRight);
  EXPECT_EQ(s.cursorChannel, 1);
  Press(s, dc, &CMultiScreen::ToggleReference);
  Press(s, dc, &CMultiScreen::CursorLeft);
  EXPECT_EQ(s.cursorChannel, 59);

  // A stored cursor of 0: the mark left of the bars, no information until a key.
  CMultiScreen fresh(Fonts());
  dc = Drawn(fresh, {.cursor = "0", .levels = Levels(12, "60.0")});
  EXPECT_TRUE(GlyphAt(dc, 18, 194, test::kCell5, 2));
  EXPECT_TRUE(AllWhite(dc, 148, 208, 190, 224));
  Press(fresh, dc, &CMultiScreen::CursorRight);
  EXPECT_TRUE(TextAt(dc, 148, 208, test::kCell6, "C1"));

  // A stored count beyond the rows: the missing channels have no bar or information.
  dc = Drawn(s, {.cursor = "5", .count = "9999999999", .levels = Levels(3, "60.0")});
  EXPECT_EQ(s.TableChannels(), 59);
  Press(s, dc, &CMultiScreen::CursorLeft);
  Press(s, dc, &CMultiScreen::CursorRight);
  EXPECT_EQ(s.cursorChannel, 5);
  // A reference without a bar reads as no measurement.
  s.SetData(Rows({.cursor = "70", .levels = Levels(3, "60.0")}));
  Press(s, dc, &CMultiScreen::ToggleReference);
  Press(s, dc, &CMultiScreen::CursorRight);
  EXPECT_TRUE(TextAt(dc, 236, 208, test::kCell6, " --.-"));

  // No rows at all: nothing to draw from, and no fault.
  s.SetData({});
  EXPECT_EQ(s.channelCount, 0);
  s.Draw(dc);
  Press(s, dc, &CMultiScreen::CursorLeft);
  Press(s, dc, &CMultiScreen::CursorRight);
  Press(s, dc, &CMultiScreen::ToggleReference);
}

}  // namespace
}  // namespace rxt4
