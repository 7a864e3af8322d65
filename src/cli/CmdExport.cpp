// rxt4 export: the measurements of a data folder, judged, as an SQLite database, UTF-8
// CSV files and/or an Excel workbook.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/Strings.h"
#include "rxt4/judge/ProfileCatalog.h"
#include "rxt4/link/SettingsFile.h"
#include "rxt4/report/Export.h"

namespace rxt4::cli {
namespace {

// The usage text (rxt4 export --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageExport); }

int UsageError(std::string_view message) { return cli::UsageError("export", message, UsageText()); }

int Finish(const JobOutcome& outcome, const std::string& target, std::size_t measurements) {
  if (outcome.status == JobOutcome::Status::Cancelled) return 130;
  if (!outcome.done()) {
    std::fprintf(stderr, "rxt4 export: %s\n", outcome.message.c_str());
    return 1;
  }
  std::printf("%s\n", FillIn(Text(StringId::CliExported), {target, std::to_string(measurements)}).c_str());
  return 0;
}

void Complain(std::string_view message) {
  std::fprintf(stderr, "rxt4 export: %.*s\n", static_cast<int>(message.size()), message.data());
}

}  // namespace

int RunExport(Args args) {
  std::string folder, sqlite, csv, xlsx, limits;
  bool haveFolder = false, haveLimits = false;
  ExportOptions options;
  std::vector<std::string> sets;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (IsHelpArg(arg)) return PrintHelp(UsageText());
    if (arg == "--set" || arg == "--sqlite" || arg == "--csv" || arg == "--xlsx" || arg == "--limits") {
      if (i + 1 >= args.size()) return UsageError(FillIn(Text(StringId::CheckMissingValue), {arg}));
      const std::string value(args[++i]);
      if (value.empty()) return UsageError(FillIn(Text(StringId::CheckMissingValue), {arg}));
      if (arg == "--set") sets.push_back(value);
      if (arg == "--sqlite") sqlite = value;
      if (arg == "--csv") csv = value;
      if (arg == "--xlsx") xlsx = value;
      if (arg == "--limits") {
        limits = value;
        haveLimits = true;
      }
    } else if (arg == "--samples") {
      options.samples = true;
    } else if (!TakeDataFolder(arg, folder, haveFolder)) {
      return UsageError(FillIn(Text(StringId::CheckBadArgument), {arg}));
    }
  }
  if (!haveFolder) return UsageError(Text(StringId::CheckNoDataFolder));
  if (sqlite.empty() && csv.empty() && xlsx.empty())
    return UsageError(FillIn(Text(StringId::CliRequired), {"--sqlite FILE.db, --csv DIR, --xlsx FILE.xlsx"}));

  // The profile first: nothing is read, let alone judged, without one.
  const ProfileCatalog catalog = ProfileCatalog::Standard(DefaultSettingsPath().parent_path());
  ProfileError error;
  std::vector<ProfileError> skipped;
  const bool found =
      catalog.Find(haveLimits ? std::string_view(limits) : kDefaultProfileName, options.profile, error, &skipped);
  for (const ProfileError& refused : skipped) Complain(FillIn(Text(StringId::ProfileSkipped), {refused.Text()}));
  if (!found) {
    Complain(error.file.empty() ? error.reason : FillIn(Text(StringId::ProfileUnreadable), {error.Text()}));
    return 2;
  }

  StreamedSelection selection;
  if (const int status = LoadSelection("export", folder, sets, selection); status != 0) return status;

  InterruptFlag interrupt;
  const std::size_t n = selection.measurementCount();
  // One observer for every file: a warning about the data is said once.
  ConsoleJobObserver observer("export", StringId::CliProgressExport);
  if (!sqlite.empty()) {
    if (const int status =
            Finish(ExportSqlite(selection, sqlite, options, observer, interrupt.flag()), sqlite, n);
        status != 0)
      return status;
  }
  if (!csv.empty()) {
    if (const int status = Finish(ExportCsv(selection, csv, options, observer, interrupt.flag()), csv, n);
        status != 0)
      return status;
  }
  if (!xlsx.empty()) {
    if (const int status = Finish(ExportXlsx(selection, xlsx, options, observer, interrupt.flag()), xlsx, n);
        status != 0)
      return status;
  }
  return 0;
}

}  // namespace rxt4::cli
