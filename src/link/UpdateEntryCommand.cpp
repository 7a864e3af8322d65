#include "rxt4/link/UpdateEntryCommand.h"

#include <algorithm>
#include <array>

namespace rxt4 {

CUpdateEntryCommand::CUpdateEntryCommand() : CInstrumentCommand(kEsc, kReplyCode, 0) {
  ResetReplyBuffer();
  setStep(LinkStep::Entry);
  setStepValues(0, 0);
}

bool CUpdateEntryCommand::Send(CSerialPort& port) {
  // The bytes of the reply collected so far are kept: on a real line the ESC loop
  // runs faster than the 8 reply bytes arrive, so a reply thrown away at every ESC
  // would never be seen whole.
  const std::uint8_t esc = kEsc;
  const PortError e = port.Write(&esc, 1);
  setLastPortError(e);
  setStep(LinkStep::Read);  // no wait: the next look follows at once
  return e == PortError::Success;
}

bool CUpdateEntryCommand::Receive(CSerialPort& port) {
  if (!CollectReplyBytes(port)) return false;
  // Bytes before the reply's STX (line noise, the end of an earlier answer) are dropped.
  const auto received = receivedBytes();
  std::size_t stx = 0;
  while (stx < received.size() && received[stx] != kStx) ++stx;
  if (stx > 0) {
    std::vector<std::uint8_t>& buffer = replyBuffer();
    std::move(buffer.begin() + static_cast<std::ptrdiff_t>(stx),
              buffer.begin() + static_cast<std::ptrdiff_t>(received.size()), buffer.begin());
    setReceivedCount(received.size() - stx);
  }
  if (receivedCount() < replyPayloadLength() + kFrameOverheadBytes) {
    setStep(LinkStep::Send);
    return true;
  }
  if (!Verify()) return false;
  DiscardLateAnswers(port);
  return true;
}

void CUpdateEntryCommand::DiscardLateAnswers(CSerialPort& port) {
  // ESC bytes sent before the answer arrived may each have been answered: those extra
  // 0xE0 frames would otherwise be taken as the start of the first version reply.
  // Nothing has been asked yet, so whatever is queued now is stale.
  std::uint32_t queued = 0;
  std::array<std::uint8_t, kDiscardChunkBytes> sink{};
  while (port.GetInQueue(queued) == PortError::Success && queued > 0) {
    std::size_t length = std::min<std::size_t>(queued, sink.size());
    if (port.Read(sink.data(), length) != PortError::Success || length == 0) break;
  }
  port.setPendingCount(0);
}

bool CUpdateEntryCommand::Verify() {
  // The reply has no payload: compared whole with the one frame it may be (the base
  // check would copy an empty payload into an empty destination).
  const auto received = receivedBytes();
  if (received.size() < kFrameOverheadBytes) {
    setStep(LinkStep::Send);
    return true;
  }
  const std::vector<std::uint8_t> expected = BuildFrame(kReplyCode, {});
  if (!std::equal(expected.begin(), expected.end(), received.begin(), received.end())) return false;
  return OnReply();
}

bool CUpdateEntryCommand::OnReply() {
  setStepValues(1, 0);
  setStep(LinkStep::Entry);
  return true;
}

LinkOutcome CUpdateEntryCommand::RunOwnStep(LinkStep step, CSerialPort& port, StepHost& host) {
  if (step != LinkStep::Entry) return CInstrumentCommand::RunOwnStep(step, port, host);
  const bool answered = stepValue1() != 0;
  host.EntryState(answered);
  setStep(answered ? LinkStep::Done : LinkStep::Send);
  return {};
}

}  // namespace rxt4
