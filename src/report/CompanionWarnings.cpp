#include "rxt4/report/CompanionWarnings.h"

#include "rxt4/data/Strings.h"
#include "rxt4/screens/CompanionData.h"

namespace rxt4 {

void CompanionWarnings::Check(const CDataSet& record) {
  if (const std::optional<std::filesystem::path> file = UnreadableCompanion(record)) Warn(*file);
}

void CompanionWarnings::Warn(const std::filesystem::path& file) {
  if (!warned_.insert(file.string()).second) return;
  if (warned_.size() <= kNamedWarnings) observer_.Warn({JobWarning::Kind::CompanionUnreadable, file.string(), 0});
}

void CompanionWarnings::Finish() {
  if (warned_.size() > kNamedWarnings)
    observer_.Warn({JobWarning::Kind::CompanionsMore, {}, static_cast<int>(warned_.size() - kNamedWarnings)});
}

std::string WarningText(const JobWarning& w) {
  using K = JobWarning::Kind;
  switch (w.kind) {
    case K::CompanionUnreadable: return FillIn(Text(StringId::RptWarnCompanion), {w.subject});
    case K::CompanionsMore: return FillIn(Text(StringId::RptWarnCompanionMore), {std::to_string(w.count)});
    case K::ScreenFontMissing: return FillIn(Text(StringId::RptWarnScreenFont), {w.subject});
    case K::NoFont: return std::string(Text(StringId::RptWarnNoFont));
    case K::FontSubstitute: return FillIn(Text(StringId::RptWarnFontSubstitute), {w.subject});
    case K::NoJapaneseFont: return std::string(Text(StringId::RptWarnNoJapaneseFont));
    case K::LogoUnreadable: return FillIn(Text(StringId::RptWarnLogo), {w.subject});
    case K::CompareSetMissing: return FillIn(Text(StringId::RptWarnCompareSet), {w.subject});
    case K::RecordUnreadable: return FillIn(Text(StringId::RptWarnJobRecord), {w.subject});
  }
  return {};
}

}  // namespace rxt4
