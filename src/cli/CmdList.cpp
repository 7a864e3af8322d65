// rxt4 list: loads a data folder as the viewer does and prints its tree.

#include <cstdio>
#include <filesystem>
#include <string>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/TextRules.h"

namespace rxt4::cli {
namespace {

constexpr const char* kListUsage =
    "usage: rxt4 list DATA_FOLDER [--summary]\n"
    "\n"
    "Loads the data folder as the viewer does and prints its tree in UTF-8, one item\n"
    "per line, indented by two blanks per level: the kind roots, the data set folders\n"
    "and the numbered measurements. Messages of the loader go to standard error.\n"
    "A set folder name that is no valid UTF-8 is printed with each byte that is no\n"
    "part of a valid character, and each control character, as \\xNN, and a backslash\n"
    "as \\\\ (the export stores the names the same way).\n"
    "\n"
    "Exit status: 0 listed, 1 a folder could not be read (named on standard error; the\n"
    "rest is listed), 2 bad arguments or a data folder that does not exist.\n"
    "\n"
    "  --summary   print one line per kind instead: root text, TAB, number of data set\n"
    "              folders, TAB, number of measurements\n"
    "  --help      show this text\n";

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
    if (IsHelpArg(arg)) return PrintHelp(kListUsage);
    if (arg == "--summary") {
      summary = true;
    } else if (!TakeDataFolder(arg, folder, haveFolder)) {
      return UsageError("list", Quoted("unexpected argument", arg), kListUsage);
    }
  }
  if (!haveFolder) return UsageError("list", "no data folder given", kListUsage);
  // An empty argument is the empty data folder path, which the loader reads as the
  // root of the file system.
  std::error_code ec;
  if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
    std::fprintf(stderr, "rxt4 list: '%s' is not a folder\n", folder.c_str());
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
