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

// What the update commands' own steps tell the worker: passed on to the observer
// (unless it has been detached), with the progress total and the file's versions
// taken from the image.
class CUpdateThread::Steps final : public StepHost {
 public:
  Steps(const CFirmwareImage& image, ObserverRelay<UpdateObserver>& relay) : image_(image), relay_(relay) {}

  void EntryState(bool answered) override {
    const int total = answered ? UpdateProgressTotal(image_) : 0;
    relay_.Notify([&](UpdateObserver& o) { o.state(answered, total); });
  }

  bool PartVersions(PartType type, const std::array<char, kVersionChars>& instrument) override {
    std::array<char, kVersionChars> file{};
    if (!image_.Version(type, file)) return false;
    relay_.Notify([&](UpdateObserver& o) { o.versions(VersionString(instrument), VersionString(file)); });
    return true;
  }

  void BlockAnswered(std::uint32_t block, std::uint32_t blocks) override {
    relay_.Notify([&](UpdateObserver& o) { o.progress(block, blocks); });
  }

 private:
  const CFirmwareImage& image_;
  ObserverRelay<UpdateObserver>& relay_;
};

CUpdateThread::CUpdateThread(UpdateObserver* observer) : CUpdateThread(observer, MakePlatformPortBackend()) {}

CUpdateThread::CUpdateThread(UpdateObserver* observer, std::unique_ptr<PortBackend> backend)
    : CLinkThread(observer, std::move(backend)) {}

CUpdateThread::~CUpdateThread() {
  Abort();
  Join();
}

bool CUpdateThread::Prepare(const std::filesystem::path& path) {
  if (job().started()) return false;
  prepared_ = image_.Load(path);
  return prepared_;
}

bool CUpdateThread::Start(const CommSettings& settings) {
  if (!prepared_) return false;
  CommSettings updateSettings = settings;
  updateSettings.baudRate = kUpdateBaudRate;
  return StartWork([this, updateSettings] { return Work(updateSettings); });
}

LinkOutcome CUpdateThread::Work(const CommSettings& settings) {
  if (!job().OpenPort(settings)) return {LinkResult::PortOpenFailed, 0};

  Steps steps(image_, relay());
  CQueueRunner runner(job().port(), runnerNeverCancels_, &steps);
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
  if (outcome.result != LinkResult::Success && job().aborted()) return {LinkResult::Cancelled, 0};
  return outcome;
}

}  // namespace rxt4
