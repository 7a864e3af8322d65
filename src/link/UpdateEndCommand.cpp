#include "rxt4/link/UpdateEndCommand.h"

namespace rxt4 {
namespace {

constexpr std::uint8_t kStatusComplete = 0;
constexpr std::uint8_t kStatusLastWorking = 3;

}  // namespace

// Nothing is ever sent, so no request code: failures report 0 as their value.
CUpdateEndCommand::CUpdateEndCommand() : CInstrumentCommand(0, kReplyCode, kReplyPayloadBytes) {
  ResetReplyBuffer();
  setTimeoutMs(kTimeoutMs);
  setStep(LinkStep::Wait);
}

bool CUpdateEndCommand::OnReply() {
  const std::uint8_t status = replyPayload()[0];
  if (status > kStatusLastWorking) return false;
  setStep(status == kStatusComplete ? LinkStep::Done : LinkStep::Wait);
  ResetReplyBuffer();
  return true;
}

}  // namespace rxt4
