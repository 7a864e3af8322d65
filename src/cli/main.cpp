// rxt4: RXT4 Viewer's command-line tool.

#include <cstdio>
#include <string_view>
#include <vector>

#include "Commands.h"

namespace {

struct Command {
  std::string_view name;
  int (*run)(rxt4::cli::Args);
  std::string_view summary;
};

constexpr Command kCommands[] = {
    {"list", rxt4::cli::RunList, "list DATA_FOLDER [--summary]      print the tree of a data folder"},
    {"render", rxt4::cli::RunRender, "render DATA_FOLDER --out DIR ...   draw every measurement as an image"},
    {"report", rxt4::cli::RunReport, "report DATA_FOLDER --out FILE.pdf   write a measurement report (PDF)"},
    {"export", rxt4::cli::RunExport, "export DATA_FOLDER --sqlite FILE   export to SQLite and/or CSV (--csv DIR)"},
    {"check", rxt4::cli::RunCheck, "check DATA_FOLDER [--limits NAME]   judge every reading against a limits profile"},
    {"job", rxt4::cli::RunJob, "job DATA_FOLDER --set NAME ...   print or change a set folder's job record"},
    {"trend", rxt4::cli::RunTrend, "trend DATA_FOLDER --band B --channel C   one channel across every set folder (CSV, PNG)"},
    {"download", rxt4::cli::RunDownload, "download --port PORT --out SET    download every measurement"},
    {"update", rxt4::cli::RunUpdate, "update --port PORT IMAGE          update the instrument's firmware"},
    {"image", rxt4::cli::RunImage, "image IMAGE                       check a firmware image file"},
    {"sample", rxt4::cli::RunSample, "sample DIR                        write a demonstration data folder"},
    {"udev-rule", rxt4::cli::RunUdevRule, "udev-rule PORT                    print a udev rule for the instrument's port"},
};

int Usage(FILE* out, int status) {
  std::fprintf(out, "Usage: rxt4 COMMAND [ARGS...]\n\ncommands:\n");
  for (const Command& c : kCommands) std::fprintf(out, "  %.*s\n", static_cast<int>(c.summary.size()), c.summary.data());
  std::fprintf(out, "\nrxt4 COMMAND --help shows the options of a command; rxt4 --version the version.\n");
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(stderr, 2);
  std::string_view name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") return Usage(stdout, 0);
  if (name == "--version") return std::puts("rxt4 (RXT4 Viewer) " RXT4_VERSION) < 0;
  std::vector<std::string_view> args(argv + 2, argv + argc);
  for (const Command& c : kCommands)
    if (c.name == name) return c.run(args);
  std::fprintf(stderr, "rxt4: unknown command '%s'\n\n", argv[1]);
  return Usage(stderr, 2);
}
