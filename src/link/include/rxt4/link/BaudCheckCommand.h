#pragma once
// CBaudCheckCommand: 0x23, the instrument's own baud rate (0xA3: status, 32-bit
// big-endian rate) must equal the rate the PC port runs at.

#include "rxt4/link/InstrumentCommand.h"
#include "rxt4/link/TransferCommandListener.h"

namespace rxt4 {

class CBaudCheckCommand : public CInstrumentCommand {
 public:
  static constexpr std::uint8_t kRequestCode = 0x23;
  static constexpr std::uint8_t kReplyCode = 0xA3;
  static constexpr std::size_t kReplyPayloadBytes = 5;

  // portBaudRate: the PC port's rate (GetBaudRate) when the command is made; the
  // listener (may be null) hears the rate the instrument answers with.
  explicit CBaudCheckCommand(int portBaudRate, TransferCommandListener* listener = nullptr);
  // Succeeds on status 0 and a rate equal to the port's.
  bool OnReply() override;

  // The rate of the last verified reply.
  std::uint32_t instrumentBaudRate() const { return instrumentBaudRate_; }

 private:
  int portBaudRate_;
  TransferCommandListener* listener_;
  std::uint32_t instrumentBaudRate_ = 0;
};

}  // namespace rxt4
