// Every key action of the graph screens leaves the screen area exactly as a whole
// Draw of the new state paints it on a fresh surface: nothing of the old picture
// survives and nothing of the new one is missing, through every wrap and limit.

#include <gtest/gtest.h>

#include <set>

#include "GraphTestHelpers.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/screens/KeyRouting.h"
#include "rxt4/screens/ScreenSet.h"

namespace rxt4 {
namespace {

using test::ScratchFolder;

class QuietLoad : public LoadObserver {
 public:
  void FileError(const std::string& message) override { ADD_FAILURE() << message; }
  void CountWarning(const std::string& message) override { ADD_FAILURE() << message; }
};

struct Press {
  InstrumentKey key;
  bool shift;
};

// Every key with and without シフト that runs an action on a screen of this kind.
std::vector<Press> ActingPresses(DataKind kind) {
  std::vector<Press> presses;
  for (InstrumentKey key : {InstrumentKey::Up, InstrumentKey::Down, InstrumentKey::Left, InstrumentKey::Right,
                            InstrumentKey::Enter})
    for (bool shift : {false, true}) {
      const KeyAction a = Route(key, shift, kind).action;
      if (a != KeyAction::None && a != KeyAction::TreeKey) presses.push_back({key, shift});
    }
  return presses;
}

// Presses each key until it has wrapped round (the picture comes back) or stopped at
// a limit (the picture stays), at most 100 times, in two rounds: the second starts at
// the deepest zoom, so scrolling meets its ends there too. The keys that take held
// ticks are pressed a dozen times with 0 and then with 2 until they wrap (the triple
// step wraps the profile marker's 261 columns within the 100 presses in every mode).
void ExpectWholeRedraws(ScreenSet& screens, const std::string& what) {
  const DataKind kind = screens.currentKind();
  // Buffers are reused: a new 230 KB surface per press would cost more than the drawing.
  const Surface blank;
  Surface dc = blank, fresh = blank;
  std::vector<std::uint8_t> start, before;
  screens.Paint(dc);
  for (int round = 0; round < 2; ++round)
    for (const Press& p : ActingPresses(kind)) {
      const KeyAction action = Route(p.key, p.shift, kind).action;
      for (int held : TakesHeldTicks(action) ? std::vector<int>{0, 2} : std::vector<int>{0}) {
        const int most = TakesHeldTicks(action) && held == 0 ? 12 : 100;
        start = dc.pixels();
        for (int i = 0; i < most; ++i) {
          before = dc.pixels();
          ASSERT_TRUE(Apply(action, screens, dc, held));
          fresh = blank;
          screens.Paint(fresh);
          if (dc.pixels() != fresh.pixels()) {
            ADD_FAILURE() << what << ": key " << static_cast<int>(p.key) << (p.shift ? " with shift" : "")
                          << ", held " << held << ", round " << round << ", press " << i + 1;
            dc = fresh;  // one report per key
            break;
          }
          if (dc.pixels() == before || dc.pixels() == start) break;
        }
      }
    }
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
    if (record == nullptr || ActingPresses(record->kind).empty() || model.Label(model.Parent(n)) != "0412") continue;
    ASSERT_NE(screens.Select(*record), nullptr);
    seen.insert(record->kind);
    ExpectWholeRedraws(screens, model.Label(n));
  }
  EXPECT_EQ(seen, (std::set<DataKind>{DataKind::Multi, DataKind::Spectrum, DataKind::Profile}));

  // A spectrum or profile without its companion file: the keys change nothing, and
  // nothing is left behind either.
  for (DataKind kind : {DataKind::Spectrum, DataKind::Profile}) {
    ASSERT_NE(screens.Select(kind, test::Row({{0, "0009"}, {20, "0"}}), (folder.path() / "NONE.CSV").string()), nullptr);
    ExpectWholeRedraws(screens, "no companion file");
  }
}

}  // namespace
}  // namespace rxt4
