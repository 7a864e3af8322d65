// Firmware upload speed against rxt4-sim --update-mode --line-rate at 115200 baud.
// XMODEM-1K's floor per block is 1029 bytes out and one ACK byte back at 10 bits per
// byte; the upload should stay within 3 % of it. Usage: bench_update [--kib N]
// (default 1024: a 1 MB Main part, about a minute and a half).

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "BenchUtil.h"
#include "rxt4/link/Crc.h"
#include "rxt4/link/FirmwareSendCommand.h"
#include "rxt4/link/UpdateThread.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using rxt4::bench::Clock;
using rxt4::bench::Seconds;

constexpr int kBaudRate = 115200;
constexpr double kBitsPerByte = 10.0;
constexpr double kAllowedOverhead = 0.03;

// A Main part of exactly partBytes bytes (header, body, CRC-32).
std::vector<std::uint8_t> MainPart(std::size_t partBytes) {
  const std::size_t body = partBytes - 36;
  const std::size_t a = body / 2, b = body - a;
  std::vector<std::uint8_t> p = {'B', 'E', 'N', 'C', 'H', ' ', ' ', ' '};
  const char* sig = "VEXOLA RXT4 Main";
  p.insert(p.end(), sig, sig + 16);
  for (std::size_t v : {a, b}) {
    p.push_back(static_cast<std::uint8_t>(v >> 16));
    p.push_back(static_cast<std::uint8_t>(v >> 8));
    p.push_back(static_cast<std::uint8_t>(v));
  }
  p.push_back(0);
  unsigned sum = 0;
  for (std::uint8_t x : p) sum += x;
  p.push_back(static_cast<std::uint8_t>(sum));
  for (std::size_t i = 0; i < body; ++i) p.push_back(static_cast<std::uint8_t>(i * 31 + (i >> 10)));
  const std::uint32_t crc = rxt4::Crc32Mpeg2(p);
  for (int s = 24; s >= 0; s -= 8) p.push_back(static_cast<std::uint8_t>(crc >> s));
  return p;
}

struct Observer final : rxt4::UpdateObserver {
  void state(bool, int) override {}
  void progress(std::uint32_t block, std::uint32_t) override {
    std::lock_guard lock(mutex);
    if (block == 1 && !started) {
      started = true;
      firstBlock = Clock::now();  // "C" arrived: the upload proper begins
    }
  }
  void versions(const std::string&, const std::string&) override {}
  void finished(rxt4::LinkResult r, int) override {
    std::lock_guard lock(mutex);
    result = r;
    end = Clock::now();
    done = true;
    cv.notify_all();
  }
  std::mutex mutex;
  std::condition_variable cv;
  bool started = false;
  bool done = false;
  Clock::time_point firstBlock, end;
  rxt4::LinkResult result = rxt4::LinkResult::Cancelled;
};

}  // namespace

int main(int argc, char** argv) {
  long kib = 1024;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--kib" && i + 1 < argc) kib = std::strtol(argv[++i], nullptr, 10);
  }
  if (kib < 1) kib = 1;
  const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
  const fs::path dir = fs::temp_directory_path() / ("rxt4_bench_update_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path link = dir / "port";

  // One byte short of N KiB, so the part fills N blocks exactly without the extra 0x1A block.
  const std::vector<std::uint8_t> part = MainPart(static_cast<std::size_t>(kib) * 1024 - 1);
  {
    std::ofstream out(dir / "fw.img", std::ios::binary);
    out.write(reinterpret_cast<const char*>(part.data()), static_cast<std::streamsize>(part.size()));
  }

  std::vector<std::string> args = {(bin / "rxt4-sim").string(), "--link", link.string(), "--update-mode",
                                   "--line-rate", "--baud", std::to_string(kBaudRate), "--received",
                                   (dir / "rx").string()};
  std::vector<char*> av;
  for (auto& a : args) av.push_back(a.data());
  av.push_back(nullptr);
  pid_t sim = -1;
  if (posix_spawn(&sim, av[0], nullptr, nullptr, av.data(), environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", av[0]);
    return 1;
  }
  for (int i = 0; i < 500 && !fs::is_symlink(link); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));

  Observer observer;
  const auto start = Clock::now();
  {
    rxt4::CUpdateThread job(&observer);
    if (!job.Prepare(dir / "fw.img") || !job.Start({link.string(), kBaudRate})) {
      std::fprintf(stderr, "cannot start the update\n");
    } else {
      std::unique_lock lock(observer.mutex);
      observer.cv.wait(lock, [&] { return observer.done; });
    }
  }
  ::kill(sim, SIGTERM);
  ::waitpid(sim, nullptr, 0);

  std::ifstream in(dir / "rx" / "main.bin", std::ios::binary);
  const std::vector<std::uint8_t> received((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fs::remove_all(dir);

  const std::uint32_t blocks = rxt4::XmodemBlockCount(static_cast<std::uint32_t>(part.size()));
  const double byteSeconds = kBitsPerByte / kBaudRate;
  // Every block and the EOT: 1029 bytes (1 for EOT) out, one ACK back.
  const double floorSeconds = (blocks * (rxt4::kXmodemPacketBytes + 1.0) + 2.0) * byteSeconds;
  const double upload = Seconds(observer.end - observer.firstBlock);
  const double total = Seconds(observer.end - start);
  const double overhead = upload / floorSeconds - 1.0;
  std::printf("part %zu bytes, %u blocks at %d baud\n", part.size(), blocks, kBaudRate);
  std::printf("result %d, received %s\n", rxt4::ToInt(observer.result), received == part ? "byte-exact" : "DIFFERENT");
  std::printf("XMODEM floor      %8.3f s\n", floorSeconds);
  std::printf("upload (C..end)   %8.3f s  (%+.2f %% over the floor; allowed %.0f %%)\n", upload, overhead * 100,
              kAllowedOverhead * 100);
  std::printf("whole update      %8.3f s  (wake-up, version and announce included)\n", total);
  const bool ok = observer.result == rxt4::LinkResult::Success && received == part && overhead <= kAllowedOverhead;
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}
