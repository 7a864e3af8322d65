#pragma once
// What a data transfer job reports to whoever shows it (the transfer dialog, the
// command line). Every call comes from the job's worker thread: an implementation
// must not block for long and must not call back into the job (queue the event to
// its own thread instead).

#include "rxt4/data/Kinds.h"
#include "rxt4/link/LinkResult.h"

namespace rxt4 {

class TransferObserver {
 public:
  virtual ~TransferObserver() = default;
  // A block of kind arrived: percent of that kind, 0..100 (the bar shows kind × 100 + percent of 700).
  virtual void progress(TransferKind kind, int percent) = 0;
  // The instrument is not in data transfer mode yet; the job asks again every second.
  virtual void modeWait() = 0;
  // A reply of kind was bad or missing: the block is asked for again (retry 1 to 3).
  // The next progress of the kind says the block has arrived after all.
  virtual void retrying(TransferKind kind, int retry) {
    (void)kind;
    (void)retry;
  }
  // The job has ended; called exactly once per started job (TransferFinalText gives the text).
  virtual void finished(LinkResult result, int value) = 0;
};

}  // namespace rxt4
