// Graph screen benchmark.
//  1. Graph screens per second: every constellation, multi-channel, spectrum and delay
//     profile measurement of the demonstration data selected and painted as the
//     viewer does (the companion file is read on each selection, and the
//     constellation reads its picture again on each paint), with the installed
//     screen font and with pattern glyphs.
//  2. Paint alone (no new selection) per graph kind.
//  3. Key action cost: each key action of the graph screens pressed through the
//     screen set onto a painted screen area, in microseconds per action.
// Usage: bench_graph [--runs N]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/screens/InstrumentKey.h"
#include "rxt4/screens/ScreenSet.h"

namespace {

namespace fs = std::filesystem;
using rxt4::bench::Clock;
using rxt4::bench::Seconds;
using rxt4::DataKind;
using rxt4::InstrumentKey;

std::vector<const rxt4::CDataSet*> Measurements(const rxt4::DataFolderModel& model, DataKind only) {
  std::vector<const rxt4::CDataSet*> records;
  for (int n = 1; n <= model.itemCount(); ++n) {
    const rxt4::CDataSet* r = model.Record(n);
    if (r == nullptr) continue;
    const bool graph = r->kind == DataKind::Constellation || r->kind == DataKind::Multi ||
                       r->kind == DataKind::Spectrum || r->kind == DataKind::Profile;
    if (graph && (only == DataKind::None || r->kind == only)) records.push_back(r);
  }
  return records;
}

// Selections with a paint each, per second.
double SelectAndPaint(rxt4::ScreenSet& screens, const std::vector<const rxt4::CDataSet*>& records, int passes) {
  rxt4::Surface dc;
  const auto start = Clock::now();
  for (int p = 0; p < passes; ++p)
    for (const rxt4::CDataSet* r : records) {
      screens.Select(*r);
      screens.Paint(dc);
    }
  return static_cast<double>(passes) * static_cast<double>(records.size()) / Seconds(Clock::now() - start);
}

// Paints of an already selected screen, per second.
double PaintOnly(rxt4::ScreenSet& screens, const rxt4::CDataSet& record, int paints) {
  rxt4::Surface dc;
  screens.Select(record);
  const auto start = Clock::now();
  for (int i = 0; i < paints; ++i) screens.Paint(dc);
  return paints / Seconds(Clock::now() - start);
}

struct KeyCase {
  const char* name;
  DataKind kind;
  InstrumentKey key;
  bool shift;
  int heldTicks;
  int zoomSteps;  // delay profile: zoom in this often before timing (scrolling needs room)
};

// Microseconds per key action; keys that stop at a limit (zoom, scroll, range)
// alternate with their opposite so that every press does its full work.
double KeyActionUs(rxt4::ScreenSet& screens, const rxt4::CDataSet& record, const KeyCase& k, int presses) {
  rxt4::Surface dc;
  screens.Select(record);
  screens.Paint(dc);
  for (int z = 0; z < k.zoomSteps; ++z) screens.PressKey({InstrumentKey::Right, true, 0}, dc);
  auto opposite = [](InstrumentKey key) {
    switch (key) {
      case InstrumentKey::Up: return InstrumentKey::Down;
      case InstrumentKey::Down: return InstrumentKey::Up;
      case InstrumentKey::Left: return InstrumentKey::Right;
      case InstrumentKey::Right: return InstrumentKey::Left;
      default: return key;
    }
  };
  const rxt4::KeyPress forward{k.key, k.shift, k.heldTicks}, back{opposite(k.key), k.shift, k.heldTicks};
  const bool alternate = k.shift;  // cursor keys wrap; the others stop at their limits
  const auto start = Clock::now();
  for (int i = 0; i < presses; ++i) screens.PressKey(alternate && (i % 2) ? back : forward, dc);
  return Seconds(Clock::now() - start) / presses * 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = rxt4::bench::RunsArg(argc, argv);
  rxt4::bench::DemoBench demo;
  if (!demo.Prepare("graph")) return 1;
  const fs::path& work = demo.work;
  const rxt4::DataFolderModel& model = demo.model;

  rxt4::ScreenSet screens(rxt4::bench::DefaultFontsReported());
  rxt4::ScreenSet patternScreens(rxt4::FontSet::CreatePattern());

  const int passes = 100;
  std::printf("\ngraph screens selected and painted per second (%d passes, best of %d runs):\n", passes, runs);
  const struct {
    const char* name;
    DataKind kind;
  } kinds[] = {{"all graphs", DataKind::None},
               {"constel", DataKind::Constellation},
               {"multi", DataKind::Multi},
               {"spectrum", DataKind::Spectrum},
               {"profile", DataKind::Profile}};
  for (const auto& k : kinds) {
    const auto records = Measurements(model, k.kind);
    if (records.empty()) continue;
    SelectAndPaint(screens, records, 1);  // warm the glyph cache
    SelectAndPaint(patternScreens, records, 1);
    double best = 0, bestPattern = 0, bestPaint = 0;
    for (int r = 0; r < runs; ++r) {
      best = std::max(best, SelectAndPaint(screens, records, passes));
      bestPattern = std::max(bestPattern, SelectAndPaint(patternScreens, records, passes));
      bestPaint = std::max(bestPaint, PaintOnly(screens, *records.front(), passes * 4));
    }
    std::printf("  %-10s %3zu records  font %8.0f/s (%6.1f us each)  pattern %8.0f/s  paint only %8.0f/s\n", k.name,
                records.size(), best, 1e6 / best, bestPattern, bestPaint);
  }

  std::printf("\nkey actions (us per press, best of %d runs):\n", runs);
  const KeyCase keys[] = {
      {"multi cursor right", DataKind::Multi, InstrumentKey::Right, false, 0, 0},
      {"multi enter (reference)", DataKind::Multi, InstrumentKey::Enter, false, 0, 0},
      {"multi range down/up", DataKind::Multi, InstrumentKey::Down, true, 0, 0},
      {"multi scale finer/coarser", DataKind::Multi, InstrumentKey::Right, true, 0, 0},
      {"spectrum range next/prev", DataKind::Spectrum, InstrumentKey::Right, true, 0, 0},
      {"profile marker right", DataKind::Profile, InstrumentKey::Right, false, 0, 0},
      {"profile marker held", DataKind::Profile, InstrumentKey::Right, false, 2, 0},
      {"profile zoom in/out", DataKind::Profile, InstrumentKey::Right, true, 0, 0},
      {"profile scroll later/earl", DataKind::Profile, InstrumentKey::Up, true, 0, 2},
  };
  for (const KeyCase& k : keys) {
    const auto records = Measurements(model, k.kind);
    if (records.empty()) continue;
    // The last record of the kind: the 8192-sample profile, the 25-channel table.
    const rxt4::CDataSet& record = *records[std::min<std::size_t>(records.size() - 1, 2)];
    double best = 1e9;
    for (int r = 0; r < runs; ++r) best = std::min(best, KeyActionUs(screens, record, k, 2000));
    std::printf("  %-26s %8.1f us\n", k.name, best);
  }
  fs::remove_all(work);
  return 0;
}
