// What a key does to the screen area of the graph screens, on every graph of the
// demonstration data, checked by what can be seen:
// - a key the screen does not act on (or that is the tree's) changes nothing the
//   screen would show: a whole Draw of its state after the key is the picture before;
// - a key it acts on paints over whatever the area held (scrambled here) exactly what
//   a whole Draw of the new state paints on a fresh surface;
// - an action and its opposite (→ ←, シフト+→ シフト+←, シフト+↑ シフト+↓, 決定 決定)
//   bring back the picture of before, unless the first stopped at a limit and changed
//   nothing: no state is left behind that the picture does not show. (On the
//   multi-channel screen シフト+← widens the range about its centre and then keeps it
//   inside the levels the band can show; シフト+→ narrows about the centre it then has,
//   so that pair is no round trip at a band's edge.)

#include <gtest/gtest.h>

#include <set>

#include "GraphTestHelpers.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/screens/ScreenSet.h"

namespace rxt4 {
namespace {

using test::ScratchFolder;
using K = InstrumentKey;

class QuietLoad : public LoadObserver {
 public:
  void FileError(const std::string& message) override { ADD_FAILURE() << message; }
  void CountWarning(const std::string& message) override { ADD_FAILURE() << message; }
};

struct Opposites {
  KeyPress key;
  KeyPress back;
};

const Opposites kOpposites[] = {
    {{K::Right, false, 0}, {K::Left, false, 0}}, {{K::Left, false, 0}, {K::Right, false, 0}},
    {{K::Right, false, 2}, {K::Left, false, 2}}, {{K::Right, true, 0}, {K::Left, true, 0}},
    {{K::Left, true, 0}, {K::Right, true, 0}},   {{K::Up, true, 0}, {K::Down, true, 0}},
    {{K::Down, true, 0}, {K::Up, true, 0}},      {{K::Enter, false, 0}, {K::Enter, false, 0}},
};

// Every pixel of the area, scrambled: black, white and colour in a pattern no screen draws.
void Scramble(Surface& dc) {
  const Rgb colours[] = {kBlack, kWhite, Rgb{255, 0, 0}, Rgb{0, 128, 0}};
  for (int y = 0; y < dc.height(); ++y)
    for (int x = 0; x < dc.width(); ++x) dc.SetPixel(x, y, colours[(x * 7 + y * 3) % 4]);
}

std::string Describe(const std::string& what, const KeyPress& press, bool zoomed) {
  return what + ": key " + std::to_string(static_cast<int>(press.key)) + (press.shift ? " with shift" : "") + " held " +
         std::to_string(press.heldTicks) + (zoomed ? " after shift+right" : "");
}

// Checks the three promises for each pair of opposite keys, from the record's first
// picture and from the one after シフト+→ (zoomed in, finer, the next range). Returns
// whether any key acted.
bool ExpectKeysShowTheirState(const CDataSet& record, const std::string& what) {
  bool acted = false;
  for (bool zoomed : {false, true})
    for (const Opposites& pair : kOpposites) {
      SCOPED_TRACE(Describe(what, pair.key, zoomed));
      ScreenSet screens(FontSet::CreatePattern());  // fresh: the spectrum keeps its range across records
      screens.Select(record);
      Surface dc;
      if (zoomed) screens.PressKey({K::Right, true, 0}, dc);
      screens.Paint(dc);
      const Surface start = dc;

      Scramble(dc);
      const KeyOutcome outcome = screens.PressKey(pair.key, dc);
      Surface fresh;
      screens.Paint(fresh);
      if (outcome != KeyOutcome::Changed) {
        EXPECT_TRUE(fresh.pixels() == start.pixels()) << "the state changed unseen";
        continue;
      }
      acted = true;
      EXPECT_TRUE(dc.pixels() == fresh.pixels()) << "something of the old area survived";
      if (fresh.pixels() == start.pixels()) continue;  // stopped at a limit
      if (record.kind == DataKind::Multi && pair.key.key == K::Left && pair.key.shift) continue;  // kept inside the band
      screens.PressKey(pair.back, dc);
      EXPECT_TRUE(dc.pixels() == start.pixels()) << "the opposite key did not bring the picture back";
    }
  return acted;
}

TEST(KeyRepaint, KeysShowTheStateTheyLeaveAndOppositesUndoEachOther) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteDemoFolder(folder.path() / "RXT4"));
  DataFolderModel model;
  QuietLoad observer;
  model.Load(folder.path() / "RXT4", observer);
  std::set<DataKind> seen;
  // Set folder 0412 holds every kind of graph of the demonstration data: the three
  // delay profile modes, the spectrum layouts, the multi-channel bands.
  for (int n = 1; n <= model.itemCount(); ++n) {
    const CDataSet* record = model.Record(n);
    if (record == nullptr || record->kind == DataKind::None || model.Label(model.Parent(n)) != "0412") continue;
    if (ExpectKeysShowTheirState(*record, model.Label(n))) seen.insert(record->kind);
  }
  EXPECT_EQ(seen, (std::set<DataKind>{DataKind::Multi, DataKind::Spectrum, DataKind::Profile}));

  // A spectrum or profile without its companion file: the same.
  for (DataKind kind : {DataKind::Spectrum, DataKind::Profile})
    ExpectKeysShowTheirState(test::Record(kind, test::Row({{0, "0009"}, {20, "0"}}), (folder.path() / "NONE.CSV").string()),
                             "no companion file");
}

}  // namespace
}  // namespace rxt4
