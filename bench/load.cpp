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

#include "Archive.h"
#include "BenchUtil.h"
#include "rxt4/data/DataFolderModel.h"

namespace {

namespace fs = std::filesystem;
using rxt4::bench::Clock;
using rxt4::bench::Seconds;

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
  const fs::path base = rxt4::bench::ArchiveBase();
  const fs::path big = base / "sets1000";
  const fs::path small = base / "sets100";
  auto start = Clock::now();
  if (!rxt4::bench::GenerateArchive(big, 1000) || !rxt4::bench::GenerateArchive(small, 100)) {
    std::fprintf(stderr, "bench_load: could not write the data folders under %s\n", base.string().c_str());
    return 1;
  }
  std::printf("data folders ready under %s (%.1f s)\n", base.string().c_str(),
              Seconds(Clock::now() - start));
  Measure(small, 100);
  Measure(big, 1000);
  return 0;
}
