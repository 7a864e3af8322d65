#pragma once
// A few threads sharing out the indices of a job: each takes the next index not yet
// taken until none is left. The calling thread is one of them, so a pool of one
// thread runs the work in order, in the caller.

#include <cstddef>
#include <functional>

namespace rxt4 {

class ReaderPool {
 public:
  explicit ReaderPool(int threads) : threads_(threads < 1 ? 1 : threads) {}

  // Runs work(worker, 0) ... work(worker, count - 1), each index once, on up to the
  // pool's number of threads, and returns when all have ended. worker (0 to threads()
  // - 1) tells the threads apart, for what each keeps of its own; 0 is the caller. When work answers false no further index is
  // handed out, and Run answers false. An exception thrown by work is thrown again
  // here once every thread has ended.
  bool Run(std::size_t count, const std::function<bool(int, std::size_t)>& work) const;

  int threads() const { return threads_; }

 private:
  int threads_;
};

}  // namespace rxt4
