#include <gtest/gtest.h>

#include "GraphTestHelpers.h"
#include "rxt4/screens/SpectrumScreen.h"

namespace rxt4 {
namespace {

using test::AllWhite;
using test::CountBlack;
using test::Row;
using test::SampleFile;
using test::ScratchFolder;
using test::TextAt;

std::shared_ptr<const FontSet> Fonts() {
  static const std::shared_ptr<const FontSet> fonts = FontSet::CreatePattern();
  return fonts;
}

MeasurementRow SpectrumRow(const std::string& no = "0001", const std::string& type = "0") {
  return Row({{0, no}, {1, "13ch"}, {2, "UHF"}, {3, "13"}, {5, "473.143"}, {8, "OFDM"}, {14, "30"}, {20, type}});
}

// A screen showing the given samples from F.001 of a scratch folder.
struct Shown {
  ScratchFolder folder;
  CSpectrumScreen screen{Fonts()};
  Surface dc;
  explicit Shown(const std::vector<std::int16_t>& samples) {
    folder.Write("F.001", SampleFile(samples));
    screen.SetData(SpectrumRow(), folder.Base());
    screen.Draw(dc);
  }
};

TEST(SpectrumScreen, FrequencyLabels) {
  CSpectrumScreen s(Fonts());
  s.SetData(SpectrumRow(), "");
  EXPECT_EQ(s.lowFrequencyText, "470.50");
  EXPECT_EQ(s.centreFrequencyText, "473.28");
  EXPECT_EQ(s.highFrequencyText, "476.07");
  EXPECT_EQ(s.ShowKindName(), "地上デジタル");
  EXPECT_EQ(s.ShowDataName(), "13ch");
  Surface dc;
  s.Draw(dc);
  EXPECT_TRUE(TextAt(dc, 35, 186, test::kCell3, "470.50"));
  EXPECT_TRUE(TextAt(dc, 253, 186, test::kCell3, "476.07"));  // ends at 295
  EXPECT_TRUE(TextAt(dc, 144, 186, test::kCell3, "473.28"));  // centred on 165
  s.SetData(SpectrumRow("0001", "7"), "");
  EXPECT_EQ(s.ShowKindName(), "ＶＵ・ＣＡＴＶ");
  s.SetData(SpectrumRow("0001", "1"), "");
  EXPECT_EQ(s.ShowKindName(), " ");
}

TEST(SpectrumScreen, TraceLayouts) {
  {
    // 234 samples: x 46 to 280, vertical lines at both ends from y 16.
    Shown t(std::vector<std::int16_t>(234, 0));
    for (int x : {46, 280}) {
      EXPECT_TRUE(t.dc.IsBlack(x, 16)) << x;
      EXPECT_TRUE(t.dc.IsBlack(x, 181)) << x;
    }
    EXPECT_FALSE(t.dc.IsBlack(45, 16));
    EXPECT_FALSE(t.dc.IsBlack(281, 16));
    EXPECT_EQ(CountBlack(t.dc, 47, 102, 280, 103), 233);  // flat at the centre line
  }
  {
    // 36 samples: x 55 to 271 in steps of 6; alternate samples at 0 and +50 (y 62).
    std::vector<std::int16_t> samples(36, 0);
    for (std::size_t i = 1; i < samples.size(); i += 2) samples[i] = 50;
    Shown t(samples);
    EXPECT_TRUE(t.dc.IsBlack(55, 16));
    EXPECT_TRUE(t.dc.IsBlack(271, 16));
    EXPECT_FALSE(t.dc.IsBlack(272, 16));
    EXPECT_TRUE(t.dc.IsBlack(61, 102));  // the first segment is flat at sample 0
    EXPECT_TRUE(t.dc.IsBlack(67, 62));   // sample 1 reached after the second step
    EXPECT_TRUE(t.dc.IsBlack(73, 102));
  }
  {
    // 1872 samples: every 8th is used (all at +100, the top line); the others
    // (-100, the bottom line) never show.
    std::vector<std::int16_t> samples(1872, -100);
    for (std::size_t i = 0; i < samples.size(); i += 8) samples[i] = 100;
    Shown t(samples);
    EXPECT_TRUE(t.dc.IsBlack(46, 16));
    EXPECT_TRUE(t.dc.IsBlack(280, 16));
    // (Rows 62, 102 and 142 hold the dotted grid, x 165 the centre line.)
    for (const auto& [top, bottom] : {std::pair{23, 62}, {63, 102}, {103, 142}, {143, 182}}) {
      EXPECT_EQ(CountBlack(t.dc, 47, top, 165, bottom), 0) << top;
      EXPECT_EQ(CountBlack(t.dc, 166, top, 280, bottom), 0) << top;
    }
  }
  {
    // 300 samples fit no layout: grid and centre line, no trace.
    Shown t(std::vector<std::int16_t>(300, 50));
    EXPECT_EQ(t.screen.sampleBytes, 600u);
    EXPECT_EQ(CountBlack(t.dc, 36, 23, 165, 62), 0);
    EXPECT_EQ(CountBlack(t.dc, 166, 23, 295, 62), 0);
    EXPECT_TRUE(t.dc.IsBlack(165, 24));
  }
}

TEST(SpectrumScreen, LevelsAreLimitedToThePlot) {
  // Nine samples, one pixel each from x 159 to 168. 100 lies on the top line and 125
  // is drawn there too: nothing above it, nothing below it.
  {
    Shown t({100, 125, 100, 125, 100, 125, 100, 125, 100});
    for (int x = 160; x < 165; ++x) EXPECT_TRUE(t.dc.IsBlack(x, 22)) << x;
    EXPECT_EQ(CountBlack(t.dc, 160, 16, 165, 22), 0);
    EXPECT_EQ(CountBlack(t.dc, 160, 23, 165, 62), 0);
  }
  {
    Shown t(std::vector<std::int16_t>(9, -125));
    EXPECT_EQ(CountBlack(t.dc, 160, 143, 165, 182), 0);
    EXPECT_EQ(CountBlack(t.dc, 160, 183, 165, 186), 0);
    EXPECT_EQ(CountBlack(t.dc, 160, 23, 165, 62), 0);
  }
}

TEST(SpectrumScreen, RangesWrapAndRescaleThePlot) {
  Shown t(std::vector<std::int16_t>(234, 50));
  CSpectrumScreen& s = t.screen;
  Surface& dc = t.dc;
  EXPECT_EQ(s.scaleIndex, 2);
  EXPECT_TRUE(TextAt(dc, 10, 16, test::kCell3, " 10"));
  EXPECT_TRUE(TextAt(dc, 297, 176, test::kCell3, "-10"));
  EXPECT_TRUE(dc.IsBlack(100, 62));  // +5 dB at 0.8 pixels per unit
  s.NextRange();
  s.Draw(dc);
  EXPECT_EQ(s.scaleIndex, 3);
  for (int x : {10, 297}) {
    EXPECT_TRUE(TextAt(dc, x, 16, test::kCell3, " 20"));
    EXPECT_TRUE(TextAt(dc, x, 176, test::kCell3, "-20"));
    EXPECT_TRUE(TextAt(dc, x, 96, test::kCell3, "  0"));
  }
  EXPECT_TRUE(dc.IsBlack(100, 82));
  s.NextRange();
  s.Draw(dc);
  EXPECT_EQ(s.scaleIndex, 0);
  EXPECT_TRUE(TextAt(dc, 10, 16, test::kCell3, "  2"));
  EXPECT_TRUE(TextAt(dc, 10, 176, test::kCell3, " -2"));
  EXPECT_TRUE(dc.IsBlack(100, 22));  // +5 dB is off the ±2 dB plot
  s.PreviousRange();
  EXPECT_EQ(s.scaleIndex, 3);
  s.PreviousRange();
  EXPECT_EQ(s.scaleIndex, 2);
  s.PreviousRange();
  s.Draw(dc);
  EXPECT_EQ(s.scaleIndex, 1);
  EXPECT_TRUE(TextAt(dc, 10, 16, test::kCell3, "  5"));
  // The range is kept across data sets.
  s.SetData(SpectrumRow(), t.folder.Base());
  EXPECT_EQ(s.scaleIndex, 1);
}

TEST(SpectrumScreen, MissingShortAndOverLongFiles) {
  ScratchFolder folder;
  CSpectrumScreen s(Fonts());
  Surface dc;
  // Missing: no trace, no centre line, the range keys do nothing.
  s.SetData(SpectrumRow("0005"), folder.Base());
  EXPECT_EQ(s.sampleBytes, 0u);
  s.Draw(dc);
  EXPECT_FALSE(dc.IsBlack(165, 24));
  s.NextRange();
  EXPECT_EQ(s.scaleIndex, 2);
  // A header shorter than 8 bytes.
  folder.Write("F.002", std::string(5, '\x10'));
  s.SetData(SpectrumRow("0002"), folder.Base());
  EXPECT_EQ(s.sampleBytes, 0u);
  // A header alone: a trace of no samples, nothing read past the file.
  folder.Write("F.003", SampleFile({}));
  s.SetData(SpectrumRow("0003"), folder.Base());
  EXPECT_EQ(s.sampleBytes, 0u);
  // More payload than the buffer holds: only the buffer's worth (no trace).
  folder.Write("F.004", SampleFile(std::vector<std::int16_t>(5000, 7)));
  s.SetData(SpectrumRow("0004"), folder.Base());
  EXPECT_EQ(s.sampleBytes, 1972u * 2);
  s.Draw(dc);
  EXPECT_EQ(CountBlack(dc, 36, 23, 165, 62), 0);
  // An odd payload length: the last byte is not a sample.
  std::string odd = SampleFile({300, 300, 300});
  odd += '\x7F';
  folder.Write("F.006", odd);
  s.SetData(SpectrumRow("0006"), folder.Base());
  EXPECT_EQ(s.sampleBytes, 7u);
  EXPECT_EQ(s.Sample(2), 300);
}

}  // namespace
}  // namespace rxt4
