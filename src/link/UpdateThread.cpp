#include "rxt4/link/UpdateThread.h"

#include <exception>
#include <string>
#include <utility>

#include "rxt4/link/FirmwareSendCommand.h"
#include "rxt4/link/ObserverRelay.h"
#include "rxt4/link/QueueRunner.h"
#include "rxt4/link/UpdateEndCommand.h"
#include "rxt4/link/UpdateEntryCommand.h"
#include "rxt4/link/UpdateText.h"
#include "rxt4/link/VersionCommand.h"

namespace rxt4 {
namespace {

// The version text as a string: the 8 bytes up to the first 0 byte.
std::string VersionString(const std::array<char, kVersionChars>& text) {
  std::size_t n = 0;
  while (n < text.size() && text[n] != '\0') ++n;
  return std::string(text.data(), n);
}

}  // namespace

// Passes the worker's reports on to the observer, unless it has been detached.
class CUpdateThread::Relay : public ObserverRelay<UpdateObserver> {
 public:
  using ObserverRelay::ObserverRelay;

  void State(bool updating, int total) {
    Notify([&](UpdateObserver& o) { o.state(updating, total); });
  }
  void Progress(std::uint32_t block, std::uint32_t blocks) {
    Notify([&](UpdateObserver& o) { o.progress(block, blocks); });
  }
  void Versions(const std::string& instrument, const std::string& file) {
    Notify([&](UpdateObserver& o) { o.versions(instrument, file); });
  }
};

// What the update commands' own steps tell the worker: passed on to the observer,
// with the progress total and the file's versions taken from the image.
class CUpdateThread::Steps final : public StepHost {
 public:
  Steps(const CFirmwareImage& image, Relay& relay) : image_(image), relay_(relay) {}

  void EntryState(bool answered) override { relay_.State(answered, answered ? UpdateProgressTotal(image_) : 0); }

  bool PartVersions(PartType type, const std::array<char, kVersionChars>& instrument) override {
    std::array<char, kVersionChars> file{};
    if (!image_.Version(type, file)) return false;
    relay_.Versions(VersionString(instrument), VersionString(file));
    return true;
  }

  void BlockAnswered(std::uint32_t block, std::uint32_t blocks) override { relay_.Progress(block, blocks); }

 private:
  const CFirmwareImage& image_;
  Relay& relay_;
};

CUpdateThread::CUpdateThread(UpdateObserver* observer) : CUpdateThread(observer, MakePlatformPortBackend()) {}

CUpdateThread::CUpdateThread(UpdateObserver* observer, std::unique_ptr<PortBackend> backend)
    : relay_(std::make_unique<Relay>(observer)), job_(std::move(backend)) {}

CUpdateThread::~CUpdateThread() {
  Abort();
  Join();
}

bool CUpdateThread::Prepare(const std::filesystem::path& path) {
  if (job_.started()) return false;
  prepared_ = image_.Load(path);
  return prepared_;
}

bool CUpdateThread::Start(const CommSettings& settings) {
  if (!prepared_) return false;
  CommSettings updateSettings = settings;
  updateSettings.baudRate = kUpdateBaudRate;
  return job_.Start([this, updateSettings] { return Work(updateSettings); },
                    [this](const LinkOutcome& outcome) { relay_->Finished(outcome.result, outcome.value); });
}

void CUpdateThread::Abort() { job_.Abort(); }

void CUpdateThread::DetachObserver() { relay_->Detach(); }

void CUpdateThread::Join() { job_.Join(); }

LinkOutcome CUpdateThread::Work(const CommSettings& settings) {
  if (!job_.OpenPort(settings)) return {LinkResult::PortOpenFailed, 0};

  Steps steps(image_, *relay_);
  CQueueRunner runner(job_.port(), runnerNeverCancels_, &steps);
  try {
    runner.Push(std::make_unique<CUpdateEntryCommand>());
    bool decQueued = false;
    for (PartType type : kPartTypes) {
      auto send = std::make_unique<CFirmwareSendCommand>();
      if (!send->Setup(image_, type)) continue;
      runner.Push(std::make_unique<CVersionCommand>(type));
      runner.Push(std::move(send));
      decQueued = type == PartType::Dec;
    }
    if (decQueued) runner.Push(std::make_unique<CUpdateEndCommand>());
  } catch (const std::exception&) {
    return {LinkResult::SetupFailed, 0};
  }
  const LinkOutcome outcome = runner.Run();
  // An abort shows up as the failure of the port operation it interrupted; the user
  // is told that the update was cancelled, not that the link failed.
  if (outcome.result != LinkResult::Success && job_.aborted()) return {LinkResult::Cancelled, 0};
  return outcome;
}

}  // namespace rxt4
