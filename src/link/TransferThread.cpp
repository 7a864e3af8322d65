#include "rxt4/link/TransferThread.h"

#include <array>
#include <exception>
#include <system_error>
#include <utility>
#include <vector>

#include "rxt4/link/BaudCheckCommand.h"
#include "rxt4/link/ConnectCommand.h"
#include "rxt4/link/DataReadCommand.h"
#include "rxt4/link/QueueRunner.h"
#include "rxt4/link/TransferModeCommand.h"

namespace rxt4 {

// Passes the commands' reports on to the observer, unless it has been detached.
// The mutex makes DetachObserver a barrier: once it returns, no call is running
// or will start.
class CTransferThread::Relay final : public TransferCommandListener {
 public:
  Relay(TransferObserver* observer, std::atomic<int>& notSavedMask)
      : observer_(observer), notSavedMask_(notSavedMask) {}

  void OnProgress(TransferKind kind, int percent) override {
    std::lock_guard lock(mutex_);
    if (observer_ != nullptr) observer_->progress(kind, percent);
  }
  void OnModeWait() override {
    std::lock_guard lock(mutex_);
    if (observer_ != nullptr) observer_->modeWait();
  }
  void OnKindNotSaved(TransferKind kind) override { notSavedMask_ |= 1 << static_cast<int>(kind); }

  void Finished(LinkResult result, int value) {
    std::lock_guard lock(mutex_);
    if (observer_ != nullptr) observer_->finished(result, value);
  }
  void Detach() {
    std::lock_guard lock(mutex_);
    observer_ = nullptr;
  }

 private:
  std::mutex mutex_;
  TransferObserver* observer_;
  std::atomic<int>& notSavedMask_;
};

CTransferThread::CTransferThread(TransferObserver* observer) : CTransferThread(observer, MakePlatformPortBackend()) {}

CTransferThread::CTransferThread(TransferObserver* observer, std::unique_ptr<PortBackend> backend)
    : port_(std::move(backend)),
      relay_(std::make_unique<Relay>(observer, notSavedMask_)),
      modePollIntervalMs_(CTransferModeCommand::kModePollIntervalMs) {}

CTransferThread::~CTransferThread() {
  Abort();
  Join();
}

bool CTransferThread::Start(const CommSettings& settings, const std::filesystem::path& setFolder) {
  if (worker_.joinable() || running_) return false;
  running_ = true;
  try {
    worker_ = std::thread(&CTransferThread::Run, this, settings, setFolder);
  } catch (const std::system_error&) {
    running_ = false;
    return false;
  }
  return true;
}

void CTransferThread::Abort() {
  {
    std::lock_guard lock(mutex_);
    abort_ = true;
  }
  wake_.notify_all();
  port_.Abort();
}

void CTransferThread::DetachObserver() { relay_->Detach(); }

void CTransferThread::Join() {
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

LinkOutcome CTransferThread::outcome() const {
  std::lock_guard lock(mutex_);
  return outcome_;
}

void CTransferThread::AbortableSleep(int ms) {
  std::unique_lock lock(mutex_);
  wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return abort_.load(); });
}

void CTransferThread::Run(CommSettings settings, std::filesystem::path setFolder) {
  LinkOutcome outcome = Work(settings, setFolder);
  // Whatever the aborted port operation caused, a requested abort is a cancel.
  if (abort_) outcome = {LinkResult::Cancelled, 0};
  port_.Close();
  {
    std::lock_guard lock(mutex_);
    outcome_ = outcome;
  }
  relay_->Finished(outcome.result, outcome.value);
  running_ = false;
}

LinkOutcome CTransferThread::Work(const CommSettings& settings, const std::filesystem::path& setFolder) {
  if (abort_) return {LinkResult::Cancelled, 0};
  if (port_.Open(settings) != PortError::Success) {
    openSystemError_ = port_.systemError();
    return {LinkResult::PortOpenFailed, 0};
  }
  // An abort that came before the port was open could not raise its flag.
  if (abort_) port_.Abort();

  CQueueRunner runner(port_, abort_);
  try {
    runner.Push(std::make_unique<CConnectCommand>());
    runner.Push(std::make_unique<CBaudCheckCommand>(port_.GetBaudRate()));
    const int pollMs = modePollIntervalMs_;
    runner.Push(std::make_unique<CTransferModeCommand>(relay_.get(), [this, pollMs](int) { AbortableSleep(pollMs); }));
    std::array<std::unique_ptr<CDataReadCommand>, kTransferKindCount> reads;
    for (auto& r : reads) r = std::make_unique<CDataReadCommand>();
    for (TransferKind k : kAllTransferKinds) {
      if (!reads[static_cast<std::size_t>(k)]->Setup(k, relay_.get(), setFolder)) return {LinkResult::SetupFailed, 0};
    }
    for (auto& r : reads) runner.Push(std::move(r));
  } catch (const std::exception&) {
    // Out of memory, or the writer's folder creation threw: the set-up failed.
    return {LinkResult::SetupFailed, 0};
  }

  LinkOutcome outcome = runner.Run();
  if (outcome.result == LinkResult::Success && notSavedMask_ != 0) outcome = {LinkResult::NotSaved, notSavedMask_};
  return outcome;
}

}  // namespace rxt4
