// Export benchmark, as rxt4 export runs it (the data folder read set folder by set
// folder, judged against the default profile):
//  1. The default export (no graph samples) of the 1,000-set archive with companion
//     files (288,000 measurements, every spectrum, delay-profile and constellation
//     file present): to SQLite, to CSV and to an Excel workbook; the peak memory.
//  2. The export with --samples of the first N set folders of that archive (default
//     100) against a floor measured in the same run: the same rows, captured before,
//     inserted into a fresh database through one prepared statement per table in one
//     transaction, with nothing else done.
// Usage: bench_export [--runs N] [--sample-sets N]

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Archive.h"
#include "BenchUtil.h"
#include "SqliteSink.h"
#include "rxt4/judge/ProfileCatalog.h"
#include "rxt4/report/Export.h"

namespace {

namespace fs = std::filesystem;
using rxt4::bench::Clock;
using rxt4::bench::Seconds;

double PeakMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double SizeMb(const fs::path& p) {
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

// Best and median seconds of runs of f (which returns false on a failure).
template <typename F>
double Time(const char* what, int runs, F f, const fs::path& output) {
  std::vector<double> s;
  for (int r = 0; r < runs; ++r) {
    const auto start = Clock::now();
    if (!f()) {
      std::printf("%s: FAILED\n", what);
      return 0;
    }
    s.push_back(Seconds(Clock::now() - start));
  }
  std::sort(s.begin(), s.end());
  std::printf("%-52s best %7.3f s  median %7.3f s  (%d runs, %.1f MB)\n", what, s.front(), s[s.size() / 2], runs,
              SizeMb(output));
  std::fflush(stdout);
  return s.front();
}

// Every row an export hands its sink, kept compactly to be inserted again.
class CaptureSink : public rxt4::TableSink {
 public:
  bool Begin(const std::vector<rxt4::ExportTable>&, bool) override { return true; }
  bool Insert(rxt4::TableId table, std::span<const rxt4::Cell> row) override {
    bytes_ += static_cast<char>(table);
    bytes_ += static_cast<char>(row.size());
    for (const rxt4::Cell& c : row) {
      bytes_ += static_cast<char>(c.kind);
      switch (c.kind) {
        case rxt4::Cell::Kind::Null: break;
        case rxt4::Cell::Kind::Integer: Append(&c.integer, sizeof c.integer); break;
        case rxt4::Cell::Kind::Real: Append(&c.real, sizeof c.real); break;
        case rxt4::Cell::Kind::Text:
        case rxt4::Cell::Kind::Bytes: {
          const std::uint32_t n = static_cast<std::uint32_t>(c.text.size());
          Append(&n, sizeof n);
          bytes_.append(c.text);
        }
      }
    }
    ++rows_;
    return true;
  }
  std::string error() const override { return {}; }

  // Inserts every row into sink.
  bool Replay(rxt4::TableSink& sink) const {
    std::vector<rxt4::Cell> row;
    std::size_t at = 0;
    while (at < bytes_.size()) {
      const auto table = static_cast<rxt4::TableId>(bytes_[at++]);
      const auto n = static_cast<unsigned char>(bytes_[at++]);
      row.assign(n, {});
      for (auto& c : row) {
        c.kind = static_cast<rxt4::Cell::Kind>(bytes_[at++]);
        switch (c.kind) {
          case rxt4::Cell::Kind::Null: break;
          case rxt4::Cell::Kind::Integer: Read(at, &c.integer, sizeof c.integer); break;
          case rxt4::Cell::Kind::Real: Read(at, &c.real, sizeof c.real); break;
          case rxt4::Cell::Kind::Text:
          case rxt4::Cell::Kind::Bytes: {
            std::uint32_t len = 0;
            Read(at, &len, sizeof len);
            c.text = std::string_view(bytes_).substr(at, len);
            at += len;
          }
        }
      }
      if (!sink.Insert(table, row)) return false;
    }
    return true;
  }
  std::size_t rows() const { return rows_; }

 private:
  void Append(const void* p, std::size_t n) { bytes_.append(static_cast<const char*>(p), n); }
  void Read(std::size_t& at, void* p, std::size_t n) const {
    std::memcpy(p, bytes_.data() + at, n);
    at += n;
  }
  std::string bytes_;
  std::size_t rows_ = 0;
};

// The captured rows into a fresh database: the same tables, one prepared statement
// per table, one transaction, the export's settings.
bool InsertFloor(const CaptureSink& rows, const fs::path& file) {
  fs::remove(file);
  sqlite3* db = nullptr;
  if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) return false;
  bool ok = false;
  {
    rxt4::SqliteSink sink(db);
    ok = sink.Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; "
                   "PRAGMA cache_size=-65536; BEGIN") &&
         sink.Begin(rxt4::ExportSchema(), true) && rows.Replay(sink) && sink.Exec("COMMIT");
    sink.Finish();
  }
  sqlite3_close(db);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = rxt4::bench::RunsArg(argc, argv, 3);
  int sampleSets = 100;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--sample-sets") sampleSets = std::max(1, std::atoi(argv[i + 1]));
  const fs::path archive = rxt4::bench::ArchiveBase(true) / "sets1000";
  if (!rxt4::bench::GenerateArchive(archive, 1000, true)) {
    std::fprintf(stderr, "bench_export: cannot write the archive %s\n", archive.c_str());
    return 1;
  }
  const fs::path out = fs::temp_directory_path() / ("rxt4-bench-export-" + std::to_string(::getpid()));
  fs::create_directories(out);
  rxt4::ExportOptions options;
  rxt4::ProfileError error;
  if (!rxt4::ProfileCatalog({rxt4::InstalledLimitsFolder()}, 0).Find(rxt4::kDefaultProfileName, options.profile, error)) {
    std::fprintf(stderr, "bench_export: %s\n", error.Text().c_str());
    return 1;
  }
  rxt4::NullJobObserver quiet;
  rxt4::NullLoadObserver quietLoad;
  const std::atomic<bool> never{false};
  std::printf("archive: %s (%.0f MB)\n", archive.c_str(), SizeMb(archive));

  // 1. As rxt4 export does it: counted first, then read again set folder by set folder.
  auto whole = [&](auto write) {
    rxt4::StreamedSelection streamed;
    return streamed.Scan(archive, {}, quietLoad) && write(streamed);
  };
  Time(
      "default export of the 1,000-set archive to SQLite", runs,
      [&] { return whole([&](auto& s) { return rxt4::ExportSqlite(s, out / "a.db", options, quiet, never).done(); }); },
      out / "a.db");
  std::printf("peak memory after it: %.0f MB\n", PeakMb());
  Time(
      "default export of the 1,000-set archive to CSV", 1,
      [&] { return whole([&](auto& s) { return rxt4::ExportCsv(s, out / "csv", options, quiet, never).done(); }); },
      out / "csv");
  Time(
      "default export of the 1,000-set archive to a workbook", 1,
      [&] { return whole([&](auto& s) { return rxt4::ExportXlsx(s, out / "a.xlsx", options, quiet, never).done(); }); },
      out / "a.xlsx");
  std::printf("peak memory after them: %.0f MB\n", PeakMb());

  // 2. --samples on the first set folders, against the floor.
  {
    std::vector<std::string> names;
    for (int s = 0; s < sampleSets; ++s) {
      char name[16];
      std::snprintf(name, sizeof name, "%04d", s);
      names.push_back(name);
    }
    rxt4::StreamedSelection streamed;
    streamed.Scan(archive, names, quietLoad);
    rxt4::ExportOptions samples = options;
    samples.samples = true;
    CaptureSink rows;
    rxt4::WriteExportRows(streamed, rows, samples, quiet, never);
    std::printf("--samples of %d set folders: %zu rows\n", sampleSets, rows.rows());
    const double floor = Time(
        "floor: the same rows, one statement per table", runs, [&] { return InsertFloor(rows, out / "floor.db"); },
        out / "floor.db");
    const double exported = Time(
        "export --samples", runs,
        [&] { return rxt4::ExportSqlite(streamed, out / "samples.db", samples, quiet, never).done(); },
        out / "samples.db");
    if (floor > 0) std::printf("export / floor: %.2f\n", exported / floor);
  }
  fs::remove_all(out);
  return 0;
}
