#include "rxt4/report/CompanionWarnings.h"

#include "rxt4/screens/CompanionData.h"

namespace rxt4 {

void CompanionWarnings::Check(const CDataSet& record) {
  if (const std::optional<std::filesystem::path> file = UnreadableCompanion(record)) Warn(*file);
}

void CompanionWarnings::Warn(const std::filesystem::path& file) {
  if (!warned_.insert(file.string()).second) return;
  if (warned_.size() <= kNamedWarnings)
    observer_.Warning(file.string() + ": companion file missing or malformed; its graph is left out");
}

void CompanionWarnings::Finish() {
  if (warned_.size() > kNamedWarnings)
    observer_.Warning(std::to_string(warned_.size() - kNamedWarnings) +
                      " more companion files could not be read; their graphs are left out");
}

}  // namespace rxt4
