// rxt4 report: the measurement report of a data folder (or of some of its set
// folders) as a PDF file: cover, summary with the verdicts, tables, compare pages and
// the screens.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/Strings.h"
#include "rxt4/judge/ProfileCatalog.h"
#include "rxt4/link/SettingsFile.h"
#include "rxt4/report/Report.h"

namespace rxt4::cli {
namespace {

// The usage text (rxt4 report --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageReport); }

int UsageError(std::string_view message) { return cli::UsageError("report", message, UsageText()); }

// The kinds by the names the export and rxt4 check give them (the kind table's keys).
bool ParseKinds(std::string_view list, std::vector<TransferKind>& kinds) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    const auto kind = std::find_if(kKinds.begin(), kKinds.end(), [&](const KindInfo& k) { return k.key == name; });
    if (kind == kKinds.end()) return false;
    kinds.push_back(kind->transfer);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return !kinds.empty();
}

// The set folder as the file system spells it, or nothing when there is none.
std::optional<std::string> SetFolderName(const std::string& folder, const std::string& name) {
  std::error_code ec;
  const std::filesystem::path resolved = ResolvePath(std::filesystem::path(folder) / name);
  const bool plainName = !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
  if (!plainName || !std::filesystem::is_directory(resolved, ec)) return std::nullopt;
  return resolved.filename().string();
}

}  // namespace

int RunReport(Args args) {
  std::string folder, out, limits;
  bool haveFolder = false, haveLimits = false;
  std::vector<std::string> sets;
  std::optional<std::pair<std::string, std::string>> compare;
  ReportOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (IsHelpArg(arg)) return PrintHelp(UsageText());
    if (arg == "--compare") {
      if (i + 2 >= args.size()) return UsageError(FillIn(Text(StringId::CliRequired), {"--compare SET_A SET_B"}));
      compare.emplace(std::string(args[i + 1]), std::string(args[i + 2]));
      i += 2;
    } else if (arg == "--set" || arg == "--out" || arg == "--per-page" || arg == "--date" || arg == "--limits" ||
               arg == "--screens" || arg == "--kinds" || arg == "--number") {
      if (i + 1 >= args.size()) return UsageError(FillIn(Text(StringId::CheckMissingValue), {arg}));
      const std::string value(args[++i]);
      if (arg == "--set") sets.push_back(value);
      if (arg == "--out") out = value;
      if (arg == "--date") options.date = value;
      if (arg == "--number") options.number = value;
      if (arg == "--limits") {
        limits = value;
        haveLimits = true;
      }
      if (arg == "--per-page") {
        if (value != "2" && value != "4") return UsageError(FillIn(Text(StringId::CliBadValue), {"--per-page", value}));
        options.screensPerPage = std::atoi(value.c_str());
      }
      if (arg == "--screens") {
        if (value == "all") options.screens = ReportScreens::All;
        else if (value == "failed") options.screens = ReportScreens::Failed;
        else if (value == "none") options.screens = ReportScreens::None;
        else return UsageError(FillIn(Text(StringId::CliBadValue), {"--screens", value}));
      }
      if (arg == "--kinds" && !ParseKinds(value, options.kinds))
        return UsageError(FillIn(Text(StringId::CliBadValue), {"--kinds", value}));
    } else if (!TakeDataFolder(arg, folder, haveFolder)) {
      return UsageError(FillIn(Text(StringId::CheckBadArgument), {arg}));
    }
  }
  if (!haveFolder) return UsageError(Text(StringId::CheckNoDataFolder));
  if (out.empty()) return UsageError(FillIn(Text(StringId::CliRequired), {"--out FILE.pdf"}));
  const std::time_t now = std::time(nullptr);
  if (options.date.empty()) options.date = ReportDateText(now);
  if (options.number.empty()) options.number = ReportNumberText(now);

  // The profile first, as rxt4 check takes it: nothing is judged with a half-read one.
  const ProfileCatalog catalog = ProfileCatalog::Standard(DefaultSettingsPath().parent_path());
  auto profile = std::make_shared<LimitsProfile>();
  ProfileError error;
  std::vector<ProfileError> skipped;
  const bool found =
      catalog.Find(haveLimits ? std::string_view(limits) : kDefaultProfileName, *profile, error, &skipped);
  for (const ProfileError& refused : skipped)
    std::fprintf(stderr, "rxt4 report: %s\n", FillIn(Text(StringId::ProfileSkipped), {refused.Text()}).c_str());
  if (!found) {
    const std::string why =
        error.file.empty() ? error.reason : FillIn(Text(StringId::ProfileUnreadable), {error.Text()});
    std::fprintf(stderr, "rxt4 report: %s\n", why.c_str());
    return 2;
  }
  options.profile = std::move(profile);

  StreamedSelection selection;
  if (const int status = LoadSelection("report", folder, sets, selection); status != 0) return status;
  if (compare) {
    const std::optional<std::string> a = SetFolderName(folder, compare->first);
    const std::optional<std::string> b = SetFolderName(folder, compare->second);
    if (!a || !b) {
      std::fprintf(stderr, "rxt4 report: %s\n",
                   FillIn(Text(StringId::CliNoSetFolder), {a ? compare->second : compare->first, folder}).c_str());
      return 2;
    }
    options.compare.emplace(*a, *b);
  }

  InterruptFlag interrupt;
  ConsoleJobObserver observer("report", StringId::CliProgressReport);
  TakeRecords(selection, DefaultSettingsPath().parent_path(), options, observer);
  const JobOutcome outcome = WriteReport(selection, out, options, observer, interrupt.flag());
  if (outcome.status == JobOutcome::Status::Cancelled) return 130;
  if (!outcome.done()) {
    std::fprintf(stderr, "rxt4 report: %s\n", outcome.message.c_str());
    return 1;
  }
  std::printf("%s\n", FillIn(Text(StringId::CliReported), {out, std::to_string(selection.measurementCount()),
                                                           std::to_string(selection.Folders().size())})
                         .c_str());
  return 0;
}

}  // namespace rxt4::cli
