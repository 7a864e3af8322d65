// Loading a large data folder into the data folder model, against the floor of the
// disk: the same table and count files read bare (open, read, close, nothing parsed),
// by one thread and by 16 threads over the set folders, measured in the same run.
// Warm rows read from the page cache; cold rows first evict every file of the folder
// from it (posix_fadvise DONTNEED, no root needed; folder entries stay cached).
// Each load runs in a fresh process of its own, so that its peak memory is its own.
// Figures are medians of the runs: wall time, with the processor time of all threads
// in parentheses; load/read1 and load/read16 divide the load's wall time by the
// floors'; peak/tables is the load's peak resident memory over the table bytes.
//
// Usage: bench_load [--runs N] [--threads N] [--reads batched|file-by-file] [DATA_FOLDER...]
// --reads file-by-file measures the load that opens and reads one file after the other
// (what it does where the system offers no batched reads).
// Without a folder, generates (once, under the system's temporary folder) data folders
// of 100 and of 1,000 set folders with all seven kinds and their companion files.

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Archive.h"
#include "BenchUtil.h"
#include "rxt4/data/DataFolderModel.h"

namespace {

namespace fs = std::filesystem;
using rxt4::bench::Clock;
using rxt4::bench::Seconds;

constexpr int kFloorThreads = 16;

// ---- What a data folder holds ----------------------------------------------------

struct FolderFiles {
  std::vector<std::vector<std::string>> tablesBySet;  // the table and count files of each set folder
  std::vector<std::string> all;                       // every file, companions included
  std::uintmax_t tableBytes = 0;
  std::size_t tableFiles = 0;
  int sets = 0;
};

bool IsTableOrCount(const fs::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext == ".CSV" || ext == ".CNT";
}

FolderFiles ListFiles(const fs::path& folder) {
  FolderFiles files;
  std::vector<fs::path> setFolders;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.is_directory()) setFolders.push_back(e.path());
  std::sort(setFolders.begin(), setFolders.end());
  for (const fs::path& set : setFolders) {
    std::vector<std::string>& tables = files.tablesBySet.emplace_back();
    for (const auto& e : fs::recursive_directory_iterator(set)) {
      if (!e.is_regular_file()) continue;
      files.all.push_back(e.path().string());
      if (!IsTableOrCount(e.path())) continue;
      tables.push_back(e.path().string());
      files.tableBytes += e.file_size();
      ++files.tableFiles;
    }
  }
  files.sets = static_cast<int>(setFolders.size());
  return files;
}

// Drops every file of the folder from the page cache.
void Evict(const FolderFiles& files) {
  for (const std::string& path : files.all) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
  }
}

// Processor time (user and system, all threads) of this process so far, in seconds.
double CpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

// ---- The floor: bare reads ---------------------------------------------------------

std::uint64_t BareRead(const std::vector<std::string>& paths, std::vector<char>& buffer) {
  std::uint64_t total = 0;
  for (const std::string& path : paths) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    ssize_t got;
    while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) total += static_cast<std::uint64_t>(got);
    ::close(fd);
  }
  return total;
}

struct Timing {
  double seconds = 0;
  double cpu = 0;  // processor seconds, all threads
};

Timing TimeBareRead(const FolderFiles& files, int threads) {
  const double cpuStart = CpuSeconds();
  const auto start = Clock::now();
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    std::vector<char> buffer(256 * 1024);
    for (std::size_t i; (i = next++) < files.tablesBySet.size();) BareRead(files.tablesBySet[i], buffer);
  };
  std::vector<std::thread> helpers;
  for (int t = 1; t < threads; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& t : helpers) t.join();
  return {Seconds(Clock::now() - start), CpuSeconds() - cpuStart};
}

// ---- The load, in a child process ------------------------------------------------------

long StatusKb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size()));
  return -1;
}

struct LoadFigures {
  double seconds = 0;
  double cpu = 0;
  double peakMb = 0;  // peak resident size during the load over the size before it
  int measurements = 0;
};

// The load of one folder in this process: prints seconds, peak and measurements.
int LoadChild(const char* folder, int threads, bool batched) {
  const long before = StatusKb("VmRSS:");
  rxt4::DataFolderModel model;
  std::vector<rxt4::LoadMessage> messages;
  const double cpuStart = CpuSeconds();
  const auto start = Clock::now();
  model.Load(folder, messages, rxt4::LoadOptions{threads, batched});
  const double seconds = Seconds(Clock::now() - start);
  std::printf("%.6f %.6f %.3f %d\n", seconds, CpuSeconds() - cpuStart,
              static_cast<double>(StatusKb("VmHWM:") - before) / 1024.0, model.measurementCount());
  return 0;
}

// The load in a fresh process of this program (not a fork, whose pages would be
// shared with this one until written), as the viewer or rxt4 loads it.
LoadFigures TimeLoad(const fs::path& folder, int threads, bool batched) {
  LoadFigures figures;
  const std::string command = "'" + fs::read_symlink("/proc/self/exe").string() + "' --load-child '" +
                              folder.string() + "' " + std::to_string(threads) + (batched ? " 1" : " 0");
  std::FILE* child = ::popen(command.c_str(), "r");
  if (!child) return figures;
  if (std::fscanf(child, "%lf %lf %lf %d", &figures.seconds, &figures.cpu, &figures.peakMb, &figures.measurements) != 4)
    figures = LoadFigures{};
  ::pclose(child);
  return figures;
}

// ---- Measuring and printing --------------------------------------------------------------

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

struct Row {
  Timing load, sequential, parallel;
  double peakMb = 0;
  int measurements = 0;
};

Timing Median(const std::vector<Timing>& runs) {
  std::vector<double> seconds, cpu;
  for (const Timing& t : runs) {
    seconds.push_back(t.seconds);
    cpu.push_back(t.cpu);
  }
  return {Median(seconds), Median(cpu)};
}

// Medians over runs; cold runs evict the folder before each measurement. The three are
// taken in turn, so that a change in the machine's load touches all of them alike.
Row Measure(const fs::path& folder, const FolderFiles& files, bool cold, int runs, int threads, bool batched) {
  std::vector<Timing> load, sequential, parallel;
  std::vector<double> peak;
  Row row;
  if (!cold) TimeBareRead(files, kFloorThreads);  // into the page cache
  for (int run = 0; run < runs; ++run) {
    if (cold) Evict(files);
    sequential.push_back(TimeBareRead(files, 1));
    if (cold) Evict(files);
    parallel.push_back(TimeBareRead(files, kFloorThreads));
    if (cold) Evict(files);
    const LoadFigures figures = TimeLoad(folder, threads, batched);
    load.push_back({figures.seconds, figures.cpu});
    peak.push_back(figures.peakMb);
    row.measurements = figures.measurements;
  }
  row.load = Median(load);
  row.sequential = Median(sequential);
  row.parallel = Median(parallel);
  row.peakMb = Median(peak);
  return row;
}

void PrintRow(const char* cache, const Row& row, double tableMb) {
  std::printf("  %-4s  %6.3f s (%5.3f)  %6.3f s (%5.3f)  %6.3f s (%5.3f)   %5.2fx   %5.2fx    %5.2fx  (%.1f MB)\n", cache,
              row.load.seconds, row.load.cpu, row.sequential.seconds, row.sequential.cpu, row.parallel.seconds,
              row.parallel.cpu, row.load.seconds / row.sequential.seconds, row.load.seconds / row.parallel.seconds,
              row.peakMb / tableMb, row.peakMb);
}

struct FolderResult {
  int sets = 0;
  Row warm, cold;
};

FolderResult MeasureFolder(const fs::path& folder, int runs, int threads, bool batched) {
  const FolderFiles files = ListFiles(folder);
  const double tableMb = static_cast<double>(files.tableBytes) / (1024.0 * 1024.0);
  FolderResult result;
  result.sets = files.sets;
  result.warm = Measure(folder, files, false, runs, threads, batched);
  result.cold = Measure(folder, files, true, runs, threads, batched);
  std::printf("\n%s: %d set folders, %d measurements, %zu table and count files (%.1f MiB), %zu files in all\n",
              folder.string().c_str(), files.sets, result.warm.measurements, files.tableFiles, tableMb,
              files.all.size());
  std::printf("  cache  load (cpu)          bare read 1 (cpu)   bare read %d (cpu)  load/read1 load/read%d  peak/tables\n",
              kFloorThreads, kFloorThreads);
  PrintRow("warm", result.warm, tableMb);
  PrintRow("cold", result.cold, tableMb);
  return result;
}

int IntArg(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return std::max(1, std::atoi(argv[i + 1]));
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "--load-child") == 0)
    return LoadChild(argv[2], std::atoi(argv[3]), std::strcmp(argv[4], "1") == 0);
  const int runs = rxt4::bench::RunsArg(argc, argv, 3);
  const int threads = IntArg(argc, argv, "--threads", rxt4::LoadOptions{}.threads);
  bool batched = true;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--reads") == 0) batched = std::strcmp(argv[i + 1], "file-by-file") != 0;
  std::vector<fs::path> folders;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--", 2) == 0) {
      ++i;  // every option takes a value
      continue;
    }
    folders.emplace_back(argv[i]);
  }
  if (folders.empty()) {
    const fs::path base = rxt4::bench::ArchiveBase(true);
    folders = {base / "sets100", base / "sets1000"};
    const auto start = Clock::now();
    if (!rxt4::bench::GenerateArchive(folders[0], 100, true) || !rxt4::bench::GenerateArchive(folders[1], 1000, true)) {
      std::fprintf(stderr, "bench_load: could not write the data folders under %s\n", base.string().c_str());
      return 1;
    }
    std::printf("data folders ready under %s (%.1f s)\n", base.string().c_str(), Seconds(Clock::now() - start));
  }
  const char* reads = !batched ? "file by file"
                      : rxt4::BatchedReadsAvailable() ? "in batches (io_uring)"
                                                      : "file by file (the system offers no batched reads)";
  std::printf("load: %d reader threads, reading %s; medians of %d runs; %u cores\n", threads, reads, runs,
              std::thread::hardware_concurrency());
  std::vector<FolderResult> results;
  for (const fs::path& folder : folders) results.push_back(MeasureFolder(folder, runs, threads, batched));
  // Cost per set folder: equal figures mean the load grows linearly with the archive.
  if (results.size() == 2 && results[0].sets > 0 && results[1].sets > 0) {
    for (auto [cache, a, b] : {std::tuple{"warm", results[0].warm.load.seconds, results[1].warm.load.seconds},
                               std::tuple{"cold", results[0].cold.load.seconds, results[1].cold.load.seconds}})
      std::printf("\nper set folder (%s): %.3f ms at %d sets, %.3f ms at %d sets (ratio %.2f)", cache,
                  1e3 * a / results[0].sets, results[0].sets, 1e3 * b / results[1].sets, results[1].sets,
                  (b / results[1].sets) / (a / results[0].sets));
    std::printf("\n");
  }
  return 0;
}
