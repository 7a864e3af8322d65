#include <gtest/gtest.h>

#include "GraphTestHelpers.h"
#include "rxt4/screens/KeyRouting.h"
#include "rxt4/screens/MultiScreen.h"
#include "rxt4/screens/ProfileScreen.h"
#include "rxt4/screens/ScreenSet.h"
#include "rxt4/screens/SpectrumScreen.h"

namespace rxt4 {
namespace {

using test::Row;
using test::SampleFile;
using test::ScratchFolder;
using A = KeyAction;
using K = InstrumentKey;

struct Case {
  K key;
  bool shift;
  DataKind shown;
  A action;
  int treeKey;
};

TEST(KeyRouting, RouteTable) {
  const Case cases[] = {
      // ↓ and ↑ without シフト always move the tree selection.
      {K::Down, false, DataKind::Multi, A::TreeKey, 40},
      {K::Down, false, DataKind::Spectrum, A::TreeKey, 40},
      {K::Down, false, DataKind::Profile, A::TreeKey, 40},
      {K::Down, false, DataKind::Level, A::TreeKey, 40},
      {K::Down, false, DataKind::None, A::TreeKey, 40},
      {K::Up, false, DataKind::Constellation, A::TreeKey, 38},
      {K::Up, false, DataKind::None, A::TreeKey, 38},
      // With シフト they shift the multi-channel range or scroll the delay profile.
      {K::Down, true, DataKind::Multi, A::MultiRangeDown, 0},
      {K::Up, true, DataKind::Multi, A::MultiRangeUp, 0},
      {K::Down, true, DataKind::Profile, A::ProfileScrollEarlier, 0},
      {K::Up, true, DataKind::Profile, A::ProfileScrollLater, 0},
      {K::Down, true, DataKind::Spectrum, A::None, 0},
      {K::Up, true, DataKind::Sky, A::None, 0},
      {K::Up, true, DataKind::None, A::None, 0},
      // ← and →.
      {K::Left, false, DataKind::Multi, A::MultiCursorLeft, 0},
      {K::Right, false, DataKind::Multi, A::MultiCursorRight, 0},
      {K::Left, true, DataKind::Multi, A::MultiScaleCoarser, 0},
      {K::Right, true, DataKind::Multi, A::MultiScaleFiner, 0},
      {K::Left, false, DataKind::Spectrum, A::None, 0},
      {K::Right, false, DataKind::Spectrum, A::None, 0},
      {K::Left, true, DataKind::Spectrum, A::SpectrumPreviousRange, 0},
      {K::Right, true, DataKind::Spectrum, A::SpectrumNextRange, 0},
      {K::Left, false, DataKind::Profile, A::ProfileCursorLeft, 0},
      {K::Right, false, DataKind::Profile, A::ProfileCursorRight, 0},
      {K::Left, true, DataKind::Profile, A::ProfileZoomOut, 0},
      {K::Right, true, DataKind::Profile, A::ProfileZoomIn, 0},
      {K::Left, false, DataKind::Level, A::None, 0},
      {K::Right, false, DataKind::Ber, A::None, 0},
      {K::Right, true, DataKind::Sky, A::None, 0},
      {K::Left, true, DataKind::Constellation, A::None, 0},
      {K::Left, false, DataKind::None, A::TreeKey, 37},
      {K::Right, false, DataKind::None, A::TreeKey, 39},
      {K::Left, true, DataKind::None, A::None, 0},
      {K::Right, true, DataKind::None, A::None, 0},
      // 決定 sets the multi-channel reference and nothing else, シフト or not.
      {K::Enter, false, DataKind::Multi, A::MultiToggleReference, 0},
      {K::Enter, true, DataKind::Multi, A::MultiToggleReference, 0},
      {K::Enter, false, DataKind::Profile, A::None, 0},
      {K::Enter, false, DataKind::None, A::None, 0},
  };
  for (const Case& c : cases) {
    const KeyRoute route = Route(c.key, c.shift, c.shown);
    EXPECT_EQ(route.action, c.action) << static_cast<int>(c.key) << c.shift << static_cast<int>(c.shown);
    EXPECT_EQ(route.treeVirtualKey, c.treeKey) << static_cast<int>(c.key) << c.shift << static_cast<int>(c.shown);
  }
  EXPECT_TRUE(TakesHeldTicks(A::ProfileCursorLeft));
  EXPECT_TRUE(TakesHeldTicks(A::ProfileCursorRight));
  EXPECT_FALSE(TakesHeldTicks(A::MultiCursorRight));
}

TEST(KeyRouting, KeyNames) {
  bool shift = true;
  EXPECT_EQ(ParseKeyName("LEFT", &shift), K::Left);
  EXPECT_FALSE(shift);
  EXPECT_EQ(ParseKeyName("shift+right", &shift), K::Right);
  EXPECT_TRUE(shift);
  EXPECT_EQ(ParseKeyName("Up", &shift), K::Up);
  EXPECT_EQ(ParseKeyName("SHIFT+DOWN", &shift), K::Down);
  EXPECT_EQ(ParseKeyName("ENTER", &shift), K::Enter);
  for (const char* bad : {"", "SHIFT+", "SHIFT", "LEFTX", " LEFT", "SHIFT+SHIFT+UP", "CTRL+UP", "決定"})
    EXPECT_FALSE(ParseKeyName(bad, &shift).has_value()) << bad;
}

TEST(KeyRouting, ApplyRunsTheShownScreensActions) {
  ScratchFolder folder;
  ScreenSet screens(FontSet::CreatePattern());
  Surface dc;
  // Multi-channel: 3 channels, cursor on 1.
  std::vector<MeasurementRow> rows;
  for (int ch = 1; ch <= 3; ++ch)
    rows.push_back(Row({{0, "001"}, {3, std::to_string(ch)}, {6, "70.0"}, {17, "VU/CATV"}, {18, "1"}, {19, "3"}}));
  ASSERT_NE(screens.SelectRows(rows), nullptr);
  auto* multi = dynamic_cast<CMultiScreen*>(screens.Current());
  ASSERT_NE(multi, nullptr);
  screens.Paint(dc);
  EXPECT_TRUE(Apply(Route(K::Left, false, screens.currentKind()).action, screens, dc));
  EXPECT_EQ(multi->cursorChannel, 3);
  EXPECT_TRUE(Apply(Route(K::Enter, false, screens.currentKind()).action, screens, dc));
  EXPECT_EQ(multi->referenceChannel, 3);
  EXPECT_TRUE(Apply(Route(K::Down, true, screens.currentKind()).action, screens, dc));
  EXPECT_EQ(multi->bottomLevel, 52);
  EXPECT_FALSE(Apply(A::TreeKey, screens, dc));
  EXPECT_FALSE(Apply(A::None, screens, dc));

  // Delay profile through a tree record: the companion base comes from the table path.
  std::vector<std::int16_t> samples(2048, -500);
  samples[0] = 0;
  folder.Write("F.001", SampleFile(samples));
  CDataSet record;
  record.kind = DataKind::Profile;
  record.row = Row({{0, "0001"}, {20, "0"}});
  record.table = std::make_shared<DataSetTable>(DataSetTable{(folder.path() / "F.CSV").string(), "1"});
  ASSERT_NE(screens.Select(record), nullptr);
  auto* profile = dynamic_cast<CProfileScreen*>(screens.Current());
  ASSERT_NE(profile, nullptr);
  EXPECT_EQ(profile->fftMode, 1);
  screens.Paint(dc);
  EXPECT_EQ(profile->cursor, 65);
  EXPECT_TRUE(Apply(A::ProfileCursorRight, screens, dc, 2));
  EXPECT_EQ(profile->cursor, 74);
  EXPECT_TRUE(Apply(Route(K::Right, true, DataKind::Profile).action, screens, dc));
  EXPECT_EQ(profile->zoom, 1);

  // Spectrum: the range keys only.
  folder.Write("G.001", SampleFile(std::vector<std::int16_t>(234, 0)));
  ASSERT_NE(screens.Select(DataKind::Spectrum, Row({{0, "0001"}, {20, "0"}}), (folder.path() / "G.CSV").string()), nullptr);
  auto* spectrum = dynamic_cast<CSpectrumScreen*>(screens.Current());
  ASSERT_NE(spectrum, nullptr);
  EXPECT_EQ(spectrum->sampleBytes, 468u);
  EXPECT_EQ(Route(K::Right, false, screens.currentKind()).action, A::None);
  EXPECT_TRUE(Apply(Route(K::Right, true, screens.currentKind()).action, screens, dc));
  EXPECT_EQ(spectrum->scaleIndex, 3);
}

}  // namespace
}  // namespace rxt4
