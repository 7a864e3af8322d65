#pragma once
// Helpers the benchmark programs share: the clock, the --runs argument and the
// demonstration data folder loaded as the viewer loads it.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/screens/Fonts.h"

namespace rxt4::bench {

using Clock = std::chrono::steady_clock;

// A duration in seconds.
inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The N of "--runs N" on the command line (at least 1), or fallback.
inline int RunsArg(int argc, char** argv, int fallback = 5) {
  int runs = fallback;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
  return runs;
}

// The demonstration data folder written into a work folder of this process under
// the system's temporary folder, and loaded.
struct DemoBench {
  std::filesystem::path work;
  std::filesystem::path data;
  DataFolderModel model;

  // Writes and loads the data for bench_<name>; false (after a message) when it cannot be written.
  bool Prepare(const char* name) {
    work = std::filesystem::temp_directory_path() / ("rxt4-bench-" + std::string(name) + "-" + std::to_string(::getpid()));
    data = work / "RXT4";
    if (!WriteDemoFolder(data)) {
      std::fprintf(stderr, "bench_%s: cannot write the demonstration data to %s\n", name, data.c_str());
      return false;
    }
    NullLoadObserver quiet;
    model.Load(data, quiet);
    return true;
  }
};

// The installed screen font (or its fallback), reported on a "font:" line.
inline std::shared_ptr<const FontSet> DefaultFontsReported() {
  std::string warning;
  auto fonts = FontSet::CreateDefault(&warning);
  std::printf("font: %s%s\n", fonts->source().Describe().c_str(), warning.empty() ? "" : (" (" + warning + ")").c_str());
  return fonts;
}

}  // namespace rxt4::bench
