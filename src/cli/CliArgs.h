#pragma once
// Helpers the subcommands share for their arguments, usage texts and loader messages.

#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "rxt4/data/Kinds.h"
#include "rxt4/data/LoadObserver.h"
#include "rxt4/data/Strings.h"
#include "rxt4/judge/MeasurementJudge.h"
#include "rxt4/report/JobObserver.h"
#include "rxt4/report/MeasurementSelection.h"

namespace rxt4::cli {

// True for "--help" and "-h".
bool IsHelpArg(std::string_view arg);
// Prints the usage text on standard output; returns status 0.
int PrintHelp(std::string_view usage);
// Prints "rxt4 COMMAND: MESSAGE", a blank line and the usage text on standard error;
// returns status 2.
int UsageError(const char* command, std::string_view message, std::string_view usage);
// The one positional argument, the data folder: takes arg into folder (and sets have)
// when no folder was taken yet and arg is no option. False: arg is unexpected.
bool TakeDataFolder(std::string_view arg, std::string& folder, bool& have);
// The ASCII name of a reading ("level", "cn", ...), as JSON and CSV write it; a kind's is
// KindKey (the kind table).
std::string_view ValueKindKey(ValueKind kind);

// Writes the loader's messages to standard error, one line each (line breaks as "\n"),
// and remembers whether a folder could not be read (the command then fails).
class StderrLoadObserver : public LoadObserver {
 public:
  void FileError(const std::string& message) override;
  void CountWarning(const std::string& message) override;
  void FolderError(const std::string& message) override;
  bool folderFailed() const { return folderFailed_; }

 private:
  bool folderFailed_ = false;
};

// Prints a job's warnings on standard error ("rxt4 COMMAND: ...", each text once) and,
// on a terminal, its progress ("\rrendered n of N", in the tool's language).
class ConsoleJobObserver : public JobObserver {
 public:
  ConsoleJobObserver(const char* command, StringId progress);
  ~ConsoleJobObserver() override;
  void Progress(int done, int total) override;
  void Warning(const std::string& message) override;

 private:
  const char* command_;
  StringId progress_;
  bool terminal_;
  bool lineOpen_ = false;
  std::unordered_set<std::string> warned_;
};

// While it lives, Ctrl+C and SIGTERM raise flag() instead of ending the process, so
// that a job can stop and remove its temporary file.
class InterruptFlag {
 public:
  InterruptFlag();
  ~InterruptFlag();
  InterruptFlag(const InterruptFlag&) = delete;
  InterruptFlag& operator=(const InterruptFlag&) = delete;
  const std::atomic<bool>& flag() const;
};

// Reads dataFolder set folder by set folder (loader messages on standard error) and
// counts the measurements of the named set folders (all when none is named), which the
// job then reads again one set folder at a time. Returns 0; exit status 2 after a
// message when the data folder or a named set folder does not exist; 1 when a folder
// could not be read (the loader named it).
int LoadSelection(const char* command, const std::string& dataFolder, const std::vector<std::string>& sets,
                  StreamedSelection& selection);

}  // namespace rxt4::cli
