// rxt4 list: loads a data folder as the viewer does and prints its tree.

#include <cstdio>
#include <filesystem>
#include <string>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"

namespace rxt4::cli {
namespace {

// The usage text (rxt4 list --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageList); }

void PrintTree(const DataFolderModel& model, int number, int depth) {
  for (int i = 0; i < model.ChildCount(number); ++i) {
    int child = model.ChildAt(number, i);
    // Set folder names are the file system's bytes; the other labels are decoded texts.
    const std::string label = depth == 1 ? EscapedName(model.Label(child)) : model.Label(child);
    std::fprintf(stdout, "%*s%s\n", depth * 2, "", label.c_str());
    PrintTree(model, child, depth + 1);
  }
}

}  // namespace

int RunList(Args args) {
  bool summary = false;
  bool haveFolder = false;
  std::string folder;
  for (std::string_view arg : args) {
    if (IsHelpArg(arg)) return PrintHelp(UsageText());
    if (arg == "--summary") {
      summary = true;
    } else if (!TakeDataFolder(arg, folder, haveFolder)) {
      return UsageError("list", FillIn(Text(StringId::CheckBadArgument), {arg}), UsageText());
    }
  }
  if (!haveFolder) return UsageError("list", Text(StringId::CheckNoDataFolder), UsageText());
  // An empty argument is the empty data folder path, which the loader reads as the
  // root of the file system.
  std::error_code ec;
  if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
    std::fprintf(stderr, "rxt4 list: %s\n", FillIn(Text(StringId::CliNotFolder), {folder}).c_str());
    return 2;
  }

  DataFolderModel model;
  StderrLoadObserver observer;
  model.Load(folder, observer);
  if (summary) {
    for (TransferKind kind : kAllTransferKinds) {
      int root = DataFolderModel::RootNumber(kind);
      std::fprintf(stdout, "%s\t%d\t%d\n", model.Label(root).c_str(), model.FolderCount(kind),
                   model.MeasurementCountOf(kind));
    }
  } else {
    PrintTree(model, 0, 0);
  }
  return std::fflush(stdout) == 0 && !observer.folderFailed() ? 0 : 1;
}

}  // namespace rxt4::cli
