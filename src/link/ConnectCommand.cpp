#include "rxt4/link/ConnectCommand.h"

namespace rxt4 {

CConnectCommand::CConnectCommand() : CInstrumentCommand(kRequestCode, kReplyCode, kReplyPayloadBytes) {}

bool CConnectCommand::OnReply() {
  if (replyPayload()[0] != 0) return false;
  setStep(LinkStep::Done);
  return true;
}

}  // namespace rxt4
