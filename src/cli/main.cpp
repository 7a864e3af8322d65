// rxt4: RXT4 Viewer's command-line tool.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/LocaleLanguage.h"
#include "rxt4/data/Strings.h"

namespace {

struct Command {
  std::string_view name;
  int (*run)(rxt4::cli::Args);
  rxt4::StringId summary;
};

constexpr Command kCommands[] = {
    {"list", rxt4::cli::RunList, rxt4::StringId::CliSummaryList},
    {"render", rxt4::cli::RunRender, rxt4::StringId::CliSummaryRender},
    {"report", rxt4::cli::RunReport, rxt4::StringId::CliSummaryReport},
    {"export", rxt4::cli::RunExport, rxt4::StringId::CliSummaryExport},
    {"check", rxt4::cli::RunCheck, rxt4::StringId::CliSummaryCheck},
    {"job", rxt4::cli::RunJob, rxt4::StringId::CliSummaryJob},
    {"trend", rxt4::cli::RunTrend, rxt4::StringId::CliSummaryTrend},
    {"download", rxt4::cli::RunDownload, rxt4::StringId::CliSummaryDownload},
    {"update", rxt4::cli::RunUpdate, rxt4::StringId::CliSummaryUpdate},
    {"image", rxt4::cli::RunImage, rxt4::StringId::CliSummaryImage},
    {"sample", rxt4::cli::RunSample, rxt4::StringId::CliSummarySample},
    {"udev-rule", rxt4::cli::RunUdevRule, rxt4::StringId::CliSummaryUdevRule},
};

int Usage(FILE* out, int status) {
  std::fputs(std::string(rxt4::Text(rxt4::StringId::CliUsage)).c_str(), out);
  for (const Command& c : kCommands) std::fprintf(out, "  %s\n", std::string(rxt4::Text(c.summary)).c_str());
  std::fputs(std::string(rxt4::Text(rxt4::StringId::CliUsageEnd)).c_str(), out);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // The one place the tool's language is decided: its locale's, before anything is said.
  rxt4::SetLanguage(rxt4::LanguageOfEnvironment());
  if (argc < 2) return Usage(stderr, 2);
  std::string_view name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") return Usage(stdout, 0);
  if (name == "--version") return std::puts("rxt4 (RXT4 Viewer) " RXT4_VERSION) < 0;
  std::vector<std::string_view> args(argv + 2, argv + argc);
  for (const Command& c : kCommands)
    if (c.name == name) return c.run(args);
  std::fprintf(stderr, "rxt4: %s\n\n", rxt4::FillIn(rxt4::Text(rxt4::StringId::CliUnknownCommand), {name}).c_str());
  return Usage(stderr, 2);
}
