// rxt4 download: downloads every measurement from the instrument into a data set
// folder, as the transfer dialog does, without a window.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

#include "CliArgs.h"
#include "Commands.h"
#include "PortChoice.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TransferDestination.h"
#include "rxt4/link/TransferText.h"
#include "rxt4/link/TransferThread.h"

namespace rxt4::cli {
namespace {

// The usage text (rxt4 download --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageDownload); }

constexpr int kPollSliceMs = 50;
constexpr int kBarWidth = 35;

// The self-pipe the Ctrl+C handler writes to; the handler can reach nothing else.
// Set before the handler is installed, reset after it is removed.
int g_interruptPipeWrite = -1;

void OnInterrupt(int) {
  const char byte = 1;
  if (g_interruptPipeWrite >= 0) [[maybe_unused]] ssize_t n = ::write(g_interruptPipeWrite, &byte, 1);
}

// Shows the job's events on standard error the way the dialog shows them.
class ConsoleObserver final : public TransferObserver {
 public:
  explicit ConsoleObserver(bool terminal) : terminal_(terminal) {}

  void progress(TransferKind kind, int percent) override {
    if (!running_) {
      running_ = true;
      Say(Text(StringId::TransferRunning));
    }
    if (!terminal_) return;
    const int position = TransferProgressPosition(static_cast<int>(kind), percent);
    const int filled = position * kBarWidth / 700;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
    const std::string_view name = KindFolderName(kind);
    std::fprintf(stderr, "\r[%s] %3d%% %-8.*s", bar.c_str(), position / 7, static_cast<int>(name.size()), name.data());
    std::fflush(stderr);
    barShown_ = true;
  }

  void modeWait() override {
    // Asked about once a second: say it once.
    if (modeWaitShown_) return;
    modeWaitShown_ = true;
    Say(Text(StringId::TransferSetMode));
  }

  void finished(LinkResult, int) override { EndBar(); }

  void Say(std::string_view text) {
    EndBar();
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }

 private:
  void EndBar() {
    if (barShown_) std::fputc('\n', stderr);
    barShown_ = false;
  }

  bool terminal_;
  bool running_ = false;
  bool modeWaitShown_ = false;
  bool barShown_ = false;
};

// Today's month and day on this computer's clock.
std::pair<int, int> Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return {local.tm_mon + 1, local.tm_mday};
}

// The folder the download writes into, after the guards that keep data in view and on
// disk; 0, or exit status 2 after a message naming what to do.
int ChooseSetFolder(std::string& out, bool force, bool newSet) {
  const auto [month, day] = Today();
  if (newSet) {
    out = (std::filesystem::path(out) / NewSetFolderName(out, month, day)).string();
    std::fprintf(stderr, "rxt4 download: %s\n", FillIn(Text(StringId::CliNewSetFolder), {out}).c_str());
    return 0;
  }
  switch (ClassifyDestination(out)) {
    case DestinationKind::SetFolder:
      return 0;
    case DestinationKind::SetFolderWithData:
      if (force) return 0;
      std::fprintf(stderr, "rxt4 download: %s\n", FillIn(Text(StringId::CliSetHoldsData), {out}).c_str());
      return 2;
    case DestinationKind::DataFolder: {
      const std::filesystem::path proposed = std::filesystem::path(out) / NewSetFolderName(out, month, day);
      std::fprintf(stderr, "rxt4 download: %s\n",
                   FillIn(Text(StringId::CliIsDataFolder), {out, proposed.string()}).c_str());
      return 2;
    }
  }
  return 0;
}

}  // namespace

int RunDownload(Args args) {
  std::string port, out;
  int baud = 0;
  bool force = false, newSet = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view a = args[i];
    if (IsHelpArg(a)) return PrintHelp(UsageText());
    const bool hasValue = i + 1 < args.size();
    if (a == "--force") {
      force = true;
    } else if (a == "--new-set") {
      newSet = true;
    } else if (a == "--port" && hasValue) {
      port = args[++i];
    } else if (a == "--out" && hasValue) {
      out = args[++i];
    } else if (a == "--baud" && hasValue) {
      std::string_view v = args[++i];
      auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), baud);
      if (ec != std::errc() || end != v.data() + v.size() || baud <= 0)
        return UsageError("download", FillIn(Text(StringId::CliBadValue), {"--baud", v}), UsageText());
    } else {
      return UsageError("download", FillIn(Text(StringId::CheckBadArgument), {a}), UsageText());
    }
  }
  if (out.empty()) return UsageError("download", FillIn(Text(StringId::CliRequired), {"--out"}), UsageText());

  const PortChoice choice = ChoosePort(port, baud);
  if (choice.comm.comPort.empty()) return UsageError("download", NoPortText(choice), UsageText());
  const CommSettings& comm = choice.comm;
  if (const int refused = ChooseSetFolder(out, force, newSet); refused != 0) return refused;
  SayPortUsed("download", choice, true);

  // A folder that cannot be made ends like any set folder that takes no files: the
  // saving failure, with the folder and the system's reason.
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  if (!ec && !std::filesystem::is_directory(out)) ec = std::make_error_code(std::errc::not_a_directory);
  if (ec) {
    std::fprintf(stdout, "%s\n%s\n", TransferFinalText(LinkResult::FolderRefused, 0).c_str(),
                 TransferFolderText({out, ec, false}).c_str());
    return 1;
  }

  int interruptPipe[2];
  if (::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    std::perror("rxt4 download: pipe");
    return 1;
  }
  g_interruptPipeWrite = interruptPipe[1];
  struct sigaction sa{}, oldInt{}, oldTerm{};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  ::sigaction(SIGINT, &sa, &oldInt);
  ::sigaction(SIGTERM, &sa, &oldTerm);

  ConsoleObserver observer(::isatty(STDERR_FILENO) == 1);
  observer.Say(Text(StringId::TransferConnecting));
  bool interrupted = false;
  LinkOutcome outcome;
  int openError = 0;
  CTransferThread::FolderProblem folder;
  std::uint32_t instrumentRate = 0;
  {
    CTransferThread job(&observer);
    if (!job.Start(comm, out)) {
      outcome = {LinkResult::SetupFailed, 0};
    } else {
      // After Ctrl+C the worker ends within a port wait slice: wait for it at once
      // rather than in polling slices (the signal's byte stays in the pipe).
      while (job.running() && !interrupted) {
        pollfd p{interruptPipe[0], POLLIN, 0};
        if (::poll(&p, 1, kPollSliceMs) > 0) {
          interrupted = true;
          job.Abort();
        }
      }
      job.Join();
      outcome = job.outcome();
      openError = job.openSystemError();
      folder = job.folderProblem();
      instrumentRate = job.instrumentBaudRate();
    }
  }

  ::sigaction(SIGINT, &oldInt, nullptr);
  ::sigaction(SIGTERM, &oldTerm, nullptr);
  g_interruptPipeWrite = -1;
  ::close(interruptPipe[0]);
  ::close(interruptPipe[1]);

  if (outcome.result == LinkResult::PortOpenFailed) ExplainOpenFailure("download", comm.comPort, openError);
  std::fprintf(stdout, "%s\n", TransferFinalText(outcome.result, outcome.value).c_str());
  if (outcome.result == LinkResult::FolderRefused || outcome.result == LinkResult::NotSaved)
    if (const std::string line = TransferFolderText(folder); !line.empty()) std::fprintf(stdout, "%s\n", line.c_str());
  if (const std::string rates = TransferRatesText(outcome.result, outcome.value, comm.baudRate, instrumentRate);
      !rates.empty())
    std::fprintf(stdout, "%s\n", rates.c_str());
  if (outcome.result == LinkResult::Success) return 0;
  if (outcome.result == LinkResult::Cancelled && interrupted) return 130;
  return 1;
}

}  // namespace rxt4::cli
