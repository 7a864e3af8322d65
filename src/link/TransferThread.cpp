#include "rxt4/link/TransferThread.h"

#include <array>
#include <chrono>
#include <exception>
#include <system_error>
#include <utility>
#include <vector>

#include "rxt4/data/FileTexts.h"
#include "rxt4/link/BaudCheckCommand.h"
#include "rxt4/link/ConnectCommand.h"
#include "rxt4/link/DataReadCommand.h"
#include "rxt4/link/ObserverRelay.h"
#include "rxt4/link/QueueRunner.h"
#include "rxt4/link/TransferCommandListener.h"
#include "rxt4/link/TransferModeCommand.h"

namespace rxt4 {

// What the commands report while the worker runs: passed on to the observer, unless
// it has been detached; the kinds not saved (and why) and the instrument's rate kept
// by the job.
class CTransferThread::Listener final : public TransferCommandListener {
 public:
  Listener(ObserverRelay<TransferObserver>& relay, CTransferThread& job, std::atomic<std::uint32_t>& instrumentRate)
      : relay_(relay), job_(job), instrumentRate_(instrumentRate) {}

  void OnProgress(TransferKind kind, int percent) override {
    relay_.Notify([&](TransferObserver& o) { o.progress(kind, percent); });
  }
  void OnModeWait() override {
    relay_.Notify([](TransferObserver& o) { o.modeWait(); });
  }
  void OnKindNotSaved(TransferKind kind, const std::filesystem::path& folder, std::error_code reason) override {
    job_.KindNotSaved(kind, folder, reason);
  }
  void OnRetry(TransferKind kind, int retry) override {
    relay_.Notify([&](TransferObserver& o) { o.retrying(kind, retry); });
  }
  void OnInstrumentRate(std::uint32_t baudRate) override { instrumentRate_ = baudRate; }

 private:
  ObserverRelay<TransferObserver>& relay_;
  CTransferThread& job_;
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
    : CLinkThread(observer, std::move(backend)), modePollIntervalMs_(CTransferModeCommand::kModePollIntervalMs) {}

CTransferThread::~CTransferThread() {
  Abort();
  Join();
}

bool CTransferThread::Start(const CommSettings& settings, const std::filesystem::path& setFolder) {
  return StartWork([this, settings, setFolder] {
    // Whatever the aborted port operation caused, a requested abort is a cancel.
    const LinkOutcome outcome = Work(settings, setFolder);
    return job().aborted() ? LinkOutcome{LinkResult::Cancelled, 0} : outcome;
  });
}

CTransferThread::FolderProblem CTransferThread::folderProblem() const {
  std::lock_guard lock(folderMutex_);
  return folderProblem_;
}

LinkOutcome CTransferThread::FolderFailed(const FolderProblem& problem) {
  std::lock_guard lock(folderMutex_);
  folderProblem_ = problem;
  return {LinkResult::FolderRefused, 0};
}

void CTransferThread::KindNotSaved(TransferKind kind, const std::filesystem::path& folder, std::error_code reason) {
  notSavedMask_ |= 1 << static_cast<int>(kind);
  // A kind whose writing a cancel stopped is no folder problem: the job ends cancelled.
  if (reason == std::errc::operation_canceled) return;
  std::lock_guard lock(folderMutex_);
  if (!folderProblem_ && reason) folderProblem_ = {folder, reason, false};
}

LinkOutcome CTransferThread::Work(const CommSettings& settings, const std::filesystem::path& setFolder) {
  CLinkJob& job = this->job();
  if (job.aborted()) return {LinkResult::Cancelled, 0};
  // Declared first: it holds the set folder until the very end, and an uncommitted
  // staging folder goes last, after the commands and the kind folders. The set folder
  // and the kind folders are taken before the port is opened: a folder that cannot
  // take the download (or that another download holds) is said without a word to the
  // instrument.
  DownloadFolder folder;
  if (!folder.Open(setFolder)) return FolderFailed(folder.problem());
  // The job record's 測定日時: when the instrument's data was read.
  const std::string measuredAt = MeasuredAtText(std::chrono::system_clock::now());
  Listener listener(relay(), *this, instrumentRate_);
  CreatedFolders created;  // looks at the folders after the commands are gone
  std::array<std::unique_ptr<CDataReadCommand>, kTransferKindCount> reads;
  try {
    for (TransferKind k : kAllTransferKinds) {
      auto& read = reads[static_cast<std::size_t>(k)];
      read = std::make_unique<CDataReadCommand>();
      const bool ready = read->Setup(k, &listener, folder.writeFolder(), folder.setName());
      read->SetAbortFlag(&job.abortFlag());
      if (!folder.staged()) created.Add(read->writer().createdFolder());
      if (!ready) return FolderFailed({read->writer().failedFolder(), read->writer().folderError(), false});
    }
  } catch (const std::exception&) {
    // Out of memory, or the writer's folder creation threw: the set-up failed.
    return {LinkResult::SetupFailed, 0};
  }
  if (!job.OpenPort(settings)) return {LinkResult::PortOpenFailed, 0};

  CSerialPort& port = job.port();
  CQueueRunner runner(port, job.abortFlag());
  try {
    runner.Push(std::make_unique<CConnectCommand>());
    runner.Push(std::make_unique<CBaudCheckCommand>(port.GetBaudRate(), &listener));
    const int pollMs = modePollIntervalMs_;
    runner.Push(std::make_unique<CTransferModeCommand>(&listener, [&job, pollMs](int) { job.AbortableSleep(pollMs); }));
    for (auto& r : reads) runner.Push(std::move(r));
  } catch (const std::exception&) {
    return {LinkResult::SetupFailed, 0};
  }

  LinkOutcome outcome = runner.Run();
  if (outcome.result == LinkResult::Success && notSavedMask_ != 0) outcome = {LinkResult::NotSaved, notSavedMask_};
  // An overwrite takes the place of the earlier download only when it is whole and
  // was not cancelled on the way, with its job record stamped.
  if (outcome.result == LinkResult::Success && !job.aborted()) {
    if (!folder.StampJobRecord(measuredAt, {std::string(filetext::kJobModelName), "", ""}))
      return FolderFailed(folder.problem());
    if (!folder.Commit()) return FolderFailed(folder.problem());
  }
  return outcome;
}

}  // namespace rxt4
