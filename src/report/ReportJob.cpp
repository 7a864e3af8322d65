#include "rxt4/report/ReportJob.h"

#include <system_error>
#include <utility>

namespace rxt4 {

ReportJob::~ReportJob() {
  Abort();
  Join();
}

bool ReportJob::Start(Work work, JobObserver& observer) {
  if (running_.load() || worker_.joinable()) return false;
  running_ = true;
  try {
    worker_ = std::thread([this, work = std::move(work), &observer] {
      const JobOutcome outcome = work(observer, abort_);
      {
        std::lock_guard lock(mutex_);
        outcome_ = outcome;
      }
      observer.Finished(outcome);
      running_ = false;
    });
  } catch (const std::system_error&) {
    running_ = false;
    return false;
  }
  return true;
}

void ReportJob::Join() {
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

JobOutcome ReportJob::outcome() const {
  std::lock_guard lock(mutex_);
  return outcome_;
}

}  // namespace rxt4
