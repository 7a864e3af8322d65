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

constexpr const char* kExportUsage =
    "usage: rxt4 export DATA_FOLDER [--set NAME]... [--limits NAME|FILE] [--samples]\n"
    "                   [--sqlite FILE.db] [--csv DIR] [--xlsx FILE.xlsx]\n"
    "\n"
    "Loads the data folder as the viewer does, judges every reading against a limits\n"
    "profile and exports the measurements: a table of the set folders (set_id, job,\n"
    "download time, verdict), one table per kind (texts in UTF-8, numbers as numbers,\n"
    "the instrument's markers as NULL with the stored text beside them, a verdict per\n"
    "measurement and per reading), the multi-channel rows, the readings (one row per\n"
    "judged reading, markers in words) and the profile used. docs/export.md describes\n"
    "the tables. Loader messages go to standard error. Each file is written under a\n"
    "temporary name and renamed when complete.\n"
    "\n"
    "  --set NAME          only this set folder (repeatable; default: every set folder)\n"
    "  --limits NAME|FILE  the limits profile, as for rxt4 check (default: テレビ端子)\n"
    "  --samples           also the graph data of the companion files: spectrum and\n"
    "                      delay-profile samples, constellation images as PNG\n"
    "  --sqlite FILE       write an SQLite database (replacing FILE)\n"
    "  --csv DIR           write the same tables as DIR/<table>.csv (UTF-8 with a\n"
    "                      byte-order mark); with --samples the images as\n"
    "                      DIR/constellation_images/*.png\n"
    "  --xlsx FILE         write an Excel workbook (replacing FILE): 概要, 判定, a sheet\n"
    "                      per kind and the limits; never the graph samples\n"
    "  --help              show this text\n"
    "\n"
    "The set folders are read one at a time (once to count, once to write), so a large\n"
    "archive never has to fit into memory at once.\n"
    "\n"
    "Exit status: 0 written, 1 a file could not be written or a folder could not be\n"
    "read (nothing is written then), 2 bad arguments, a profile that cannot be read, or\n"
    "a data folder or set folder that does not exist, 130 cancelled.\n";

int UsageError(std::string_view message) { return cli::UsageError("export", message, kExportUsage); }

int Finish(const JobOutcome& outcome, const std::string& target, std::size_t measurements) {
  if (outcome.status == JobOutcome::Status::Cancelled) return 130;
  if (!outcome.done()) {
    std::fprintf(stderr, "rxt4 export: %s\n", outcome.message.c_str());
    return 1;
  }
  std::printf("%s: %zu measurements\n", target.c_str(), measurements);
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
    if (IsHelpArg(arg)) return PrintHelp(kExportUsage);
    if (arg == "--set" || arg == "--sqlite" || arg == "--csv" || arg == "--xlsx" || arg == "--limits") {
      if (i + 1 >= args.size()) return UsageError(std::string(arg) + " needs a value");
      const std::string value(args[++i]);
      if (value.empty()) return UsageError(std::string(arg) + " needs a value");
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
      return UsageError(Quoted("unexpected argument", arg));
    }
  }
  if (!haveFolder) return UsageError("no data folder given");
  if (sqlite.empty() && csv.empty() && xlsx.empty())
    return UsageError("nothing to write (--sqlite FILE.db, --csv DIR or --xlsx FILE.xlsx)");

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
  ConsoleJobObserver observer("export", "measurement");
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
