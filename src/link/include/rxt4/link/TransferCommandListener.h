#pragma once
// What the data transfer commands report while they run, on the worker thread.
// The transfer job implements it and relays to its observer; tests record it.

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "rxt4/data/Kinds.h"

namespace rxt4 {

class TransferCommandListener {
 public:
  virtual ~TransferCommandListener() = default;
  // A block of kind arrived: percent of that kind's blocks received, 0..100.
  virtual void OnProgress(TransferKind kind, int percent) = 0;
  // The instrument answered that it is not in data transfer mode yet.
  virtual void OnModeWait() = 0;
  // Every block of kind arrived but its files could not be written: the folder that
  // refused them and the system's reason (empty for an image that does not add up).
  virtual void OnKindNotSaved(TransferKind kind, const std::filesystem::path& folder, std::error_code reason) = 0;
  // A block of kind is asked for again (retry 1 to 3) after a bad or missing reply.
  virtual void OnRetry(TransferKind kind, int retry) = 0;
  // The instrument answered the rate check with its own rate (whether or not it matches).
  virtual void OnInstrumentRate(std::uint32_t baudRate) = 0;
};

}  // namespace rxt4
