#pragma once
// CLinkJob: the plumbing a link job (data transfer, firmware update) runs on: the
// port, the worker thread it owns, the abort flag, the running flag and the outcome.
// Start runs the job's work on the worker, closes the port, keeps the outcome and
// reports it exactly once. The owner must Abort and Join in its own destructor,
// before the members the work reads go away.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "rxt4/link/CommSettings.h"
#include "rxt4/link/LinkResult.h"
#include "rxt4/link/PortBackend.h"
#include "rxt4/link/SerialPort.h"

namespace rxt4 {

class CLinkJob {
 public:
  using Work = std::function<LinkOutcome()>;
  using Report = std::function<void(const LinkOutcome&)>;

  explicit CLinkJob(std::unique_ptr<PortBackend> backend);
  // Aborts a running worker and joins it.
  ~CLinkJob();

  CLinkJob(const CLinkJob&) = delete;
  CLinkJob& operator=(const CLinkJob&) = delete;

  // Starts the worker running work, then report with its outcome. False when already
  // started or no thread could be made.
  bool Start(Work work, Report report);
  // Raises the abort flag, wakes AbortableSleep and makes the port's waits end.
  void Abort();
  // Waits until the worker has ended (no-op when none was started, or on the worker).
  void Join();
  // True once Start was called (the worker may have ended since).
  bool started() const { return running_.load() || worker_.joinable(); }
  // True from Start until the worker has reported its end.
  bool running() const { return running_.load(); }
  // True once Abort was called.
  bool aborted() const { return abort_.load(); }
  // The abort flag, for a queue runner that ends with Cancelled when it is raised.
  const std::atomic<bool>& abortFlag() const { return abort_; }
  // The result reported (valid once running() is false after a Start).
  LinkOutcome outcome() const;
  // errno of a failed port open (EACCES, ENOENT...), 0 otherwise.
  int openSystemError() const { return openSystemError_.load(); }

  // The job's port (used by the worker only while it runs).
  CSerialPort& port() { return port_; }
  // Opens the port (on the worker); on failure keeps its errno and returns false.
  bool OpenPort(const CommSettings& settings);
  // Sleeps ms unless the job is aborted first.
  void AbortableSleep(int ms);

 private:
  void Run(Work work, Report report);

  CSerialPort port_;
  std::atomic<bool> abort_{false};
  std::atomic<bool> running_{false};
  std::atomic<int> openSystemError_{0};
  mutable std::mutex mutex_;  // guards outcome_ and the sleep's wake-up
  std::condition_variable wake_;
  LinkOutcome outcome_;
  std::thread worker_;
};

}  // namespace rxt4
