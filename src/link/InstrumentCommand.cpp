#include "rxt4/link/InstrumentCommand.h"

#include <algorithm>
#include <cstring>

namespace rxt4 {

CInstrumentCommand::CInstrumentCommand(std::uint8_t requestCode, std::uint8_t replyCode,
                                       std::size_t replyPayloadLength)
    : requestCode_(requestCode),
      replyCode_(replyCode),
      replyPayloadLength_(std::min(replyPayloadLength, kMaxFramePayloadBytes)),
      replyPayload_(replyPayloadLength_, 0) {
  UpdateRequestChecksum();
}

void CInstrumentCommand::SetRequestPayload(std::span<const std::uint8_t> payload) {
  if (payload.size() > kMaxFramePayloadBytes) payload = payload.first(kMaxFramePayloadBytes);
  requestPayload_.assign(payload.begin(), payload.end());
  UpdateRequestChecksum();
}

void CInstrumentCommand::UpdateRequestChecksum() { requestChecksum_ = FrameChecksum(requestCode_, requestPayload_); }

std::vector<std::uint8_t> CInstrumentCommand::RequestFrame() const { return BuildFrame(requestCode_, requestPayload_); }

void CInstrumentCommand::SetReplyPayloadLength(std::size_t length) {
  replyPayloadLength_ = std::min(length, kMaxFramePayloadBytes);
  replyPayload_.resize(replyPayloadLength_);
  replyBuffer_.resize(replyPayloadLength_ + kFrameOverheadBytes);
  receivedCount_ = std::min(receivedCount_, replyBuffer_.size());
}

void CInstrumentCommand::ResetReplyBuffer() {
  replyBuffer_.assign(replyPayloadLength_ + kFrameOverheadBytes, 0);
  receivedCount_ = 0;
}

bool CInstrumentCommand::Send(CSerialPort& port) {
  ResetReplyBuffer();
  std::vector<std::uint8_t> frame = RequestFrame();
  lastPortError_ = port.Write(frame.data(), frame.size());
  step_ = LinkStep::Wait;
  return lastPortError_ == PortError::Success;
}

bool CInstrumentCommand::Wait(CSerialPort& port) {
  lastPortError_ = port.WaitEvent(timeoutMs_);
  step_ = LinkStep::Read;
  return lastPortError_ == PortError::Success;
}

bool CInstrumentCommand::CollectReplyBytes(CSerialPort& port) {
  if (replyBuffer_.size() != replyPayloadLength_ + kFrameOverheadBytes) {
    // A command that waits before it ever sent (the update's completion wait)
    // still needs its buffer.
    replyBuffer_.resize(replyPayloadLength_ + kFrameOverheadBytes);
    receivedCount_ = std::min(receivedCount_, replyBuffer_.size());
  }
  std::uint32_t queued = 0;
  lastPortError_ = port.GetInQueue(queued);
  if (lastPortError_ != PortError::Success) return false;

  const std::size_t need = replyBuffer_.size() - receivedCount_;
  std::size_t toRead = queued;
  std::size_t surplus = 0;
  if (queued > need) {
    // Never over-read: the rest stays queued and makes the next wait return at once.
    toRead = need;
    surplus = queued - need;
    port.setPendingCount(static_cast<std::uint32_t>(surplus));
  }
  std::size_t got = toRead;
  PortError readError = PortError::Success;
  if (toRead > 0) readError = port.Read(replyBuffer_.data() + receivedCount_, got);
  if (got > toRead) got = toRead;
  receivedCount_ += got;

  if (surplus > 0 && receivedCount_ > 0) {
    // More is queued than this frame needs: bytes before the frame's STX are line
    // noise or the tail of an earlier frame; drop them and keep the frame.
    auto begin = replyBuffer_.begin();
    auto end = begin + static_cast<std::ptrdiff_t>(receivedCount_);
    auto stx = std::find(begin, end, kStx);
    if (stx != end && stx != begin) {
      const std::size_t position = static_cast<std::size_t>(stx - begin);
      std::move(stx, end, begin);
      receivedCount_ -= position;
      surplus = surplus > position ? surplus - position : 0;
      if (surplus != 0) port.setPendingCount(static_cast<std::uint32_t>(surplus));
    }
  }
  lastPortError_ = readError;
  return readError == PortError::Success;
}

CInstrumentCommand::FrameCheck CInstrumentCommand::CheckFrame() {
  const std::size_t n = replyPayloadLength_;
  if (receivedCount_ != n + kFrameOverheadBytes || replyBuffer_.size() < n + kFrameOverheadBytes)
    return FrameCheck::Incomplete;
  const std::uint8_t* b = replyBuffer_.data();
  if (b[0] != kStx || b[1] != 0 || b[2] != 0 || b[3] != 1 || b[4] != replyCode_ || b[5] != n || b[6 + n] != kEtx)
    return FrameCheck::Bad;
  if (n > 0) std::memcpy(replyPayload_.data(), b + 6, n);
  if (FrameChecksum(replyCode_, replyPayload_) != b[7 + n]) return FrameCheck::Bad;
  return FrameCheck::Good;
}

bool CInstrumentCommand::Verify() {
  switch (CheckFrame()) {
    case FrameCheck::Incomplete:
      step_ = LinkStep::Wait;
      return true;
    case FrameCheck::Bad:
      return OnBadReply();
    case FrameCheck::Good:
      break;
  }
  return OnReply();
}

bool CInstrumentCommand::Receive(CSerialPort& port) {
  if (!CollectReplyBytes(port)) return false;
  return Verify();
}

bool CInstrumentCommand::OnReply() {
  step_ = LinkStep::Done;
  return true;
}

LinkOutcome CInstrumentCommand::RunOwnStep(LinkStep step, CSerialPort&, StepHost&) {
  return {LinkResult::EmptyEntry, static_cast<int>(step)};
}

}  // namespace rxt4
