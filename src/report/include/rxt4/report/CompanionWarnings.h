#pragma once
// The warnings of a job about companion files that give no graph (missing,
// unreadable, no regular file, too long, malformed): each file is named once, the
// first few by name and the rest counted at the end. The export, the report and
// `rxt4 render` warn alike.

#include <filesystem>
#include <string>
#include <unordered_set>

#include "rxt4/data/CDataSet.h"
#include "rxt4/report/JobObserver.h"

namespace rxt4 {

class CompanionWarnings {
 public:
  // Companion files named one by one; the rest are counted.
  static constexpr int kNamedWarnings = 5;

  explicit CompanionWarnings(JobObserver& observer) : observer_(observer) {}

  // Warns when the record's companion file gives no graph (UnreadableCompanion).
  void Check(const CDataSet& record);
  // Warns about a companion file found to give no graph.
  void Warn(const std::filesystem::path& file);
  // The count of the files beyond those named, if any.
  void Finish();

 private:
  JobObserver& observer_;
  std::unordered_set<std::string> warned_;
};

}  // namespace rxt4
