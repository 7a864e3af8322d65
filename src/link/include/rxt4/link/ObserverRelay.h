#pragma once
// ObserverRelay: passes a job's reports on to its observer unless the observer has
// been detached. The mutex makes Detach a barrier: once it returns, no call is
// running or will start, so the observer may go away.

#include <mutex>

#include "rxt4/link/LinkResult.h"

namespace rxt4 {

template <class Observer>
class ObserverRelay {
 public:
  explicit ObserverRelay(Observer* observer) : observer_(observer) {}

  // Calls call(observer) under the lock, unless the observer was detached.
  template <class Call>
  void Notify(Call&& call) {
    std::lock_guard lock(mutex_);
    if (observer_ != nullptr) call(*observer_);
  }
  // Reports the job's end to the observer (unless detached).
  void Finished(LinkResult result, int value) {
    Notify([&](Observer& o) { o.finished(result, value); });
  }
  // No further call reaches the observer after this returns.
  void Detach() {
    std::lock_guard lock(mutex_);
    observer_ = nullptr;
  }

 private:
  std::mutex mutex_;
  Observer* observer_;
};

}  // namespace rxt4
