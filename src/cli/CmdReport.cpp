// rxt4 report: the measurement report of a data folder (or of some of its set
// folders) as a PDF file.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/report/Report.h"

namespace rxt4::cli {
namespace {

constexpr const char* kReportUsage =
    "usage: rxt4 report DATA_FOLDER [--set NAME]... --out FILE.pdf [--per-page 2|4] [--date TEXT]\n"
    "\n"
    "Loads the data folder as the viewer does and writes a measurement report: an A4\n"
    "PDF in Japanese with a title page (data folder, set folders, measurements per\n"
    "kind, date), a table of the measurements per set folder and kind, and every\n"
    "measurement's screen as the viewer draws it. Loader messages go to standard error.\n"
    "The file is written under a temporary name beside it and renamed when complete.\n"
    "\n"
    "  --set NAME      only this set folder (repeatable; default: every set folder)\n"
    "  --out FILE      the PDF file to write\n"
    "  --per-page N    screens per page: 4 (default) or 2 (twice as large)\n"
    "  --date TEXT     the date on the title page (default: today)\n"
    "  --help          show this text\n"
    "\n"
    "The set folders are read one at a time (once to count, once to write), so a large\n"
    "archive never has to fit into memory at once.\n"
    "\n"
    "Exit status: 0 written, 1 the file could not be written or a folder could not be\n"
    "read (nothing is written then), 2 bad arguments or a data folder or set folder\n"
    "that does not exist, 130 cancelled.\n";

int UsageError(std::string_view message) { return cli::UsageError("report", message, kReportUsage); }

}  // namespace

int RunReport(Args args) {
  std::string folder, out;
  bool haveFolder = false;
  std::vector<std::string> sets;
  ReportOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (IsHelpArg(arg)) return PrintHelp(kReportUsage);
    if (arg == "--set" || arg == "--out" || arg == "--per-page" || arg == "--date") {
      if (i + 1 >= args.size()) return UsageError(std::string(arg) + " needs a value");
      const std::string value(args[++i]);
      if (arg == "--set") sets.push_back(value);
      if (arg == "--out") out = value;
      if (arg == "--date") options.date = value;
      if (arg == "--per-page") {
        if (value != "2" && value != "4") return UsageError("--per-page takes 2 or 4");
        options.screensPerPage = std::atoi(value.c_str());
      }
    } else if (!TakeDataFolder(arg, folder, haveFolder)) {
      return UsageError(Quoted("unexpected argument", arg));
    }
  }
  if (!haveFolder) return UsageError("no data folder given");
  if (out.empty()) return UsageError("no output file given (--out FILE.pdf)");
  if (options.date.empty()) options.date = ReportDateText(std::time(nullptr));

  StreamedSelection selection;
  if (const int status = LoadSelection("report", folder, sets, selection); status != 0) return status;

  InterruptFlag interrupt;
  ConsoleJobObserver observer("report", "page");
  const JobOutcome outcome = WriteReport(selection, out, options, observer, interrupt.flag());
  if (outcome.status == JobOutcome::Status::Cancelled) return 130;
  if (!outcome.done()) {
    std::fprintf(stderr, "rxt4 report: %s\n", outcome.message.c_str());
    return 1;
  }
  std::printf("%s: %zu measurements of %zu set folders\n", out.c_str(), selection.measurementCount(),
              selection.Folders().size());
  return 0;
}

}  // namespace rxt4::cli
