// The instrument keys through ScreenSet::PressKey: on each screen (and with none
// shown), what every key does with シフト and without, seen in what the screen then
// shows, and whether the key went to the tree instead.

#include <gtest/gtest.h>

#include "GraphTestHelpers.h"
#include "rxt4/screens/MultiScreen.h"
#include "rxt4/screens/ProfileScreen.h"
#include "rxt4/screens/ScreenSet.h"
#include "rxt4/screens/SpectrumScreen.h"

namespace rxt4 {
namespace {

using test::Row;
using K = InstrumentKey;
using O = KeyOutcome;

// One of each kind of record, the graph screens' companion files beside their table.
class Records {
 public:
  Records() {
    std::vector<std::int16_t> profile(2048, -500);  // FFT mode 1, main path at sample 0
    profile[0] = 0;
    folder_.Write("F.001", test::SampleFile(profile));
    folder_.Write("F.002", test::SampleFile(std::vector<std::int16_t>(234, 0)));
  }

  CDataSet Of(DataKind kind) const {
    const std::string table = (folder_.path() / "F.CSV").string();
    switch (kind) {
      case DataKind::Multi: {
        // VU/CATV, 4 dB per division, range 84..116 (one step down), cursor on channel 1 of 3.
        std::vector<MeasurementRow> rows;
        for (int ch = 1; ch <= 3; ++ch)
          rows.push_back(Row({{3, std::to_string(ch)}, {6, "70.0"}, {15, "1"}, {16, "1"}, {17, "VU/CATV"},
                              {18, "1"}, {19, "3"}}));
        return test::MultiRecord(rows);
      }
      case DataKind::Profile: return test::Record(kind, Row({{0, "0001"}, {20, "0"}}), table);
      case DataKind::Spectrum: return test::Record(kind, Row({{0, "0002"}, {20, "0"}}), table);
      case DataKind::None: return CDataSet();
      default: return test::Record(kind, Row({{0, "0003"}, {20, "0"}, {6, "60.0"}}), table);
    }
  }

 private:
  test::ScratchFolder folder_;
};

const CMultiScreen& Multi(const ScreenSet& s) { return *dynamic_cast<const CMultiScreen*>(s.Current()); }
const CProfileScreen& Profile(const ScreenSet& s) { return *dynamic_cast<const CProfileScreen*>(s.Current()); }

int MultiCursor(const ScreenSet& s) { return Multi(s).cursorChannel; }
int MultiReference(const ScreenSet& s) { return Multi(s).referenceChannel; }
int MultiBottom(const ScreenSet& s) { return Multi(s).bottomLevel; }
int MultiTop(const ScreenSet& s) { return Multi(s).topLevel; }
int SpectrumRange(const ScreenSet& s) { return dynamic_cast<const CSpectrumScreen*>(s.Current())->scaleIndex; }
int ProfileMarker(const ScreenSet& s) { return Profile(s).cursor; }
int ProfileZoom(const ScreenSet& s) { return Profile(s).zoom; }
int ProfilePosition(const ScreenSet& s) { return Profile(s).position; }

struct Case {
  DataKind shown;
  K key;
  bool shift;
  int heldTicks;
  O outcome;
  int (*observe)(const ScreenSet&);  // what the screen shows afterwards (Changed only)
  int expected;
  bool zoomedIn = false;  // シフト + → pressed first
};

TEST(InstrumentKeys, WhatEachKeyDoesOnEachScreen) {
  const Case cases[] = {
      // Multi-channel: ← → move the cursor (wrapping); with シフト ↑ ↓ shift the range
      // by half a screen and ← → double or halve the dB per division around its centre;
      // 決定 sets the reference, シフト or not.
      {DataKind::Multi, K::Left, false, 0, O::Changed, MultiCursor, 3},
      {DataKind::Multi, K::Right, false, 0, O::Changed, MultiCursor, 2},
      {DataKind::Multi, K::Up, true, 0, O::Changed, MultiBottom, 100},
      {DataKind::Multi, K::Down, true, 0, O::Changed, MultiBottom, 68},
      {DataKind::Multi, K::Left, true, 0, O::Changed, MultiTop, 132},
      {DataKind::Multi, K::Right, true, 0, O::Changed, MultiTop, 108},
      {DataKind::Multi, K::Enter, false, 0, O::Changed, MultiReference, 1},
      {DataKind::Multi, K::Enter, true, 0, O::Changed, MultiReference, 1},
      {DataKind::Multi, K::Up, false, 0, O::Tree, nullptr, 0},
      {DataKind::Multi, K::Down, false, 0, O::Tree, nullptr, 0},
      // Spectrum: only シフト + ← → step the level range (2 at first).
      {DataKind::Spectrum, K::Right, true, 0, O::Changed, SpectrumRange, 3},
      {DataKind::Spectrum, K::Left, true, 0, O::Changed, SpectrumRange, 1},
      {DataKind::Spectrum, K::Left, false, 0, O::Nothing, nullptr, 0},
      {DataKind::Spectrum, K::Right, false, 0, O::Nothing, nullptr, 0},
      {DataKind::Spectrum, K::Up, true, 0, O::Nothing, nullptr, 0},
      {DataKind::Spectrum, K::Down, true, 0, O::Nothing, nullptr, 0},
      {DataKind::Spectrum, K::Enter, false, 0, O::Nothing, nullptr, 0},
      {DataKind::Spectrum, K::Down, false, 0, O::Tree, nullptr, 0},
      // Delay profile: ← → move the marker (3 columns in FFT mode 1 at zoom 0, from the
      // 0 µs column 65; three times as far after two held ticks); with シフト ← →
      // zoom, ↓ ↑ scroll (zoomed in to 42 µs from position 2, in steps of 11 µs).
      {DataKind::Profile, K::Right, false, 0, O::Changed, ProfileMarker, 68},
      {DataKind::Profile, K::Right, false, 2, O::Changed, ProfileMarker, 74},
      {DataKind::Profile, K::Left, false, 1, O::Changed, ProfileMarker, 59},
      {DataKind::Profile, K::Right, true, 0, O::Changed, ProfileZoom, 1},
      {DataKind::Profile, K::Left, true, 0, O::Changed, ProfileZoom, 0, true},
      {DataKind::Profile, K::Down, true, 0, O::Changed, ProfilePosition, 1, true},
      {DataKind::Profile, K::Up, true, 0, O::Changed, ProfilePosition, 3, true},
      {DataKind::Profile, K::Enter, false, 0, O::Nothing, nullptr, 0},
      {DataKind::Profile, K::Up, false, 0, O::Tree, nullptr, 0},
      // The text screens and the constellation: ↑ ↓ move the tree, nothing else acts.
      {DataKind::Level, K::Down, false, 0, O::Tree, nullptr, 0},
      {DataKind::Ber, K::Up, false, 0, O::Tree, nullptr, 0},
      {DataKind::Sky, K::Up, true, 0, O::Nothing, nullptr, 0},
      {DataKind::Constellation, K::Left, false, 0, O::Nothing, nullptr, 0},
      {DataKind::Level, K::Right, true, 0, O::Nothing, nullptr, 0},
      {DataKind::Ber, K::Enter, false, 0, O::Nothing, nullptr, 0},
      // Nothing shown: the arrows without シフト are the tree's (← → fold and unfold).
      {DataKind::None, K::Left, false, 0, O::Tree, nullptr, 0},
      {DataKind::None, K::Right, false, 0, O::Tree, nullptr, 0},
      {DataKind::None, K::Down, false, 0, O::Tree, nullptr, 0},
      {DataKind::None, K::Left, true, 0, O::Nothing, nullptr, 0},
      {DataKind::None, K::Up, true, 0, O::Nothing, nullptr, 0},
      {DataKind::None, K::Enter, false, 0, O::Nothing, nullptr, 0},
  };
  const Records records;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(c.shown) << " key " << static_cast<int>(c.key)
                                    << (c.shift ? " with shift" : "") << " held " << c.heldTicks);
    ScreenSet screens(FontSet::CreatePattern());  // fresh: the spectrum keeps its range across records
    screens.Select(records.Of(c.shown));
    Surface dc;
    screens.Paint(dc);
    if (c.zoomedIn) screens.PressKey({K::Right, true, 0}, dc);
    const Surface before = dc;
    EXPECT_EQ(screens.PressKey({c.key, c.shift, c.heldTicks}, dc), c.outcome);
    if (c.observe != nullptr) {
      EXPECT_EQ(c.observe(screens), c.expected);
      EXPECT_FALSE(dc.pixels() == before.pixels());  // and the area shows it
    } else {
      EXPECT_TRUE(dc.pixels() == before.pixels());
    }
  }
}

TEST(InstrumentKeys, KeyNames) {
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

}  // namespace
}  // namespace rxt4
