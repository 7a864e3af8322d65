#include "rxt4/link/TransferModeCommand.h"

#include <utility>

namespace rxt4 {

CTransferModeCommand::CTransferModeCommand(TransferCommandListener* listener, SleepFunction sleep)
    : CInstrumentCommand(kRequestCode, kReplyCode, kReplyPayloadBytes), listener_(listener), sleep_(std::move(sleep)) {}

bool CTransferModeCommand::OnReply() {
  auto p = replyPayload();
  if (p[0] != 0) return false;
  if (p[1] != 0) {
    setStep(LinkStep::Done);
    return true;
  }
  // Not in data transfer mode yet: the user has to set it on the instrument.
  if (listener_ != nullptr) listener_->OnModeWait();
  setStep(LinkStep::Send);
  if (sleep_) sleep_(kModePollIntervalMs);
  return true;
}

}  // namespace rxt4
