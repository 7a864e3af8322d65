// rxt4 export: the measurements of a data folder as an SQLite database and/or UTF-8
// CSV files.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/report/Export.h"

namespace rxt4::cli {
namespace {

constexpr const char* kExportUsage =
    "usage: rxt4 export DATA_FOLDER [--set NAME]... [--sqlite FILE.db] [--csv DIR]\n"
    "\n"
    "Loads the data folder as the viewer does and exports its measurements: one table\n"
    "per kind (texts in UTF-8, numbers as numbers, the instrument's markers as NULL\n"
    "with the stored text beside them), the multi-channel rows, and the graph data of\n"
    "the companion files (spectrum and delay-profile samples, constellation images as\n"
    "PNG). docs/export.md describes the tables. Loader messages go to standard error.\n"
    "Each file is written under a temporary name and renamed when complete.\n"
    "\n"
    "  --set NAME      only this set folder (repeatable; default: every set folder)\n"
    "  --sqlite FILE   write an SQLite database (replacing FILE)\n"
    "  --csv DIR       write the same tables as DIR/<table>.csv (UTF-8 with a\n"
    "                  byte-order mark) and the images as DIR/constellation_images/*.png\n"
    "  --help          show this text\n"
    "\n"
    "The set folders are read one at a time (once to count, once to write), so a large\n"
    "archive never has to fit into memory at once.\n"
    "\n"
    "Exit status: 0 written, 1 a file could not be written or a folder could not be\n"
    "read (nothing is written then), 2 bad arguments or a data folder or set folder\n"
    "that does not exist, 130 cancelled.\n";

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

}  // namespace

int RunExport(Args args) {
  std::string folder, sqlite, csv;
  bool haveFolder = false;
  std::vector<std::string> sets;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (IsHelpArg(arg)) return PrintHelp(kExportUsage);
    if (arg == "--set" || arg == "--sqlite" || arg == "--csv") {
      if (i + 1 >= args.size()) return UsageError(std::string(arg) + " needs a value");
      const std::string value(args[++i]);
      if (value.empty()) return UsageError(std::string(arg) + " needs a value");
      if (arg == "--set") sets.push_back(value);
      if (arg == "--sqlite") sqlite = value;
      if (arg == "--csv") csv = value;
    } else if (!TakeDataFolder(arg, folder, haveFolder)) {
      return UsageError(Quoted("unexpected argument", arg));
    }
  }
  if (!haveFolder) return UsageError("no data folder given");
  if (sqlite.empty() && csv.empty()) return UsageError("nothing to write (--sqlite FILE.db or --csv DIR)");

  StreamedSelection selection;
  if (const int status = LoadSelection("export", folder, sets, selection); status != 0) return status;

  InterruptFlag interrupt;
  const std::size_t n = selection.measurementCount();
  // One observer for both files: a warning about the data is said once.
  ConsoleJobObserver observer("export", "measurement");
  if (!sqlite.empty()) {
    if (const int status = Finish(ExportSqlite(selection, sqlite, observer, interrupt.flag()), sqlite, n); status != 0)
      return status;
  }
  if (!csv.empty()) {
    if (const int status = Finish(ExportCsv(selection, csv, observer, interrupt.flag()), csv, n); status != 0)
      return status;
  }
  return 0;
}

}  // namespace rxt4::cli
