// rxt4 update: updates the instrument's firmware from an image file, as the update
// dialog does, without a window.

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

#include "CliArgs.h"
#include "Commands.h"
#include "PortChoice.h"
#include "rxt4/data/Strings.h"
#include "rxt4/link/UpdateText.h"
#include "rxt4/link/UpdateThread.h"

namespace rxt4::cli {
namespace {

// The usage text (rxt4 update --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageUpdate); }

constexpr int kSignalPollMs = 50;
constexpr int kBarWidth = 35;

int UsageError(StringId what, std::string_view arg) {
  return cli::UsageError("update", FillIn(Text(what), {arg}), UsageText());
}

void Say(std::string_view text) { std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data()); }

// Shows the job's events on standard error the way the dialog shows them. Called on
// the job's worker thread only; the final text is taken after the job has ended.
class ConsoleObserver final : public UpdateObserver {
 public:
  explicit ConsoleObserver(bool terminal) : terminal_(terminal) {}

  void state(bool updating, int total) override {
    std::lock_guard lock(mutex_);
    EndBar();
    if (!updating) {
      Say(Text(StringId::UpdateWaitMode));
      return;
    }
    Say(Text(StringId::Updating));
    total_ = total;
    position_ = 0;
    DrawBar();
  }

  void progress(std::uint32_t block, std::uint32_t) override {
    std::lock_guard lock(mutex_);
    if (!steps_.Take(block)) return;
    if (position_ < total_) ++position_;
    DrawBar();
  }

  void versions(const std::string& instrument, const std::string& file) override {
    std::lock_guard lock(mutex_);
    texts_.Take(instrument, file);
  }

  void finished(LinkResult, int) override {
    std::lock_guard lock(mutex_);
    EndBar();
  }

  UpdateVersionTexts texts() {
    std::lock_guard lock(mutex_);
    return texts_;
  }

 private:
  void DrawBar() {
    if (!terminal_ || total_ <= 0) return;
    const int filled = position_ * kBarWidth / total_;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
    std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), position_ * 100 / total_);
    std::fflush(stderr);
    barShown_ = true;
  }
  void EndBar() {
    if (barShown_) std::fputc('\n', stderr);
    barShown_ = false;
  }

  std::mutex mutex_;
  bool terminal_;
  bool barShown_ = false;
  int total_ = 0;
  int position_ = 0;
  UpdateProgressSteps steps_;
  UpdateVersionTexts texts_;
};

// Ctrl+C and SIGTERM are blocked while the job runs (the worker thread inherits the
// mask) and picked up by the waiting loop with sigtimedwait, so no handler and no
// global flag are needed.
class BlockedSignals {
 public:
  BlockedSignals() {
    sigemptyset(&set_);
    sigaddset(&set_, SIGINT);
    sigaddset(&set_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set_, &old_);
  }
  ~BlockedSignals() {
    // Signals that came after the job ended are taken here, not at the unblocking.
    const timespec zero{0, 0};
    while (sigtimedwait(&set_, nullptr, &zero) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  BlockedSignals(const BlockedSignals&) = delete;
  BlockedSignals& operator=(const BlockedSignals&) = delete;

  // Waits up to ms for Ctrl+C or SIGTERM; true when one came.
  bool Wait(int ms) {
    const timespec slice{ms / 1000, (ms % 1000) * 1000000L};
    return sigtimedwait(&set_, nullptr, &slice) > 0;
  }

 private:
  sigset_t set_{};
  sigset_t old_{};
};

}  // namespace

int RunUpdate(Args args) {
  std::string port;
  std::string image;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    if (IsHelpArg(a)) return PrintHelp(UsageText());
    if (a == "--port") {
      if (i + 1 >= args.size()) return UsageError(StringId::CheckMissingValue, a);
      port = args[++i];
    } else if (a.size() > 1 && a.front() == '-') {
      return UsageError(StringId::CliUnknownOption, a);
    } else if (!image.empty()) {
      return cli::UsageError("update", FillIn(Text(StringId::CliOneOnly), {"IMAGE", a}), UsageText());
    } else {
      image = a;
    }
  }
  if (image.empty()) return cli::UsageError("update", FillIn(Text(StringId::CliRequired), {"IMAGE"}), UsageText());
  const PortChoice choice = ChoosePort(port, 0);
  if (choice.comm.comPort.empty()) return cli::UsageError("update", NoPortText(choice), UsageText());

  BlockedSignals signals;
  ConsoleObserver observer(::isatty(STDERR_FILENO) == 1);
  bool interrupted = false;
  LinkOutcome outcome;
  int openError = 0;
  {
    CUpdateThread job(&observer);
    // The image is checked before the port is touched.
    if (!job.Prepare(image)) {
      Say(Text(StringId::InvalidImage));
      return 1;
    }
    SayPortUsed("update", choice, false);
    if (!job.Start(choice.comm)) {
      outcome = {LinkResult::SetupFailed, 0};
    } else {
      // After Ctrl+C the worker ends within a port wait slice: wait for it at once.
      while (job.running() && !interrupted) {
        if (signals.Wait(kSignalPollMs)) {
          interrupted = true;
          job.Abort();
        }
      }
      job.Join();
      outcome = job.outcome();
      openError = job.openSystemError();
    }
  }

  if (outcome.result == LinkResult::PortOpenFailed) ExplainOpenFailure("update", choice.comm.comPort, openError);
  std::fprintf(stdout, "%s\n", UpdateFinalText(outcome.result, observer.texts()).c_str());
  if (UpdateSucceeded(outcome.result)) return 0;
  return interrupted ? 130 : 1;
}

}  // namespace rxt4::cli
