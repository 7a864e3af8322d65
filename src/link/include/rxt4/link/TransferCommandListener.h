#pragma once
// What the data transfer commands report while they run, on the worker thread.
// The transfer job implements it and relays to its observer; tests record it.

#include "rxt4/data/Kinds.h"

namespace rxt4 {

class TransferCommandListener {
 public:
  virtual ~TransferCommandListener() = default;
  // A block of kind arrived: percent of that kind's blocks received, 0..100.
  virtual void OnProgress(TransferKind kind, int percent) = 0;
  // The instrument answered that it is not in data transfer mode yet.
  virtual void OnModeWait() = 0;
  // Every block of kind arrived but its files could not be written.
  virtual void OnKindNotSaved(TransferKind kind) = 0;
};

}  // namespace rxt4
