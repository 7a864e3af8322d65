#pragma once
// CTransferModeCommand: 0x26, asks whether the user has put the instrument into
// data transfer mode (0xA6: status, mode). Mode 0 reports a mode wait, sleeps a
// second and asks again, without limit: only the user's cancel stops it.

#include <functional>

#include "rxt4/link/InstrumentCommand.h"
#include "rxt4/link/TransferCommandListener.h"

namespace rxt4 {

class CTransferModeCommand : public CInstrumentCommand {
 public:
  static constexpr std::uint8_t kRequestCode = 0x26;
  static constexpr std::uint8_t kReplyCode = 0xA6;
  static constexpr std::size_t kReplyPayloadBytes = 2;
  static constexpr int kModePollIntervalMs = 1000;

  // Sleeps for the given milliseconds; the job's version returns early on abort.
  using SleepFunction = std::function<void(int ms)>;

  // listener may be null; sleep must be callable.
  CTransferModeCommand(TransferCommandListener* listener, SleepFunction sleep);
  // Status 0 and mode nonzero: done. Mode 0: mode wait, sleep, ask again.
  bool OnReply() override;

 private:
  TransferCommandListener* listener_;
  SleepFunction sleep_;
};

}  // namespace rxt4
