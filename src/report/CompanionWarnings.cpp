#include "rxt4/report/CompanionWarnings.h"

#include "rxt4/data/Strings.h"
#include "rxt4/screens/CompanionData.h"

namespace rxt4 {

void CompanionWarnings::Check(const CDataSet& record) {
  if (const std::optional<std::filesystem::path> file = UnreadableCompanion(record)) Warn(*file);
}

void CompanionWarnings::Warn(const std::filesystem::path& file) {
  if (!warned_.insert(file.string()).second) return;
  if (warned_.size() <= kNamedWarnings)
    observer_.Warning(FillIn(Text(StringId::CompanionUnreadable), {file.string()}));
}

void CompanionWarnings::Finish() {
  if (warned_.size() > kNamedWarnings)
    observer_.Warning(
        FillIn(Text(StringId::CompanionsMore), {std::to_string(warned_.size() - kNamedWarnings)}));
}

}  // namespace rxt4
