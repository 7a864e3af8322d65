#pragma once
// CLinkThread: what the data transfer and the firmware update jobs share on top of
// CLinkJob: the observer relay their reports go through, the end reported to the
// observer exactly once, and the controls a dialog uses (Abort, DetachObserver, Join)
// with the state of the worker.
//
// Observer lifetime: the observer must outlive the job, or call DetachObserver()
// before it goes away; after DetachObserver returns no further call reaches it.

#include <memory>
#include <utility>

#include "rxt4/link/LinkJob.h"
#include "rxt4/link/LinkResult.h"
#include "rxt4/link/ObserverRelay.h"
#include "rxt4/link/PortBackend.h"

namespace rxt4 {

template <class Observer>
class CLinkThread {
 public:
  CLinkThread(const CLinkThread&) = delete;
  CLinkThread& operator=(const CLinkThread&) = delete;

  // Requests the end (callable from any thread): the port's waits end within 100 ms.
  void Abort() { job_.Abort(); }
  // No further observer calls after this returns (callable from any thread but the worker's).
  void DetachObserver() { relay_.Detach(); }
  // Waits until the worker has ended (no-op when none was started).
  void Join() { job_.Join(); }
  // True from Start until the worker has reported its end.
  bool running() const { return job_.running(); }
  // The result reported (valid once running() is false after a Start).
  LinkOutcome outcome() const { return job_.outcome(); }
  // errno of a failed port open (EACCES, ENOENT...), 0 otherwise.
  int openSystemError() const { return job_.openSystemError(); }

 protected:
  CLinkThread(Observer* observer, std::unique_ptr<PortBackend> backend)
      : relay_(observer), job_(std::move(backend)) {}
  // The job itself must Abort and Join in its own destructor, before the members its
  // work reads go away.
  ~CLinkThread() = default;

  // Starts the worker running work; its outcome reaches the observer as the end.
  // False when already started or no thread could be made.
  bool StartWork(CLinkJob::Work work) {
    return job_.Start(std::move(work), [this](const LinkOutcome& outcome) { relay_.Finished(outcome.result, outcome.value); });
  }
  ObserverRelay<Observer>& relay() { return relay_; }
  CLinkJob& job() { return job_; }
  const CLinkJob& job() const { return job_; }

 private:
  ObserverRelay<Observer> relay_;
  CLinkJob job_;
};

}  // namespace rxt4
