// Every key action of the graph screens leaves the screen area exactly as a whole
// Draw of the new state paints it on a fresh surface: nothing of the old picture
// survives and nothing of the new one is missing, through every wrap and limit.

#include <gtest/gtest.h>

#include <set>

#include "GraphTestHelpers.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/screens/ScreenSet.h"

namespace rxt4 {
namespace {

using test::ScratchFolder;

class QuietLoad : public LoadObserver {
 public:
  void FileError(const std::string& message) override { ADD_FAILURE() << message; }
  void CountWarning(const std::string& message) override { ADD_FAILURE() << message; }
};

// Every key with and without シフト.
std::vector<KeyPress> AllPresses() {
  std::vector<KeyPress> presses;
  for (InstrumentKey key : {InstrumentKey::Up, InstrumentKey::Down, InstrumentKey::Left, InstrumentKey::Right,
                            InstrumentKey::Enter})
    for (bool shift : {false, true}) presses.push_back({key, shift, 0});
  return presses;
}

// Presses each key until it has wrapped round (the picture comes back) or stopped at
// a limit (the picture stays), at most 100 times, in two rounds: the second starts at
// the deepest zoom, so scrolling meets its ends there too. ← and → are pressed a
// dozen times with no held ticks and then with 2 until they wrap (the triple step
// wraps the profile marker's 261 columns within the 100 presses in every mode). A key
// the screen does not act on must leave the area as it was. Returns whether any key
// acted.
bool ExpectWholeRedraws(ScreenSet& screens, const std::string& what) {
  // Buffers are reused: a new 230 KB surface per press would cost more than the drawing.
  const Surface blank;
  Surface dc = blank, fresh = blank;
  std::vector<std::uint8_t> start, before;
  screens.Paint(dc);
  bool acted = false;
  for (int round = 0; round < 2; ++round)
    for (KeyPress press : AllPresses()) {
      const bool arrow = press.key == InstrumentKey::Left || press.key == InstrumentKey::Right;
      for (int held : arrow ? std::vector<int>{0, 2} : std::vector<int>{0}) {
        press.heldTicks = held;
        const int most = arrow && held == 0 ? 12 : 100;
        start = dc.pixels();
        for (int i = 0; i < most; ++i) {
          before = dc.pixels();
          if (screens.PressKey(press, dc) != KeyOutcome::Changed) {
            EXPECT_TRUE(dc.pixels() == before) << what;
            break;
          }
          acted = true;
          fresh = blank;
          screens.Paint(fresh);
          if (dc.pixels() != fresh.pixels()) {
            ADD_FAILURE() << what << ": key " << static_cast<int>(press.key) << (press.shift ? " with shift" : "")
                          << ", held " << held << ", round " << round << ", press " << i + 1;
            dc = fresh;  // one report per key
            break;
          }
          if (dc.pixels() == before || dc.pixels() == start) break;
        }
      }
    }
  return acted;
}

TEST(KeyRepaint, EveryGraphKeyLeavesWhatAWholeDrawShows) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteDemoFolder(folder.path() / "RXT4"));
  DataFolderModel model;
  QuietLoad observer;
  model.Load(folder.path() / "RXT4", observer);
  ScreenSet screens(FontSet::CreatePattern());
  std::set<DataKind> seen;
  // Set folder 0412 holds every kind of graph of the demonstration data: the three
  // delay profile modes, the spectrum layouts, the multi-channel bands.
  for (int n = 1; n <= model.itemCount(); ++n) {
    const CDataSet* record = model.Record(n);
    if (record == nullptr || record->kind == DataKind::None || model.Label(model.Parent(n)) != "0412") continue;
    ASSERT_NE(screens.Select(*record), nullptr);
    if (ExpectWholeRedraws(screens, model.Label(n))) seen.insert(record->kind);
  }
  EXPECT_EQ(seen, (std::set<DataKind>{DataKind::Multi, DataKind::Spectrum, DataKind::Profile}));

  // A spectrum or profile without its companion file: the keys change nothing, and
  // nothing is left behind either.
  for (DataKind kind : {DataKind::Spectrum, DataKind::Profile}) {
    ASSERT_NE(screens.Select(test::Record(kind, test::Row({{0, "0009"}, {20, "0"}}), (folder.path() / "NONE.CSV").string())),
              nullptr);
    ExpectWholeRedraws(screens, "no companion file");
  }
}

}  // namespace
}  // namespace rxt4
