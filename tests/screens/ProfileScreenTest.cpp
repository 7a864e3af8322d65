#include <gtest/gtest.h>

#include "GraphTestHelpers.h"
#include "rxt4/screens/ProfileScreen.h"

namespace rxt4 {
namespace {

using test::CodeAt;
using test::CountBlack;
using test::GlyphAt;
using test::Row;
using test::SampleFile;
using test::ScratchFolder;
using test::TextAt;

std::shared_ptr<const FontSet> Fonts() {
  static const std::shared_ptr<const FontSet> fonts = FontSet::CreatePattern();
  return fonts;
}

MeasurementRow ProfileRow(const std::string& no = "0001") {
  return Row({{0, no}, {1, "遅延"}, {2, "UHF"}, {3, "13"}, {8, "64QAM"}, {14, "30"}, {20, "0"}});
}

// A main path of 0 at index 0 over a floor 50 dB down.
std::vector<std::int16_t> Floor(int n) {
  std::vector<std::int16_t> samples(static_cast<std::size_t>(n), -500);
  samples[0] = 0;
  return samples;
}

struct Shown {
  ScratchFolder folder;
  CProfileScreen screen{Fonts()};
  Surface dc;
  explicit Shown(const std::vector<std::int16_t>& samples) {
    folder.Write("F.001", SampleFile(samples));
    screen.SetData(ProfileRow(), folder.Base());
    screen.Draw(dc);
  }
};

// A key action as the viewer runs it: the change of state, then a whole Draw.
template <typename... Held>
void Press(CProfileScreen& s, Surface& dc, void (CProfileScreen::*action)(Held...), Held... held) {
  (s.*action)(held...);
  s.Draw(dc);
}

std::pair<int, int> WindowOf(const CProfileScreen& s) { return {s.leftDelay, s.rightDelay}; }

TEST(ProfileScreen, FirstWindowLabelsAndMarker) {
  Shown t(Floor(2048));
  const CProfileScreen& s = t.screen;
  EXPECT_EQ(s.fftMode, 1);
  EXPECT_EQ(WindowOf(s), std::pair(-21, 63));
  EXPECT_TRUE(TextAt(t.dc, 25, 179, test::kCell3, "-21"));
  EXPECT_TRUE(TextAt(t.dc, 285, 179, test::kCell3, "63"));
  // Column 65 is 0 µs: "0[us]" under it, the marker on it, the trace up to y 26.
  EXPECT_TRUE(TextAt(t.dc, 88, 179, test::kCell3, "0[us]"));
  EXPECT_EQ(s.cursor, 65);
  EXPECT_TRUE(GlyphAt(t.dc, 94, 11, test::kCell3, 2));
  EXPECT_EQ(CodeAt(t.dc, 94, 11, 14), 0x25BCu & 0x3FFFu);  // ▼
  EXPECT_TRUE(t.dc.IsBlack(100, 26));
  EXPECT_TRUE(t.dc.IsBlack(100, 150));  // the marker's inverted column
  EXPECT_FALSE(t.dc.IsBlack(101, 150));
  for (int j = 0; j < 5; ++j) {
    const std::string label[] = {"  0", "-10", "-20", "-30", "-40"};
    EXPECT_TRUE(TextAt(t.dc, 4, 20 + 30 * j, test::kCell3, label[j])) << j;
  }
  // The readout: 0 µs and the main path's 0 dB.
  EXPECT_TRUE(TextAt(t.dc, 136, 210, test::kCell3, "   0.0[us] D/U:   0.0[dB]"));
  EXPECT_EQ(s.ShowDataName(), "遅延");
  EXPECT_EQ(s.ShowKindName(), "地上デジタル");
}

TEST(ProfileScreen, ZoomInKeepsTheWindowCentre) {
  {
    Shown t(Floor(4096));
    EXPECT_EQ(WindowOf(t.screen), std::pair(-42, 126));
    Press(t.screen, t.dc, &CProfileScreen::ZoomIn);
    EXPECT_EQ(t.screen.zoom, 1);
    EXPECT_EQ(t.screen.position, 2);
    EXPECT_EQ(WindowOf(t.screen), std::pair(0, 84));
    EXPECT_TRUE(TextAt(t.dc, 25, 179, test::kCell3, "0"));
    EXPECT_TRUE(TextAt(t.dc, 285, 179, test::kCell3, "84"));
  }
  {
    Shown t(Floor(2048));
    Press(t.screen, t.dc, &CProfileScreen::ZoomIn);
    EXPECT_EQ(WindowOf(t.screen), std::pair(1, 43));
    EXPECT_EQ(t.screen.cursor, 65);  // the marker keeps its column
  }
}

TEST(ProfileScreen, ZoomAndScrollPositions) {
  Shown t(Floor(2048));
  CProfileScreen& s = t.screen;
  Press(s, t.dc, &CProfileScreen::ScrollLater);  // zoom 0 has a single position
  Press(s, t.dc, &CProfileScreen::ScrollEarlier);
  EXPECT_EQ(s.position, 1);
  Press(s, t.dc, &CProfileScreen::ZoomOut);
  EXPECT_EQ(s.zoom, 0);
  Press(s, t.dc, &CProfileScreen::ZoomIn);
  const int later[] = {3, 4, 4};
  for (int p : later) {
    Press(s, t.dc, &CProfileScreen::ScrollLater);
    EXPECT_EQ(s.position, p);
  }
  EXPECT_EQ(WindowOf(s), std::pair(21, 63));
  const int earlier[] = {3, 2, 1, 0, 0};
  for (int p : earlier) {
    Press(s, t.dc, &CProfileScreen::ScrollEarlier);
    EXPECT_EQ(s.position, p);
  }
  Press(s, t.dc, &CProfileScreen::ZoomIn);  // zoom 2: entry 0 of 0, 2, 4, 6, 8
  EXPECT_EQ(s.position, 0);
  Press(s, t.dc, &CProfileScreen::ScrollEarlier);
  Press(s, t.dc, &CProfileScreen::ScrollEarlier);
  Press(s, t.dc, &CProfileScreen::ScrollEarlier);
  EXPECT_EQ(s.position, -2);
  EXPECT_EQ(WindowOf(s), std::pair(-21, 1));
  Press(s, t.dc, &CProfileScreen::ZoomIn);
  EXPECT_EQ(std::pair(s.zoom, s.position), std::pair(3, -4));
  Press(s, t.dc, &CProfileScreen::ZoomIn);
  EXPECT_EQ(std::pair(s.zoom, s.position), std::pair(3, -4));
  Press(s, t.dc, &CProfileScreen::ZoomOut);
  EXPECT_EQ(std::pair(s.zoom, s.position), std::pair(2, -2));
  Press(s, t.dc, &CProfileScreen::ZoomOut);
  EXPECT_EQ(std::pair(s.zoom, s.position), std::pair(1, 0));
  // The far end: zoom 2 position 9 becomes 17 at zoom 3, which scrolls to 19 and
  // maps back to 9.
  Press(s, t.dc, &CProfileScreen::ZoomIn);
  for (int i = 0; i < 12; ++i) Press(s, t.dc, &CProfileScreen::ScrollLater);
  EXPECT_EQ(std::pair(s.zoom, s.position), std::pair(2, 9));
  Press(s, t.dc, &CProfileScreen::ZoomIn);
  EXPECT_EQ(s.position, 17);
  for (int i = 0; i < 4; ++i) Press(s, t.dc, &CProfileScreen::ScrollLater);
  EXPECT_EQ(s.position, 19);
  EXPECT_EQ(WindowOf(s), std::pair(51, 63));
  Press(s, t.dc, &CProfileScreen::ZoomOut);
  EXPECT_EQ(std::pair(s.zoom, s.position), std::pair(2, 9));
  Press(s, t.dc, &CProfileScreen::ZoomOut);
  Press(s, t.dc, &CProfileScreen::ZoomOut);
  EXPECT_EQ(std::pair(s.zoom, s.position), std::pair(0, 1));
  EXPECT_EQ(WindowOf(s), std::pair(-21, 63));
}

TEST(ProfileScreen, MarkerWrapsAndAccelerates) {
  Shown t(Floor(2048));
  CProfileScreen& s = t.screen;
  s.cursor = 259;
  Press(s, t.dc, &CProfileScreen::CursorRight, 0);
  EXPECT_EQ(s.cursor, 1);
  Press(s, t.dc, &CProfileScreen::CursorLeft, 0);
  EXPECT_EQ(s.cursor, 259);
  // Held one tick: double step; two ticks and more: triple.
  Press(s, t.dc, &CProfileScreen::CursorRight, 1);
  EXPECT_EQ(s.cursor, 4);
  Press(s, t.dc, &CProfileScreen::CursorRight, 2);
  EXPECT_EQ(s.cursor, 13);
  Press(s, t.dc, &CProfileScreen::CursorRight, 7);
  EXPECT_EQ(s.cursor, 22);
  // The marker moved: the old "▼" and its column are gone.
  EXPECT_TRUE(GlyphAt(t.dc, 51, 11, test::kCell3, 2));
  EXPECT_TRUE(t.dc.IsBlack(57, 100));
  EXPECT_FALSE(t.dc.IsBlack(48, 100));
  EXPECT_EQ(CountBlack(t.dc, 36, 11, 50, 25), 0);
  // Base steps: 4 at zoom 2 in the 2048 mode.
  Press(s, t.dc, &CProfileScreen::ZoomIn);
  Press(s, t.dc, &CProfileScreen::ZoomIn);
  Press(s, t.dc, &CProfileScreen::CursorRight, 0);
  EXPECT_EQ(s.cursor, 26);

  Shown mode2(Floor(4096));
  Press(mode2.screen, mode2.dc, &CProfileScreen::CursorRight, 0);
  EXPECT_EQ(mode2.screen.cursor, 66);
  for (int i = 0; i < 3; ++i) Press(mode2.screen, mode2.dc, &CProfileScreen::ZoomIn);
  Press(mode2.screen, mode2.dc, &CProfileScreen::CursorRight, 0);
  EXPECT_EQ(mode2.screen.cursor, 69);
  Shown mode3(Floor(8192));
  Press(mode3.screen, mode3.dc, &CProfileScreen::CursorLeft, 2);
  EXPECT_EQ(mode3.screen.cursor, 62);
}

TEST(ProfileScreen, ReadoutCutsTheDelay) {
  EXPECT_EQ(CProfileScreen::DelayText(12.39f), "  12.3");
  EXPECT_EQ(CProfileScreen::DelayText(-3.25f), "  -3.2");
  EXPECT_EQ(CProfileScreen::DelayText(252.0f), " 252.0");
  EXPECT_EQ(CProfileScreen::RatioText(-55.84), " -55.8");
  EXPECT_EQ(CProfileScreen::RatioText(0.0), "   0.0");

  // An echo 6 dB down at index 100 (12.3 µs) lies in column 104, whose delay
  // 12.6 µs is 12.599998 in single precision and is shown cut as 12.5.
  std::vector<std::int16_t> samples = Floor(2048);
  samples[100] = -60;
  Shown t(samples);
  for (int i = 0; i < 13; ++i) Press(t.screen, t.dc, &CProfileScreen::CursorRight, 0);
  EXPECT_EQ(t.screen.cursor, 104);
  EXPECT_TRUE(TextAt(t.dc, 136, 210, test::kCell3, "  12.5[us] D/U:  -6.0[dB]"));
}

TEST(ProfileScreen, GuardLineOfTheLongestMode) {
  {
    Shown t(Floor(8192));
    EXPECT_EQ(WindowOf(t.screen), std::pair(-84, 252));
    EXPECT_TRUE(t.dc.IsBlack(197, 40));
    EXPECT_FALSE(t.dc.IsBlack(197, 41));
    EXPECT_TRUE(t.dc.IsBlack(197, 150));
    Press(t.screen, t.dc, &CProfileScreen::ZoomIn);  // window 0..168: 35 + 126 x 260 / 168
    EXPECT_TRUE(t.dc.IsBlack(230, 40));
    EXPECT_FALSE(t.dc.IsBlack(197, 40));
    Press(t.screen, t.dc, &CProfileScreen::ZoomIn);  // window 42..126 ends on the guard interval: no line
    EXPECT_EQ(WindowOf(t.screen), std::pair(42, 126));
    EXPECT_EQ(CountBlack(t.dc, 36, 27, 100, 56), 0);  // (x 100: the marker's column)
    EXPECT_EQ(CountBlack(t.dc, 101, 27, 297, 56), 0);
  }
  {
    Shown t(Floor(2048));
    EXPECT_EQ(CountBlack(t.dc, 197, 27, 198, 56), 0);  // between the dotted grid lines
  }
}

TEST(ProfileScreen, MainPathMovesToIndexZero) {
  ScratchFolder folder;
  CProfileScreen s(Fonts());
  {
    std::vector<std::int16_t> samples(2048, -500);
    samples[0] = -100;
    samples[10] = 100;
    samples[11] = 50;
    folder.Write("F.001", SampleFile(samples));
    s.SetData(ProfileRow("0001"), folder.Base());
    EXPECT_EQ(s.peakIndex, 10);
    EXPECT_EQ(s.peakValue, 100);
    EXPECT_EQ(s.samples[0], 100);
    EXPECT_EQ(s.samples[1], 50);
    EXPECT_EQ(s.samples[2], -500);
  }
  {
    // Beyond the first 25 samples the buffer stays as it is.
    std::vector<std::int16_t> samples(2048, -500);
    samples[30] = 100;
    folder.Write("F.002", SampleFile(samples));
    s.SetData(ProfileRow("0002"), folder.Base());
    EXPECT_EQ(s.peakIndex, 30);
    EXPECT_EQ(s.samples[0], -500);
    EXPECT_EQ(s.samples[30], 100);
  }
  {
    // Just before the end (a slightly negative delay): the buffer is rotated so that
    // the peak is sample 0 and every sample keeps its delay relative to it.
    std::vector<std::int16_t> samples(2048, -500);
    samples[2043] = 100;
    samples[2044] = 60;
    samples[0] = -100;
    samples[1] = -200;
    samples[2040] = -300;  // a pre-echo 3 samples before the main path
    folder.Write("F.003", SampleFile(samples));
    s.SetData(ProfileRow("0003"), folder.Base());
    EXPECT_EQ(s.peakIndex, 2043);
    EXPECT_EQ(s.samples[0], 100);
    EXPECT_EQ(s.samples[1], 60);
    EXPECT_EQ(s.samples[4], -500);
    EXPECT_EQ(s.samples[5], -100);
    EXPECT_EQ(s.samples[6], -200);
    EXPECT_EQ(s.samples[2043], -500);
    EXPECT_EQ(s.samples[2047], -500);
    EXPECT_EQ(s.samples[2045], -300);
    EXPECT_EQ(s.peakValue, 100);
    Surface dc;
    s.Draw(dc);
    EXPECT_TRUE(TextAt(dc, 136, 210, test::kCell3, "   0.0[us] D/U:   0.0[dB]"));
  }
  {
    std::vector<std::int16_t> samples(2048, -500);
    samples[2022] = 100;  // N - 26: left alone
    folder.Write("F.004", SampleFile(samples));
    s.SetData(ProfileRow("0004"), folder.Base());
    EXPECT_EQ(s.peakIndex, 2022);
    EXPECT_EQ(s.samples[0], -500);
  }
}

TEST(ProfileScreen, RangeMaximum) {
  Shown t(Floor(2048));
  CProfileScreen& s = t.screen;
  s.samples[5] = -300;
  s.samples[6] = -100;
  s.samples[2047] = -200;
  // From an index to the same index: that one sample, not the whole buffer (whose
  // maximum is the main path at index 0).
  EXPECT_EQ(s.RangeMaximum(5, 5), -300);
  EXPECT_EQ(s.RangeMaximum(5, 6), -300);
  EXPECT_EQ(s.RangeMaximum(5, 7), -100);
  EXPECT_EQ(s.RangeMaximum(2047, 0), -200);
  EXPECT_EQ(s.RangeMaximum(2047, 1), 0);
  EXPECT_EQ(s.RangeMaximum(7, 5), 0);  // wraps through the end
}

TEST(ProfileScreen, NoProfileFromBadFiles) {
  ScratchFolder folder;
  std::string odd = SampleFile(std::vector<std::int16_t>(2048, -500));
  odd[0] = 1;  // length 4097: 2048 samples and one byte more
  odd += '\x55';
  const struct {
    const char* name;
    std::string bytes;
    bool loads;
  } cases[] = {
      {"F.001", SampleFile(std::vector<std::int16_t>(1000, 0)), false},  // no such mode
      {"F.002", SampleFile(std::vector<std::int16_t>(2048, 0)).substr(0, 3000), false},  // short payload
      {"F.003", SampleFile(std::vector<std::int16_t>(2048, 0)) + "x", false},  // longer than announced
      {"F.004", std::string(8, '\0'), false},                                   // a header alone
      {"F.005", "\x01\x02", false},
      {"F.006", odd, true},
      {"F.007", SampleFile(std::vector<std::int16_t>(8192, 0)) + "\x01", false},
  };
  CProfileScreen s(Fonts());
  for (const auto& c : cases) {
    folder.Write(c.name, c.bytes);
    s.SetData(ProfileRow(std::string(c.name).substr(2)), folder.Base());
    EXPECT_EQ(s.sampleBytes != 0, c.loads) << c.name;
  }
  EXPECT_EQ(s.sampleCount, 0);
  // Missing: labels, frame and grid only; the placeholder readout; the keys do nothing.
  s.SetData(ProfileRow("0009"), folder.Base());
  Surface dc;
  s.Draw(dc);
  EXPECT_EQ(CountBlack(dc, 25, 179, 60, 193), 0);
  EXPECT_EQ(CodeAt(dc, 73, 210, 14), 0x9045u & 0x3FFFu);  // 遅
  EXPECT_EQ(CodeAt(dc, 143, 216, 7), unsigned{'-'});  // "-- -" under the line's blanks
  Press(s, dc, &CProfileScreen::CursorRight, 0);
  Press(s, dc, &CProfileScreen::ZoomIn);
  Press(s, dc, &CProfileScreen::ScrollLater);
  EXPECT_EQ(s.cursor, 0);
  EXPECT_EQ(s.zoom, 0);
  EXPECT_EQ(s.position, 1);
}

}  // namespace
}  // namespace rxt4
