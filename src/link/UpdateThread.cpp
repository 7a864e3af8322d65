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

// The queue runner with the update's own steps: the wake-up reports, the version
// hand-over and the XMODEM packet and answer steps.
class CUpdateThread::Runner final : public CQueueRunner {
 public:
  Runner(CSerialPort& port, const std::atomic<bool>& never, const CFirmwareImage& image, Relay& relay)
      : CQueueRunner(port, never), image_(image), relay_(relay) {}

 protected:
  void Dispatch(int step, CInstrumentCommand& head) override {
    switch (step) {
      case WM_LINK_ENTRY:
        OnEntry(head);
        break;
      case WM_LINK_VERSION:
        OnVersion(head);
        break;
      case WM_LINK_XSEND:
        if (auto* send = dynamic_cast<CFirmwareSendCommand*>(&head)) {
          if (!send->SendPacket(port())) Finish(LinkResult::WaitFailed, head.requestCode());
        } else {
          Finish(LinkResult::EmptyEntry, step);
        }
        break;
      case WM_LINK_XRECV:
        if (auto* send = dynamic_cast<CFirmwareSendCommand*>(&head)) {
          if (!send->ReadAnswer(port())) {
            Finish(LinkResult::WaitFailed, head.requestCode());
          } else {
            relay_.Progress(static_cast<std::uint32_t>(send->stepValue1()),
                            static_cast<std::uint32_t>(send->stepValue2()));
          }
        } else {
          Finish(LinkResult::EmptyEntry, step);
        }
        break;
      default:
        CQueueRunner::Dispatch(step, head);
        break;
    }
  }

 private:
  void OnEntry(CInstrumentCommand& head) {
    if (head.stepValue1() == 0) {
      relay_.State(false, 0);
      head.setStep(WM_LINK_SEND);  // starts the ESC bytes
      return;
    }
    relay_.State(true, UpdateProgressTotal(image_));
    PopHead();
  }

  void OnVersion(CInstrumentCommand& head) {
    auto* version = dynamic_cast<CVersionCommand*>(&head);
    if (version == nullptr) {
      Finish(LinkResult::EmptyEntry, WM_LINK_VERSION);
      return;
    }
    std::array<char, kVersionChars> file{};
    if (!image_.Version(version->type(), file)) {
      Finish(LinkResult::ImagePartMissing, static_cast<int>(version->type()));
      return;
    }
    relay_.Versions(VersionString(version->VersionText()), VersionString(file));
    PopHead();
  }

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

  Runner runner(job_.port(), runnerNeverCancels_, image_, *relay_);
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
