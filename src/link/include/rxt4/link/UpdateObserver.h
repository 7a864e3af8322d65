#pragma once
// What a firmware update job reports to whoever shows it (the update dialog, the
// command line). Every call comes from the job's worker thread: an implementation
// must not block for long and must not call back into the job (queue the event to
// its own thread instead, copying the texts).

#include <cstdint>
#include <string>

#include "rxt4/link/LinkResult.h"

namespace rxt4 {

class UpdateObserver {
 public:
  virtual ~UpdateObserver() = default;
  // updating false: sending ESC, waiting for the instrument's update mode (total 0).
  // updating true: the instrument answered; the bar runs from 0 to progressTotal.
  virtual void state(bool updating, int progressTotal) = 0;
  // An XMODEM answer was read: the current block number (0 when none) of blocks.
  virtual void progress(std::uint32_t block, std::uint32_t blocks) = 0;
  // A version reply: the instrument's text and the file's text of the same part, each
  // up to 8 Shift-JIS bytes as sent (untrimmed). The strings live only for the call.
  virtual void versions(const std::string& instrument, const std::string& file) = 0;
  // The job has ended; called exactly once per started job (UpdateFinalText gives the text).
  virtual void finished(LinkResult result, int value) = 0;
};

}  // namespace rxt4
