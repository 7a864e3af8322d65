#pragma once
// CTransferThread: one data transfer attempt. Start opens the port, queues the
// connection check, the rate check, the transfer-mode poll and the seven block
// reads, and runs them on a worker thread it owns; the observer hears progress,
// mode waits and, exactly once, the end. Abort may be called from any thread and
// makes the result Cancelled. The destructor aborts a running worker and joins it.
// The set folder is held for this job alone (DownloadFolder): a second job for it is
// refused. The set folder and the kind folders are taken (and checked for writing)
// before the port is opened. A set folder holding an earlier download gets the new
// one in a staging folder beside it, put in its place only when every kind has been
// saved; otherwise a kind folder the job made itself and that stays empty (a failure,
// a cancel) is removed again when the worker ends. Abort, DetachObserver, Join and the worker's
// state are CLinkThread's.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>

#include "rxt4/data/DownloadFolder.h"
#include "rxt4/link/CommSettings.h"
#include "rxt4/link/LinkResult.h"
#include "rxt4/link/LinkThread.h"
#include "rxt4/link/PortBackend.h"
#include "rxt4/link/TransferObserver.h"

namespace rxt4 {

class CTransferThread : public CLinkThread<TransferObserver> {
 public:
  // A folder the job could not make its kind folders in or write into (or the set
  // folder another job holds); empty when there was no such problem.
  using FolderProblem = DownloadFolder::Problem;

  // A job on this platform's serial port.
  explicit CTransferThread(TransferObserver* observer);
  // A job on the given port backend (tests).
  CTransferThread(TransferObserver* observer, std::unique_ptr<PortBackend> backend);
  ~CTransferThread();

  // Starts the worker, which downloads into setFolder (an existing folder; the kind
  // folders are made inside it). False when already started or no thread could be made.
  // An abort makes the result Cancelled.
  bool Start(const CommSettings& settings, const std::filesystem::path& setFolder);
  // Why the folder refused the download (FolderRefused), or where the first kind that
  // was not saved failed and why (NotSaved); valid once running() is false.
  FolderProblem folderProblem() const;
  // The rate the instrument gave in its answer to the rate check; 0 when it gave none.
  std::uint32_t instrumentBaudRate() const { return instrumentRate_.load(); }

  // Sets the pause between transfer-mode polls (tests; the instrument's user needs 1000 ms).
  void setModePollIntervalMs(int ms) { modePollIntervalMs_ = ms; }

 private:
  class Listener;

  LinkOutcome Work(const CommSettings& settings, const std::filesystem::path& setFolder);
  LinkOutcome FolderFailed(const FolderProblem& problem);
  void KindNotSaved(TransferKind kind, const std::filesystem::path& folder, std::error_code reason);

  std::atomic<int> notSavedMask_{0};
  std::atomic<std::uint32_t> instrumentRate_{0};
  int modePollIntervalMs_;
  mutable std::mutex folderMutex_;
  FolderProblem folderProblem_;
};

}  // namespace rxt4
