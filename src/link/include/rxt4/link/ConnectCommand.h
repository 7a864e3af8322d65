#pragma once
// CConnectCommand: 0x20, the connection check. The instrument answers 0xA0 with a
// status byte and three bytes the PC does not interpret.

#include "rxt4/link/InstrumentCommand.h"

namespace rxt4 {

class CConnectCommand : public CInstrumentCommand {
 public:
  static constexpr std::uint8_t kRequestCode = 0x20;
  static constexpr std::uint8_t kReplyCode = 0xA0;
  static constexpr std::size_t kReplyPayloadBytes = 4;

  CConnectCommand();
  // Succeeds on status 0; the command is done.
  bool OnReply() override;
};

}  // namespace rxt4
