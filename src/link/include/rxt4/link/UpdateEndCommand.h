#pragma once
// The completion wait after the Dec part: nothing is sent; the instrument reports
// with 0xE3 frames (status, then 6 bytes not interpreted): 0 complete, 1 to 3 still
// working (another frame follows), anything else a failure.

#include "rxt4/link/InstrumentCommand.h"

namespace rxt4 {

class CUpdateEndCommand : public CInstrumentCommand {
 public:
  static constexpr std::uint8_t kReplyCode = 0xE3;
  static constexpr std::size_t kReplyPayloadBytes = 7;
  static constexpr int kTimeoutMs = 20000;  // per status frame

  // Starts at LinkStep::Wait with an empty 15-byte reply buffer.
  CUpdateEndCommand();
  // Status 0: done; 1 to 3: wait for the next frame (collected from the start); else failure.
  bool OnReply() override;
};

}  // namespace rxt4
