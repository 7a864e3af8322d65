#pragma once
// ReportJob: one report or export run on a worker thread that the job owns, for a
// caller that must stay responsive (the viewer). The worker reports to the observer
// (progress, warnings, then Finished exactly once); Abort raises the flag the work
// checks between pages or measurements. The destructor aborts and joins.

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "rxt4/report/JobObserver.h"

namespace rxt4 {

class ReportJob {
 public:
  using Work = std::function<JobOutcome(JobObserver& observer, const std::atomic<bool>& abort)>;

  ReportJob() = default;
  ~ReportJob();
  ReportJob(const ReportJob&) = delete;
  ReportJob& operator=(const ReportJob&) = delete;

  // Starts the worker; false when already started or no thread could be made. The
  // observer must outlive the job.
  bool Start(Work work, JobObserver& observer);
  // Asks the work to stop; it ends as Cancelled at its next check.
  void Abort() { abort_ = true; }
  // Waits for the worker to end (no-op when none was started).
  void Join();
  // True from Start until the worker has reported Finished.
  bool running() const { return running_.load(); }
  // The outcome (valid once running() is false after a Start).
  JobOutcome outcome() const;

 private:
  std::atomic<bool> abort_{false};
  std::atomic<bool> running_{false};
  mutable std::mutex mutex_;  // guards outcome_
  JobOutcome outcome_;
  std::thread worker_;
};

}  // namespace rxt4
