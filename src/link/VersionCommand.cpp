#include "rxt4/link/VersionCommand.h"

namespace rxt4 {
namespace {

constexpr std::size_t kLengthByteOffset = 5;

}  // namespace

CVersionCommand::CVersionCommand(PartType type)
    : CInstrumentCommand(kRequestCode, kReplyCode, kMaxReplyPayloadBytes), type_(type) {
  const std::uint8_t payload[] = {static_cast<std::uint8_t>(type)};
  SetRequestPayload(payload);
  setTimeoutMs(kTimeoutMs);
}

bool CVersionCommand::Receive(CSerialPort& port) {
  if (!CollectReplyBytes(port)) return false;
  if (receivedCount() > kLengthByteOffset) {
    const std::size_t announced = receivedBytes()[kLengthByteOffset];
    // The reply buffer and the version text hold at most 9 payload bytes.
    // Without even the status byte the reply is malformed.
    if (announced > kMaxReplyPayloadBytes || announced == 0) return false;
    if (announced != replyPayloadLength()) SetReplyPayloadLength(announced);
  }
  return Verify();
}

bool CVersionCommand::OnReply() {
  const auto payload = replyPayload();
  if (payload.empty() || payload[0] != 0) return false;
  setStep(LinkStep::Version);
  return true;
}

LinkOutcome CVersionCommand::RunOwnStep(LinkStep step, CSerialPort& port, StepHost& host) {
  if (step != LinkStep::Version) return CInstrumentCommand::RunOwnStep(step, port, host);
  if (!host.PartVersions(type_, VersionText())) return {LinkResult::ImagePartMissing, static_cast<int>(type_)};
  setStep(LinkStep::Done);
  return {};
}

std::array<char, kVersionChars> CVersionCommand::VersionText() const {
  std::array<char, kVersionChars> text{};
  const auto payload = replyPayload();
  for (std::size_t i = 1; i < payload.size() && i <= kVersionChars; ++i) text[i - 1] = static_cast<char>(payload[i]);
  return text;
}

}  // namespace rxt4
