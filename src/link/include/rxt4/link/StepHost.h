#pragma once
// What the firmware update commands' own steps tell the worker that runs them (the
// wake-up state, the versions, the progress of the upload) and the one thing they
// ask of it: whether the image holds the part whose version the instrument gave.
// The transfer's runner has no such steps and passes the base, which answers
// nothing and says the image holds no part.

#include <array>
#include <cstdint>

#include "rxt4/link/FirmwarePart.h"

namespace rxt4 {

class StepHost {
 public:
  virtual ~StepHost() = default;

  // The wake-up: the instrument has not answered yet (false: waiting for its update
  // mode) or has answered (true: the upload begins).
  virtual void EntryState(bool /*answered*/) {}
  // The instrument's version text of a part; false when the image holds no such part.
  virtual bool PartVersions(PartType /*type*/, const std::array<char, kVersionChars>& /*instrument*/) { return false; }
  // The answer to XMODEM block `block` of `blocks` has been read.
  virtual void BlockAnswered(std::uint32_t /*block*/, std::uint32_t /*blocks*/) {}
};

}  // namespace rxt4
