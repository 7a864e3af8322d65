// Rendering benchmark.
//  1. Screens drawn per second: every measurement of the demonstration data painted
//     into the screen area as the viewer does (clear, draw, frame), with the
//     installed screen font (glyphs cached after the first pass) and with pattern glyphs.
//  2. Image encoding: one screen as a bitmap file in memory and as a PNG file.
//  3. `rxt4 render` (built beside this program) over the demonstration data folder.
// Usage: bench_render [--runs N]

#include <sys/wait.h>
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
#include "rxt4/screens/ImageFiles.h"
#include "rxt4/screens/ScreenSet.h"

namespace {

namespace fs = std::filesystem;
using rxt4::bench::Clock;
using rxt4::bench::Seconds;

std::vector<const rxt4::CDataSet*> Measurements(const rxt4::DataFolderModel& model, rxt4::DataKind only) {
  std::vector<const rxt4::CDataSet*> records;
  for (int n = 1; n <= model.itemCount(); ++n) {
    const rxt4::CDataSet* r = model.Record(n);
    if (r != nullptr && r->kind != rxt4::DataKind::None && (only == rxt4::DataKind::None || r->kind == only))
      records.push_back(r);
  }
  return records;
}

// Screens per second over the records, painting each one `passes` times.
double ScreensPerSecond(rxt4::ScreenSet& screens, const std::vector<const rxt4::CDataSet*>& records, int passes) {
  rxt4::Surface surface;
  for (const rxt4::CDataSet* r : records) {  // warm the glyph cache
    screens.Select(*r);
    screens.Paint(surface);
  }
  const auto start = Clock::now();
  for (int p = 0; p < passes; ++p)
    for (const rxt4::CDataSet* r : records) {
      screens.Select(*r);
      screens.Paint(surface);
    }
  return static_cast<double>(passes) * static_cast<double>(records.size()) / Seconds(Clock::now() - start);
}

fs::path SelfDir() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = rxt4::bench::RunsArg(argc, argv);
  rxt4::bench::DemoBench demo;
  if (!demo.Prepare("render")) return 1;
  const fs::path& work = demo.work;
  const fs::path& data = demo.data;
  const rxt4::DataFolderModel& model = demo.model;

  rxt4::ScreenSet screens(rxt4::bench::DefaultFontsReported());
  rxt4::ScreenSet patternScreens(rxt4::FontSet::CreatePattern());

  const int passes = 200;
  std::printf("\nscreens painted per second (%d passes, best of %d runs):\n", passes, runs);
  const struct {
    const char* name;
    rxt4::DataKind kind;
  } kinds[] = {{"all kinds", rxt4::DataKind::None},
               {"level", rxt4::DataKind::Level},
               {"BER", rxt4::DataKind::Ber},
               {"SKY", rxt4::DataKind::Sky}};
  for (const auto& k : kinds) {
    const auto records = Measurements(model, k.kind);
    if (records.empty()) continue;
    double best = 0, bestPattern = 0;
    for (int r = 0; r < runs; ++r) {
      best = std::max(best, ScreensPerSecond(screens, records, passes));
      bestPattern = std::max(bestPattern, ScreensPerSecond(patternScreens, records, passes));
    }
    std::printf("  %-10s %3zu records  font %9.0f/s (%6.1f us each)   pattern %9.0f/s\n", k.name, records.size(),
                best, 1e6 / best, bestPattern);
  }

  {
    rxt4::Surface surface;
    const auto records = Measurements(model, rxt4::DataKind::Level);
    if (!records.empty()) {
      screens.Select(*records.front());
      screens.Paint(surface);
    }
    const int n = 200;
    auto start = Clock::now();
    std::size_t bytes = 0;
    for (int i = 0; i < n; ++i) bytes += rxt4::EncodeBitmapFile(surface.View(), 24).size();
    const double bmpUs = Seconds(Clock::now() - start) / n * 1e6;
    const fs::path png = work / "one.png";
    start = Clock::now();
    for (int i = 0; i < n; ++i) rxt4::WritePngFile(png, surface.View());
    const double pngUs = Seconds(Clock::now() - start) / n * 1e6;
    std::printf("\nimage files of one screen: bitmap %.1f us (%zu bytes), PNG written %.1f us (%ju bytes)\n", bmpUs,
                bytes / n, pngUs, static_cast<std::uintmax_t>(fs::file_size(png)));
  }

  const fs::path rxt4 = SelfDir() / "rxt4";
  if (fs::exists(rxt4)) {
    for (const char* format : {"png", "bmp"}) {
      double best = 1e9;
      for (int r = 0; r < runs; ++r) {
        const fs::path out = work / ("out-" + std::string(format));
        fs::remove_all(out);
        const std::string command =
            "'" + rxt4.string() + "' render '" + data.string() + "' --out '" + out.string() + "' --format " + format +
            " 2>/dev/null";
        const auto start = Clock::now();
        const int status = std::system(command.c_str());
        const double s = Seconds(Clock::now() - start);
        if (status != 0) {
          std::printf("rxt4 render failed (status %d)\n", status);
          break;
        }
        best = std::min(best, s);
      }
      std::printf("rxt4 render of the demonstration folder (%d measurements, %s): %.0f ms\n",
                  model.measurementCount(), format, best * 1e3);
    }
  } else {
    std::printf("rxt4 not found beside this program; render command not timed\n");
  }
  fs::remove_all(work);
  return 0;
}
