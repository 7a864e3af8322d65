#include "rxt4/link/TransferThread.h"

#include <array>
#include <exception>
#include <system_error>
#include <utility>
#include <vector>

#include "rxt4/link/BaudCheckCommand.h"
#include "rxt4/link/ConnectCommand.h"
#include "rxt4/link/DataReadCommand.h"
#include "rxt4/link/ObserverRelay.h"
#include "rxt4/link/QueueRunner.h"
#include "rxt4/link/TransferModeCommand.h"

namespace rxt4 {

// Passes the commands' reports on to the observer, unless it has been detached.
class CTransferThread::Relay final : public TransferCommandListener, public ObserverRelay<TransferObserver> {
 public:
  Relay(TransferObserver* observer, std::atomic<int>& notSavedMask, std::atomic<std::uint32_t>& instrumentRate)
      : ObserverRelay(observer), notSavedMask_(notSavedMask), instrumentRate_(instrumentRate) {}

  void OnProgress(TransferKind kind, int percent) override {
    Notify([&](TransferObserver& o) { o.progress(kind, percent); });
  }
  void OnModeWait() override {
    Notify([](TransferObserver& o) { o.modeWait(); });
  }
  void OnKindNotSaved(TransferKind kind) override { notSavedMask_ |= 1 << static_cast<int>(kind); }
  void OnRetry(TransferKind kind, int retry) override {
    Notify([&](TransferObserver& o) { o.retrying(kind, retry); });
  }
  void OnInstrumentRate(std::uint32_t baudRate) override { instrumentRate_ = baudRate; }

 private:
  std::atomic<int>& notSavedMask_;
  std::atomic<std::uint32_t>& instrumentRate_;
};

namespace {

// The kind folders a job made itself; those still empty when it ends are removed,
// so that a failed or cancelled transfer leaves only the kinds it wrote whole.
class CreatedFolders {
 public:
  CreatedFolders() = default;
  CreatedFolders(const CreatedFolders&) = delete;
  CreatedFolders& operator=(const CreatedFolders&) = delete;
  ~CreatedFolders() {
    std::error_code ec;
    for (const std::filesystem::path& folder : folders_)
      if (std::filesystem::is_empty(folder, ec) && !ec) std::filesystem::remove(folder, ec);
  }
  void Add(const std::filesystem::path& folder) {
    if (!folder.empty()) folders_.push_back(folder);
  }

 private:
  std::vector<std::filesystem::path> folders_;
};

}  // namespace

CTransferThread::CTransferThread(TransferObserver* observer) : CTransferThread(observer, MakePlatformPortBackend()) {}

CTransferThread::CTransferThread(TransferObserver* observer, std::unique_ptr<PortBackend> backend)
    : relay_(std::make_unique<Relay>(observer, notSavedMask_, instrumentRate_)),
      modePollIntervalMs_(CTransferModeCommand::kModePollIntervalMs),
      job_(std::move(backend)) {}

CTransferThread::~CTransferThread() {
  Abort();
  Join();
}

bool CTransferThread::Start(const CommSettings& settings, const std::filesystem::path& setFolder) {
  return job_.Start(
      [this, settings, setFolder] {
        // Whatever the aborted port operation caused, a requested abort is a cancel.
        const LinkOutcome outcome = Work(settings, setFolder);
        return job_.aborted() ? LinkOutcome{LinkResult::Cancelled, 0} : outcome;
      },
      [this](const LinkOutcome& outcome) { relay_->Finished(outcome.result, outcome.value); });
}

void CTransferThread::Abort() { job_.Abort(); }

void CTransferThread::DetachObserver() { relay_->Detach(); }

void CTransferThread::Join() { job_.Join(); }

CTransferThread::FolderProblem CTransferThread::folderProblem() const {
  std::lock_guard lock(folderMutex_);
  return folderProblem_;
}

LinkOutcome CTransferThread::FolderFailed(const DataSetWriter& writer) {
  std::lock_guard lock(folderMutex_);
  folderProblem_ = {writer.failedFolder(), writer.folderError()};
  return {LinkResult::SetupFailed, 0};
}

LinkOutcome CTransferThread::Work(const CommSettings& settings, const std::filesystem::path& setFolder) {
  if (job_.aborted()) return {LinkResult::Cancelled, 0};
  if (!job_.OpenPort(settings)) return {LinkResult::PortOpenFailed, 0};

  CSerialPort& port = job_.port();
  CreatedFolders created;  // declared first: it looks at the folders after the commands are gone
  CQueueRunner runner(port, job_.abortFlag());
  try {
    runner.Push(std::make_unique<CConnectCommand>());
    runner.Push(std::make_unique<CBaudCheckCommand>(port.GetBaudRate(), relay_.get()));
    const int pollMs = modePollIntervalMs_;
    runner.Push(std::make_unique<CTransferModeCommand>(relay_.get(), [this, pollMs](int) { job_.AbortableSleep(pollMs); }));
    std::array<std::unique_ptr<CDataReadCommand>, kTransferKindCount> reads;
    for (auto& r : reads) r = std::make_unique<CDataReadCommand>();
    for (TransferKind k : kAllTransferKinds) {
      CDataReadCommand& read = *reads[static_cast<std::size_t>(k)];
      const bool ready = read.Setup(k, relay_.get(), setFolder);
      created.Add(read.writer().createdFolder());
      if (!ready) return FolderFailed(read.writer());
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
