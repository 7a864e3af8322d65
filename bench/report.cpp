// Report and export benchmark.
//  1. The measurement report (PDF) of the demonstration data folder (55 measurements
//     of every kind, three set folders), with the installed fonts.
//  2. The SQLite and CSV export of the 1,000-set archive of bench_load (292,000
//     measurements, tables only), after loading it.
//  3. The SQLite export of an archive with graph data: 100 copies of the
//     demonstration sets (5,500 measurements, every companion file present).
//  4. The report of 40 set folders of 367,022 level measurements each (counts only):
//     how long its planning takes, and how soon a cancel raised while it plans ends it.
// Usage: bench_report [--runs N]

#include "rxt4/report/Report.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <filesystem>
#include <string>
#include <vector>

#include "Archive.h"
#include "BenchUtil.h"
#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/report/Export.h"

namespace {

namespace fs = std::filesystem;
using rxt4::bench::Clock;
using rxt4::bench::Seconds;

double Mb(const fs::path& p) {
  std::error_code ec;
  std::uintmax_t bytes = 0;
  if (fs::is_directory(p, ec)) {
    for (const auto& e : fs::recursive_directory_iterator(p))
      if (e.is_regular_file()) bytes += e.file_size();
  } else {
    bytes = fs::file_size(p, ec);
  }
  return static_cast<double>(bytes) / 1e6;
}

// Best and median seconds of `runs` runs of f.
template <typename F>
void Time(const char* what, int runs, F f, const fs::path& output) {
  std::vector<double> s;
  for (int r = 0; r < runs; ++r) {
    const auto start = Clock::now();
    if (!f()) {
      std::printf("%s: FAILED\n", what);
      return;
    }
    s.push_back(Seconds(Clock::now() - start));
  }
  std::sort(s.begin(), s.end());
  std::printf("%-44s best %7.3f s  median %7.3f s  (%d runs, %.1f MB)\n", what, s.front(), s[s.size() / 2], runs,
              Mb(output));
  std::fflush(stdout);
}

// Loads the folder and selects every measurement; the seconds of each step.
rxt4::MeasurementSelection Load(const fs::path& folder, double* loadSeconds, double* selectSeconds) {
  auto start = Clock::now();
  rxt4::DataFolderModel model;
  rxt4::NullLoadObserver quiet;
  model.Load(folder, quiet);
  *loadSeconds = Seconds(Clock::now() - start);
  start = Clock::now();
  rxt4::MeasurementSelection selection = rxt4::SelectMeasurements(model, folder);
  *selectSeconds = Seconds(Clock::now() - start);
  return selection;
}

// 100 copies of the demonstration sets, named <set>_<copy>.
bool WriteGraphArchive(const fs::path& folder) {
  if (fs::exists(folder / ".complete")) return true;
  fs::remove_all(folder);
  const std::vector<rxt4::DemoSet> sets = rxt4::BuildDemoSets();
  for (int copy = 0; copy < 100; ++copy)
    for (const rxt4::DemoSet& set : sets)
      for (rxt4::TransferKind kind : rxt4::kAllTransferKinds) {
        const rxt4::KindImage& image = set.images[static_cast<std::size_t>(kind)];
        if (image.empty()) continue;
        rxt4::DataSetWriter writer;
        writer.SelectKind(kind);
        const fs::path setFolder = folder / (set.name + "_" + std::to_string(copy));
        fs::create_directories(setFolder);
        if (!writer.PrepareFolder(setFolder) || !writer.Allocate(static_cast<std::uint32_t>(image.size())))
          return false;
        writer.Append(image.data(), image.size());
        if (!writer.Write()) return false;
      }
  std::ofstream(folder / ".complete") << "done";
  return true;
}

// An archive as counts: the set folders' measurements are never read (the first one
// asked for cancels the report).
class ArchiveCounts : public rxt4::MeasurementSource {
 public:
  ArchiveCounts(int folders, int measurements, std::atomic<bool>& abort) : abort_(abort) {
    for (int f = 1; f <= folders; ++f) {
      rxt4::SourceFolder& folder = folders_.emplace_back();
      folder.name = "S" + std::to_string(f);
      folder.counts[static_cast<std::size_t>(rxt4::TransferKind::Level)] = measurements;
    }
  }
  const fs::path& DataFolderPath() const override { return path_; }
  std::vector<rxt4::SourceFolder> Folders() const override { return folders_; }
  std::optional<rxt4::FolderMeasurements> Measurements(const rxt4::SourceFolder&, std::string&) const override {
    abort_ = true;
    return std::nullopt;
  }

 private:
  std::atomic<bool>& abort_;
  fs::path path_ = "/archive";
  std::vector<rxt4::SourceFolder> folders_;
};

// Plans the report of the counted archive (to the first table page), then plans it
// again with a cancel raised after delayMs: seconds of the planning, and of the cancel.
void PlanArchive(const fs::path& out, rxt4::ReportOptions options) {
  rxt4::NullJobObserver quiet;
  std::atomic<bool> abort{false};
  const ArchiveCounts archive(40, 367'022, abort);
  auto start = Clock::now();
  rxt4::WriteReport(archive, out / "archive.pdf", options, quiet, abort);
  const double planned = Seconds(Clock::now() - start);
  abort = false;
  constexpr int kDelayMs = 20;
  Clock::time_point raised;
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(kDelayMs));
    raised = Clock::now();
    abort = true;
  });
  rxt4::WriteReport(archive, out / "archive.pdf", options, quiet, abort);
  const auto ended = Clock::now();
  canceller.join();
  std::printf("report of 40 x 367,022 measurements: planned in %.3f s; a cancel %d ms into it ended it after %.1f ms\n",
              planned, kDelayMs, std::max(0.0, Seconds(ended - raised)) * 1000);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = rxt4::bench::RunsArg(argc, argv, 3);
  rxt4::bench::DemoBench demo;
  if (!demo.Prepare("report")) return 1;
  const fs::path out = demo.work / "out";
  fs::create_directories(out);
  rxt4::NullJobObserver quiet;
  const std::atomic<bool> never{false};

  rxt4::ReportOptions options;
  options.date = rxt4::ReportDateText(std::time(nullptr));
  options.screenFonts = rxt4::bench::DefaultFontsReported();
  const rxt4::MeasurementSelection demoSelection = rxt4::SelectMeasurements(demo.model, demo.data);
  std::printf("demonstration data: %zu measurements\n", demoSelection.measurements.size());
  for (int perPage : {4, 2}) {
    options.screensPerPage = perPage;
    const std::string what = "report, " + std::to_string(perPage) + " screens a page";
    Time(
        what.c_str(), runs,
        [&] { return rxt4::WriteReport(demoSelection, out / "report.pdf", options, quiet, never).done(); },
        out / "report.pdf");
  }
  PlanArchive(out, options);
  Time(
      "export of the demonstration data to SQLite", runs,
      [&] { return rxt4::ExportSqlite(demoSelection, out / "demo.db", rxt4::ExportOptions{}, quiet, never).done(); }, out / "demo.db");

  const fs::path archive = rxt4::bench::ArchiveBase() / "sets1000";
  const fs::path graphs = rxt4::bench::ArchiveBase() / "graphs100";
  if (!rxt4::bench::GenerateArchive(archive, 1000) || !WriteGraphArchive(graphs)) {
    std::fprintf(stderr, "bench_report: cannot write the archives under %s\n", rxt4::bench::ArchiveBase().c_str());
    return 1;
  }
  double loadSeconds = 0, selectSeconds = 0;
  {
    const rxt4::MeasurementSelection big = Load(archive, &loadSeconds, &selectSeconds);
    std::printf("1,000-set archive: %zu measurements, loaded in %.2f s, selected in %.2f s\n", big.measurements.size(),
                loadSeconds, selectSeconds);
    Time(
        "export of the 1,000-set archive to SQLite", runs,
        [&] { return rxt4::ExportSqlite(big, out / "archive.db", rxt4::ExportOptions{}, quiet, never).done(); }, out / "archive.db");
    Time(
        "export of the 1,000-set archive to CSV", 1,
        [&] { return rxt4::ExportCsv(big, out / "archive-csv", rxt4::ExportOptions{}, quiet, never).done(); }, out / "archive-csv");
  }
  {
    // As rxt4 export reads it: set folder by set folder, counted first.
    rxt4::StreamedSelection streamed;
    rxt4::NullLoadObserver quietLoad;
    const auto start = Clock::now();
    streamed.Scan(archive, {}, quietLoad);
    std::printf("1,000-set archive read set folder by set folder: %zu measurements counted in %.2f s\n",
                streamed.measurementCount(), Seconds(Clock::now() - start));
    Time(
        "export of the 1,000-set archive, one set folder at a time", runs,
        [&] { return rxt4::ExportSqlite(streamed, out / "streamed.db", rxt4::ExportOptions{}, quiet, never).done(); }, out / "streamed.db");
  }
  {
    const rxt4::MeasurementSelection withGraphs = Load(graphs, &loadSeconds, &selectSeconds);
    std::printf("graph archive: %zu measurements, loaded in %.2f s, selected in %.2f s\n",
                withGraphs.measurements.size(), loadSeconds, selectSeconds);
    Time(
        "export of the graph archive to SQLite", runs,
        [&] { return rxt4::ExportSqlite(withGraphs, out / "graphs.db", rxt4::ExportOptions{}, quiet, never).done(); }, out / "graphs.db");
  }
  fs::remove_all(demo.work);
  return 0;
}
