#include "CliArgs.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "rxt4/data/Paths.h"

namespace rxt4::cli {
namespace {

void PrintLine(const std::string& message) {
  std::string line;
  for (char c : message) {
    if (c == '\n') line += "\\n";
    else if (c != '\r') line += c;
  }
  std::fprintf(stderr, "%s\n", line.c_str());
}

// Raised by the signal handler: a lock-free atomic is safe to store there.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

struct sigaction g_oldInt {}, g_oldTerm{};

void OnInterrupt(int) { g_interrupted.store(true); }

}  // namespace

bool IsHelpArg(std::string_view arg) { return arg == "--help" || arg == "-h"; }

int PrintHelp(std::string_view usage) {
  std::fwrite(usage.data(), 1, usage.size(), stdout);
  return 0;
}

int UsageError(const char* command, std::string_view message, std::string_view usage) {
  std::fprintf(stderr, "rxt4 %s: %.*s\n\n%.*s", command, static_cast<int>(message.size()), message.data(),
               static_cast<int>(usage.size()), usage.data());
  return 2;
}

bool TakeDataFolder(std::string_view arg, std::string& folder, bool& have) {
  if (have || (!arg.empty() && arg[0] == '-')) return false;
  folder = std::string(arg);
  have = true;
  return true;
}

std::string_view ValueKindKey(ValueKind kind) {
  switch (kind) {
    case ValueKind::Number: return "number";
    case ValueKind::BelowRange: return "below_range";
    case ValueKind::AboveRange: return "above_range";
    case ValueKind::NoMeasurement: return "no_measurement";
    case ValueKind::Unreadable: return "unreadable";
  }
  return "";
}

void StderrLoadObserver::FileError(const std::string& message) { PrintLine(message); }

void StderrLoadObserver::CountWarning(const std::string& message) { PrintLine(message); }

void StderrLoadObserver::FolderError(const std::string& message) {
  folderFailed_ = true;
  PrintLine(message);
}

ConsoleJobObserver::ConsoleJobObserver(const char* command, StringId progress)
    : command_(command), progress_(progress), terminal_(::isatty(STDERR_FILENO) != 0) {}

ConsoleJobObserver::~ConsoleJobObserver() {
  if (lineOpen_) std::fputc('\n', stderr);
}

void ConsoleJobObserver::Progress(int done, int total) {
  if (!terminal_) return;
  std::fprintf(stderr, "\r%s", FillIn(Text(progress_), {std::to_string(done), std::to_string(total)}).c_str());
  lineOpen_ = true;
}

void ConsoleJobObserver::Warning(const std::string& message) {
  if (!warned_.insert(message).second) return;
  if (lineOpen_) std::fputc('\n', stderr);
  lineOpen_ = false;
  std::fprintf(stderr, "rxt4 %s: ", command_);
  PrintLine(message);
}

InterruptFlag::InterruptFlag() {
  g_interrupted = false;
  struct sigaction sa {};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  ::sigaction(SIGINT, &sa, &g_oldInt);
  ::sigaction(SIGTERM, &sa, &g_oldTerm);
}

InterruptFlag::~InterruptFlag() {
  ::sigaction(SIGINT, &g_oldInt, nullptr);
  ::sigaction(SIGTERM, &g_oldTerm, nullptr);
}

const std::atomic<bool>& InterruptFlag::flag() const { return g_interrupted; }

int LoadSelection(const char* command, const std::string& dataFolder, const std::vector<std::string>& sets,
                  StreamedSelection& selection) {
  std::error_code ec;
  if (!std::filesystem::is_directory(dataFolder, ec)) {
    std::fprintf(stderr, "rxt4 %s: %s\n", command, FillIn(Text(StringId::CliNotFolder), {dataFolder}).c_str());
    return 2;
  }
  // Named set folders as the file system spells them (matched regardless of case).
  std::vector<std::string> names;
  for (const std::string& name : sets) {
    const std::filesystem::path resolved = ResolvePath(std::filesystem::path(dataFolder) / name);
    const bool plainName = !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
    if (!plainName || !std::filesystem::is_directory(resolved, ec)) {
      std::fprintf(stderr, "rxt4 %s: %s\n", command, FillIn(Text(StringId::CliNoSetFolder), {name, dataFolder}).c_str());
      return 2;
    }
    names.push_back(resolved.filename().string());
  }
  StderrLoadObserver observer;
  return selection.Scan(std::filesystem::absolute(dataFolder, ec), names, observer) ? 0 : 1;
}

}  // namespace rxt4::cli
