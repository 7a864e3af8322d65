// Judging benchmark: `rxt4 check` of the 1,000-set archive of bench_load (292,000
// measurements, tables only) against `rxt4 list --summary` of it, both run as the
// user runs them (rxt4 built beside this program, a fresh process each time, output
// to /dev/null), one after the other in the same run, after one warm-up run of each
// (the archive read from the page cache), in turn, each run starting with another
// command, with a pause before each. Judging is part of loading's cost: check
// must stay within 1.2x list --summary. The JSON and --verbose forms are timed too.
// Figures are the medians of the runs.
// Usage: bench_check [--runs N]

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "Archive.h"
#include "BenchUtil.h"

namespace {

namespace fs = std::filesystem;
using rxt4::bench::Clock;
using rxt4::bench::Seconds;

constexpr double kAllowedRatio = 1.2;
constexpr std::chrono::milliseconds kSettle{300};

// Seconds of one run of the command; negative when it did not run as expected
// (rxt4 check exits 0 or 1, rxt4 list 0).
double TimeCommand(const std::string& command, int maxStatus) {
  const auto start = Clock::now();
  const int raw = std::system((command + " >/dev/null").c_str());
  const double seconds = Seconds(Clock::now() - start);
  if (raw == -1 || !WIFEXITED(raw) || WEXITSTATUS(raw) > maxStatus) return -1;
  return seconds;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = rxt4::bench::RunsArg(argc, argv, 7);
  const fs::path rxt4 = fs::absolute(fs::path(argv[0])).parent_path() / "rxt4";
  const fs::path archive = rxt4::bench::ArchiveBase() / "sets1000";
  if (!rxt4::bench::GenerateArchive(archive, 1000)) {
    std::fprintf(stderr, "bench_check: cannot write the archive under %s\n", rxt4::bench::ArchiveBase().c_str());
    return 1;
  }
  const std::string quoted = "'" + rxt4.string() + "' ";
  const std::string folder = " '" + archive.string() + "'";
  struct Command {
    const char* what;
    std::string line;
    int maxStatus;
    std::vector<double> seconds;
  };
  std::vector<Command> commands = {
      {"rxt4 list --summary", quoted + "list --summary" + folder, 0, {}},
      {"rxt4 check", quoted + "check" + folder, 1, {}},
      {"rxt4 check --format json", quoted + "check --format json" + folder, 1, {}},
      {"rxt4 check --verbose", quoted + "check --verbose" + folder, 1, {}},
  };
  std::string lines;
  {
    const std::string count = quoted + "check" + folder + " | wc -l";
    if (std::FILE* p = ::popen(count.c_str(), "r")) {
      char text[32] = {};
      if (std::fgets(text, sizeof text, p)) lines = text;
      ::pclose(p);
    }
  }
  std::printf("%s: 1000 set folders; rxt4 check prints %s", archive.c_str(), lines.empty() ? "?\n" : lines.c_str());
  for (Command& c : commands) TimeCommand(c.line, c.maxStatus);  // warm-up: page cache, the program itself
  for (int r = 0; r < runs; ++r) {
    // In turn, each run starting one further on, so that no command always follows
    // the same one; a pause lets the system take back the memory of the one before.
    for (std::size_t k = 0; k < commands.size(); ++k) {
      Command& c = commands[(k + static_cast<std::size_t>(r)) % commands.size()];
      std::this_thread::sleep_for(kSettle);
      const double s = TimeCommand(c.line, c.maxStatus);
      if (s < 0) {
        std::printf("%s: FAILED\n", c.what);
        return 1;
      }
      c.seconds.push_back(s);
    }
  }
  const double list = Median(commands[0].seconds);
  std::printf("medians of %d runs:\n", runs);
  for (const Command& c : commands)
    std::printf("  %-26s %7.3f s  %5.2fx list --summary\n", c.what, Median(c.seconds), Median(c.seconds) / list);
  const double ratio = Median(commands[1].seconds) / list;
  std::printf("rxt4 check within %.1fx rxt4 list --summary: %s (%.2fx)\n", kAllowedRatio,
              ratio <= kAllowedRatio ? "yes" : "NO", ratio);
  return ratio <= kAllowedRatio ? 0 : 2;
}
