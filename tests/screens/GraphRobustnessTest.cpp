// Hostile input for the graph screens: companion files of random lengths and contents
// (including valid headers over extreme samples) and multi-channel tables with odd
// control columns, each drawn and put through every key action. The checks are that
// nothing faults (the sanitizer build watches the reads and writes) and that the
// screen area keeps its size.

#include <gtest/gtest.h>

#include "../common/HostileFiles.h"
#include "GraphTestHelpers.h"
#include "rxt4/screens/ConstelScreen.h"
#include "rxt4/screens/MultiScreen.h"
#include "rxt4/screens/ProfileScreen.h"
#include "rxt4/screens/ScreenSet.h"
#include "rxt4/screens/SpectrumScreen.h"

namespace rxt4 {
namespace {

using test::Row;
using test::ScratchFolder;

class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint32_t state_;
};

// Sample files: a valid length for one of the modes (or a near miss), random or
// extreme samples, sometimes cut or extended.
std::string RandomSampleFile(Random& r) {
  static const int kCounts[] = {0, 1, 36, 234, 257, 258, 1872, 1972, 2000, 2048, 4096, 8192, 8193};
  const int n = kCounts[r.Below(13)];
  std::vector<std::int16_t> samples(static_cast<std::size_t>(n));
  const int style = r.Below(4);
  for (auto& s : samples) {
    const std::uint32_t v = r.Next();
    s = style == 0 ? static_cast<std::int16_t>(v) : style == 1 ? static_cast<std::int16_t>(v & 1 ? 32767 : -32768)
                                                              : static_cast<std::int16_t>(-500 + static_cast<int>(v % 600));
  }
  if (n > 0 && style == 3) samples[static_cast<std::size_t>(n - 1 - r.Below(std::min(n, 30)))] = 32767;
  std::string file = test::SampleFile(samples);
  switch (r.Below(5)) {
    case 0: file.resize(static_cast<std::size_t>(r.Below(static_cast<int>(file.size()) + 1))); break;
    case 1: file += std::string(static_cast<std::size_t>(r.Below(4) + 1), '\x7F'); break;
    case 2: file[static_cast<std::size_t>(r.Below(4))] = static_cast<char>(r.Next()); break;
    default: break;
  }
  return file;
}

// Random keys, シフト or not, held from -1 to 3 ticks.
void PressRandomKeys(Random& r, ScreenSet& screens, Surface& dc, int presses) {
  constexpr InstrumentKey kKeys[] = {InstrumentKey::Up, InstrumentKey::Down, InstrumentKey::Left, InstrumentKey::Right,
                                     InstrumentKey::Enter};
  for (int i = 0; i < presses; ++i)
    screens.PressKey({kKeys[r.Below(5)], r.Below(2) == 1, r.Below(5) - 1}, dc);
}

TEST(GraphRobustness, RandomCompanionFiles) {
  ScratchFolder folder;
  Random r(0x6A09E667u);
  ScreenSet screens(FontSet::CreatePattern());
  Surface dc;
  for (int i = 0; i < 150; ++i) {
    folder.Write("F.001", RandomSampleFile(r));
    std::string picture(static_cast<std::size_t>(r.Below(6000)), '\0');
    for (char& c : picture) c = static_cast<char>(r.Next());
    folder.Write("F.002", picture);
    const std::string table = (folder.path() / "F.CSV").string();
    const DataKind kinds[] = {DataKind::Spectrum, DataKind::Profile, DataKind::Constellation};
    for (DataKind kind : kinds) {
      const std::string no = kind == DataKind::Constellation ? "0002" : "0001";
      const std::string type = std::to_string(r.Below(14) - 1);
      ASSERT_NE(screens.Select(test::Record(kind, Row({{0, no}, {20, type}, {5, "1e300"}, {22, "nan"}}), table)), nullptr);
      screens.Paint(dc);
      PressRandomKeys(r, screens, dc, 40);
    }
  }
  EXPECT_EQ(dc.width(), Surface::kScreenAreaWidth);
}

TEST(GraphRobustness, CompanionFilesThatAreNoRegularFilesOrHugeGiveNoData) {
  ScratchFolder folder;
  const auto fonts = FontSet::CreatePattern();
  for (test::Hostile kind : test::kHostileFiles) {
    SCOPED_TRACE(test::HostileName(kind));
    test::MakeHostile(kind, folder.path() / "F.001");
    const MeasurementRow row = Row({{0, "0001"}, {20, "0"}});
    CSpectrumScreen spectrum(fonts);
    spectrum.SetData(row, folder.Base());
    EXPECT_EQ(spectrum.sampleBytes, 0u);
    CProfileScreen profile(fonts);
    profile.SetData(row, folder.Base());
    EXPECT_EQ(profile.sampleBytes, 0u);
    // The constellation draws as without its file.
    CConstelScreen constel(fonts);
    Surface withFile, without;
    constel.SetData(row, folder.Base());
    constel.Draw(withFile);
    constel.SetData(row, (folder.path() / "none.").string());
    constel.Draw(without);
    EXPECT_TRUE(withFile.pixels() == without.pixels());
  }
}

TEST(GraphRobustness, OddMultiChannelTables) {
  Random r(0xBB67AE85u);
  ScreenSet screens(FontSet::CreatePattern());
  Surface dc;
  const char* const kNumbers[] = {"", "0", "1", "-1", "59", "60", "99999999999999999999", "-2147483648", "x", "F", "12"};
  const char* const kLevels[] = {"---.-", "___._", "~~~.~", "1e308", "-1e308", "nan", "inf", "70.0", "", "120.0"};
  for (int i = 0; i < 200; ++i) {
    std::vector<MeasurementRow> rows;
    const int count = r.Below(75);
    for (int ch = 0; ch < count; ++ch) {
      if (r.Below(10) == 0) {
        rows.emplace_back();  // an absent row
        continue;
      }
      rows.push_back(Row({{6, kLevels[r.Below(10)]},
                          {15, kNumbers[r.Below(11)]},
                          {16, kNumbers[r.Below(11)]},
                          {17, r.Below(2) ? "VU/CATV" : "BS"},
                          {18, kNumbers[r.Below(11)]},
                          {19, kNumbers[r.Below(11)]}}));
    }
    screens.Select(test::MultiRecord(rows));
    screens.Paint(dc);
    PressRandomKeys(r, screens, dc, 40);
    auto* multi = dynamic_cast<CMultiScreen*>(screens.Current());
    ASSERT_NE(multi, nullptr);
    EXPECT_LE(multi->TableChannels(), CMultiScreen::kMaxChannels);
  }
}

}  // namespace
}  // namespace rxt4
