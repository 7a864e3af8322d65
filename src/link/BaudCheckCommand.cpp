#include "rxt4/link/BaudCheckCommand.h"

namespace rxt4 {

CBaudCheckCommand::CBaudCheckCommand(int portBaudRate, TransferCommandListener* listener)
    : CInstrumentCommand(kRequestCode, kReplyCode, kReplyPayloadBytes), portBaudRate_(portBaudRate), listener_(listener) {}

bool CBaudCheckCommand::OnReply() {
  auto p = replyPayload();
  if (p[0] != 0) return false;
  instrumentBaudRate_ = (std::uint32_t{p[1]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 8) | p[4];
  if (listener_ != nullptr) listener_->OnInstrumentRate(instrumentBaudRate_);
  setStep(LinkStep::Done);
  return portBaudRate_ > 0 && instrumentBaudRate_ == static_cast<std::uint32_t>(portBaudRate_);
}

}  // namespace rxt4
