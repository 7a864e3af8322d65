// Loading a large data folder into the data folder model: time and peak memory.
// Generates (once, under the system's temporary folder) a data folder of 1,000 data
// set folders with all seven kinds and one of 100, then loads each a few times.

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/Kinds.h"

namespace {

namespace fs = std::filesystem;
using rxt4::bench::Clock;
using rxt4::bench::Seconds;

constexpr int kRowsPerSingleKind = 48;
constexpr int kMultiTables = 4;
constexpr int kChannelsPerTable = 12;
constexpr std::size_t kRecordBytes = 180;

std::string Record(int set, int row, const char* tag) {
  char text[kRecordBytes + 1];
  int n = std::snprintf(text, sizeof text,
                        "%s%03d,Site %04d row %02d,UHF,%d,,473.143,%d.%d,32.5,OFDM,*,OFF,OFF,OFF,A,30,0,1,VU/CATV,1,%d,0,"
                        "2.0E-4,27.3,,,,,,,",
                        tag, row % 1000, set, row, 13 + row % 40, 40 + row % 50, row % 10, kChannelsPerTable);
  std::string record(text, static_cast<std::size_t>(n < 0 ? 0 : n));
  record.resize(kRecordBytes - 1, ' ');
  return record + "\n";
}

bool WriteKind(const fs::path& setFolder, int set, rxt4::TransferKind kind) {
  std::string image = "2.00";
  std::uint32_t count = kind == rxt4::TransferKind::Multi ? kMultiTables : kRowsPerSingleKind;
  for (int i = 0; i < 4; ++i) image += static_cast<char>((count >> (8 * i)) & 0xFF);
  if (kind == rxt4::TransferKind::Multi) {
    for (int t = 1; t <= kMultiTables; ++t) {
      char tag[8];
      std::snprintf(tag, sizeof tag, "%03d", t);
      for (int c = 1; c <= kChannelsPerTable; ++c) image += Record(set, c, tag);
    }
  } else {
    for (int r = 1; r <= kRowsPerSingleKind; ++r) image += Record(set, r, "0");
  }
  rxt4::DataSetWriter writer;
  writer.SelectKind(kind);
  if (!writer.PrepareFolder(setFolder) || !writer.Allocate(static_cast<std::uint32_t>(image.size()))) return false;
  writer.Append(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
  return writer.Write();
}

// Makes the data folder unless a complete one is there from an earlier run.
bool Generate(const fs::path& folder, int sets) {
  if (fs::exists(folder / ".complete")) return true;
  fs::remove_all(folder);
  for (int s = 0; s < sets; ++s) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d", s);
    fs::path setFolder = folder / name;
    fs::create_directories(setFolder);
    for (rxt4::TransferKind kind : rxt4::kAllTransferKinds)
      if (!WriteKind(setFolder, s, kind)) return false;
  }
  std::ofstream(folder / ".complete") << "done";
  return true;
}

std::uintmax_t TableBytes(const fs::path& folder) {
  std::uintmax_t total = 0;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    std::string ext = e.path().extension().string();
    if (e.is_regular_file() && (ext == ".CSV" || ext == ".CNT")) total += e.file_size();
  }
  return total;
}

long StatusKb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size()));
  return -1;
}

// Resets the peak resident size to the current one (Linux 4.0 and later).
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Each run loads in a child process of its own, so that the memory figures of one run
// are not blurred by what an earlier run left to the allocator.
void Measure(const fs::path& folder, int sets) {
  const double tableMb = static_cast<double>(TableBytes(folder)) / 1e6;
  for (int run = 1; run <= 3; ++run) {
    std::fflush(stdout);
    pid_t child = ::fork();
    if (child > 0) {
      int status = 0;
      ::waitpid(child, &status, 0);
      continue;
    }
    rxt4::NullLoadObserver observer;
    ResetPeak();
    const long rssBefore = StatusKb("VmRSS:");
    auto start = Clock::now();
    {
      rxt4::DataFolderModel model;
      model.Load(folder, observer);
      double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      const long peak = StatusKb("VmHWM:");
      const long rssLoaded = StatusKb("VmRSS:");
      std::printf("%5d sets  run %d: %7d measurements, %6.1f MB tables, load %7.1f ms, "
                  "peak +%6.1f MB (%.2fx tables), held +%6.1f MB\n",
                  sets, run, model.measurementCount(), tableMb, ms, (peak - rssBefore) / 1024.0,
                  (peak - rssBefore) / 1024.0 / (tableMb / 1.048576), (rssLoaded - rssBefore) / 1024.0);
    }
    std::fflush(stdout);
    if (child == 0) ::_exit(0);
  }
}

}  // namespace

int main() {
  const fs::path base = fs::temp_directory_path() / "rxt4_bench_load";
  const fs::path big = base / "sets1000";
  const fs::path small = base / "sets100";
  auto start = Clock::now();
  if (!Generate(big, 1000) || !Generate(small, 100)) {
    std::fprintf(stderr, "bench_load: could not write the data folders under %s\n", base.string().c_str());
    return 1;
  }
  std::printf("data folders ready under %s (%.1f s)\n", base.string().c_str(),
              Seconds(Clock::now() - start));
  Measure(small, 100);
  Measure(big, 1000);
  return 0;
}
