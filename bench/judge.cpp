// Judging a loaded archive again, as the viewer does when the limits profile changes:
// a FolderJudgement of the 1,000-set archive of bench_check (292,000 measurements)
// made from the model already loaded, with each shipped profile in turn, by as many
// threads as the judgement takes by default and by one. The viewer judges on its
// user-interface thread; this is how long the tree's marks take to follow a change.
// Figures are the medians of the runs (the first, warming the caches, left out).
// Usage: bench_judge [--runs N]

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Archive.h"
#include "BenchUtil.h"
#include "rxt4/judge/FolderJudgement.h"
#include "rxt4/judge/ProfileCatalog.h"

namespace {

using rxt4::bench::Clock;
using rxt4::bench::Seconds;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = rxt4::bench::RunsArg(argc, argv, 9);
  const std::filesystem::path archive = rxt4::bench::ArchiveBase() / "sets1000";
  if (!rxt4::bench::GenerateArchive(archive, 1000)) {
    std::fprintf(stderr, "bench_judge: cannot write the archive under %s\n", rxt4::bench::ArchiveBase().c_str());
    return 1;
  }
  rxt4::DataFolderModel model;
  rxt4::NullLoadObserver quiet;
  const auto loadStart = Clock::now();
  model.Load(archive, quiet);
  std::printf("%s: %d tree items, loaded in %.3f s\n", archive.c_str(), model.itemCount(),
              Seconds(Clock::now() - loadStart));
  const rxt4::ProfileCatalog catalog({rxt4::InstalledLimitsFolder()});
  std::vector<rxt4::LimitsProfile> profiles;
  for (const rxt4::ProfileEntry& entry : catalog.List()) {
    rxt4::LimitsProfile profile;
    rxt4::ProfileError error;
    if (rxt4::LimitsProfile::Load(entry.file, profile, error)) profiles.push_back(profile);
  }
  if (profiles.empty()) {
    std::fprintf(stderr, "bench_judge: no profile under %s\n", rxt4::InstalledLimitsFolder().c_str());
    return 1;
  }
  for (int threads : {0, 1}) {
    std::vector<double> seconds;
    for (int r = 0; r <= runs; ++r) {
      const rxt4::LimitsProfile& profile = profiles[static_cast<std::size_t>(r) % profiles.size()];
      const auto start = Clock::now();
      const rxt4::FolderJudgement judgement(model, profile, {}, nullptr, rxt4::JudgeOptions{threads});
      const double s = Seconds(Clock::now() - start);
      if (judgement.Overall().measurements.total() == 0) return 1;
      if (r > 0) seconds.push_back(s);
    }
    std::printf("judging again, %s: median of %d runs %.3f s\n", threads == 0 ? "default threads" : "one thread", runs,
                Median(seconds));
  }
  return 0;
}
