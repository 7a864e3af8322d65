#include "ReaderPool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace rxt4 {

bool ReaderPool::Run(std::size_t count, const std::function<bool(int, std::size_t)>& work) const {
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stopped{false};
  std::mutex failureMutex;
  std::exception_ptr failure;
  auto take = [&](int worker) {
    while (!stopped.load(std::memory_order_relaxed)) {
      const std::size_t i = next.fetch_add(1);
      if (i >= count) return;
      try {
        if (!work(worker, i)) stopped = true;
      } catch (...) {
        std::lock_guard lock(failureMutex);
        if (!failure) failure = std::current_exception();
        stopped = true;
      }
    }
  };
  std::vector<std::thread> helpers;
  const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(threads_), count);
  for (std::size_t t = 1; t < wanted; ++t) {
    try {
      helpers.emplace_back(take, static_cast<int>(t));
    } catch (const std::system_error&) {
      break;  // fewer threads: the ones there share the work
    }
  }
  take(0);
  for (std::thread& helper : helpers) helper.join();
  if (failure) std::rethrow_exception(failure);
  return !stopped;
}

}  // namespace rxt4
