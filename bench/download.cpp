// Download benchmark against rxt4-sim (built beside this program).
//  1. Paced: the simulator sends and receives at 10 bits per byte at 115200 baud;
//     the download of the demonstration data is compared with the protocol's floor
//     (every request and reply byte on the line, back to back, no gaps).
//  2. Unpaced: exchanges per second over a pseudo-terminal.
// Usage: bench_download [--runs N]

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "BenchUtil.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/link/TransferText.h"
#include "rxt4/link/TransferThread.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using rxt4::bench::Clock;
using rxt4::bench::Seconds;

constexpr int kBaud = 115200;
constexpr double kBitsPerByte = 10.0;
// Request and reply sizes on the line (8 bytes of framing plus the payload).
constexpr long kConnectBytes = 8 + 12;
constexpr long kBaudCheckBytes = 8 + 13;
constexpr long kModeBytes = 8 + 10;
constexpr long kBlockExchangeBytes = 12 + 198;

struct Sim {
  pid_t pid = -1;
  fs::path link;
  Sim(const fs::path& binDir, const fs::path& folder, std::vector<std::string> args) : link(folder / "port") {
    std::vector<std::string> all = {(binDir / "rxt4-sim").string(), "--link", link.string(), "--mode-wait", "0"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid = -1;
    for (int i = 0; i < 500 && pid > 0 && !fs::is_symlink(link); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ~Sim() {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      int status;
      ::waitpid(pid, &status, 0);
    }
  }
};

struct Quiet final : rxt4::TransferObserver {
  void progress(rxt4::TransferKind, int) override {}
  void modeWait() override {}
  void finished(rxt4::LinkResult, int) override {}
};

// One whole download; seconds, or a negative value on failure.
double Download(const std::string& port, const fs::path& out) {
  fs::remove_all(out);
  fs::create_directories(out);
  Quiet quiet;
  rxt4::CTransferThread job(&quiet);
  rxt4::CommSettings s;
  s.comPort = port;
  s.baudRate = kBaud;
  const auto start = Clock::now();
  if (!job.Start(s, out)) return -1;
  job.Join();
  const double seconds = Seconds(Clock::now() - start);
  if (job.outcome().result != rxt4::LinkResult::Success) {
    std::fprintf(stderr, "download failed: %s\n", rxt4::TransferFinalText(job.outcome().result, job.outcome().value).c_str());
    return -1;
  }
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  if (argc == 3 && std::strcmp(argv[1], "--runs") == 0) runs = std::max(1, std::atoi(argv[2]));
  const fs::path binDir = fs::absolute(fs::path(argv[0])).parent_path();
  const fs::path temp = fs::temp_directory_path() / ("rxt4_bench_download_" + std::to_string(::getpid()));
  fs::create_directories(temp);

  // Bytes on the line and exchanges for the demonstration data.
  long bytes = kConnectBytes + kBaudCheckBytes + kModeBytes;
  long exchanges = 3;
  for (const rxt4::KindImage& image : rxt4::BuildDemoImages()) {
    const long total = image.size() < 8 ? 8 : static_cast<long>(image.size());
    const long blocks = (total - 8 + 179) / 180 + 1;
    bytes += blocks * kBlockExchangeBytes;
    exchanges += blocks;
  }
  const double floorSeconds = static_cast<double>(bytes) * kBitsPerByte / kBaud;

  int status = 0;
  {
    Sim sim(binDir, temp, {"--line-rate", "--baud", std::to_string(kBaud)});
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
      double t = Download(sim.link.string(), temp / "paced" / "SET");
      if (t < 0) return 1;
      times.push_back(t);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double overhead = (median / floorSeconds - 1.0) * 100.0;
    std::printf("paced at %d baud: %ld exchanges, %ld bytes on the line\n", kBaud, exchanges, bytes);
    std::printf("  protocol floor  %.3f s\n", floorSeconds);
    std::printf("  download        %.3f s median of %d (best %.3f s)\n", median, runs, times.front());
    std::printf("  overhead        %+.2f %% (limit 3 %%)\n", overhead);
    if (overhead > 3.0) status = 1;
  }
  {
    Sim sim(binDir, temp, {"--baud", std::to_string(kBaud)});
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
      double t = Download(sim.link.string(), temp / "unpaced" / "SET");
      if (t < 0) return 1;
      times.push_back(t);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("unpaced: %ld exchanges in %.3f s median: %.0f exchanges/s\n", exchanges, median, exchanges / median);
  }
  fs::remove_all(temp);
  return status;
}
