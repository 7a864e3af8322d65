#include "rxt4/link/FirmwareSendCommand.h"

#include "rxt4/link/Crc.h"

namespace rxt4 {

void BuildXmodemPacket(const CFirmwarePart& part, std::uint32_t block,
                       std::array<std::uint8_t, kXmodemPacketBytes>& packet) {
  packet[0] = kXmodemStx;
  packet[1] = static_cast<std::uint8_t>(block & 0xFFu);
  packet[2] = static_cast<std::uint8_t>(0xFFu - packet[1]);
  const std::span<std::uint8_t> data(packet.data() + 3, kXmodemBlockBytes);
  part.ReadUpload(data, std::uint64_t{block - 1} * kXmodemBlockBytes);
  const std::uint16_t crc = Crc16Xmodem(data);
  packet[3 + kXmodemBlockBytes] = static_cast<std::uint8_t>(crc >> 8);
  packet[4 + kXmodemBlockBytes] = static_cast<std::uint8_t>(crc);
}

CFirmwareSendCommand::CFirmwareSendCommand() : CInstrumentCommand(kRequestCode, kReplyCode, 1) {
  setTimeoutMs(kAnnounceTimeoutMs);
}

bool CFirmwareSendCommand::Setup(const CFirmwareImage& image, PartType type) {
  const CFirmwarePart* part = image.Part(type);
  if (part == nullptr) return false;
  part_ = part;
  std::array<std::uint8_t, 4> payload{static_cast<std::uint8_t>(type), 0, 0, 0};
  part->WriteSize(std::span<std::uint8_t, 3>(payload.data() + 1, 3));
  SetRequestPayload(payload);
  phase_ = kPhaseCommand;
  setStep(LinkStep::Send);
  return true;
}

bool CFirmwareSendCommand::Wait(CSerialPort& port) {
  const PortError e = port.WaitEvent(timeoutMs());
  setLastPortError(e);
  setStep(phase_ == kPhaseCommand ? LinkStep::Read : LinkStep::XmodemReceive);
  return e == PortError::Success;
}

bool CFirmwareSendCommand::OnReply() {
  setTimeoutMs(kCrcRequestTimeoutMs);
  phase_ = kPhaseCrcRequest;
  setStep(LinkStep::Wait);
  const auto payload = replyPayload();
  return !payload.empty() && payload[0] == 0;
}

bool CFirmwareSendCommand::ReadAnswer(CSerialPort& port) {
  if (part_ == nullptr) return false;
  std::uint32_t queued = 0;
  PortError e = port.GetInQueue(queued);
  setLastPortError(e);
  if (e != PortError::Success) return false;
  if (queued == 0) {
    setStep(LinkStep::Wait);
    return true;
  }
  if (phase_ == kPhaseEnd && queued > 1) port.setPendingCount(queued - 1);
  std::uint8_t answer = 0;
  std::size_t length = 1;
  e = port.Read(&answer, length);
  setLastPortError(e);
  if (e != PortError::Success || length != 1) return false;
  setStep(LinkStep::XmodemSend);

  // The byte is judged by the phase it arrived in: the ACK of the last block moves to
  // phase 3 here, and only the next SendPacket sends EOT.
  bool ok = true;
  switch (phase_) {
    case kPhaseCrcRequest:
      if (answer != kXmodemCrcRequest) return false;
      setTimeoutMs(kPacketAnswerTimeoutMs);
      block_ = 1;
      blocks_ = XmodemBlockCount(part_->Size());
      phase_ = kPhaseBlocks;
      break;
    case kPhaseBlocks:
      if (answer == kXmodemAck) {
        ++block_;
        if (block_ > blocks_) phase_ = kPhaseEnd;
      } else if (answer != kXmodemNak) {
        return false;  // a NAK sends the same block again, without limit
      }
      break;
    case kPhaseEnd:
      setStep(LinkStep::Done);
      ok = answer == kXmodemAck;
      break;
    case kPhaseCommand:
      return false;
  }
  PublishBlock();
  return ok;
}

bool CFirmwareSendCommand::SendPacket(CSerialPort& port) {
  PortError e = PortError::Success;
  switch (phase_) {
    case kPhaseBlocks:
      BuildXmodemPacket(*part_, block_, packet_);
      e = port.Write(packet_.data(), packet_.size());
      break;
    case kPhaseEnd: {
      const std::uint8_t eot = kXmodemEot;
      e = port.Write(&eot, 1);
      block_ = 0;
      blocks_ = 0;
      break;
    }
    case kPhaseCommand:
    case kPhaseCrcRequest:
      return false;
  }
  setLastPortError(e);
  PublishBlock();
  setStep(LinkStep::Wait);
  return e == PortError::Success;
}

LinkOutcome CFirmwareSendCommand::RunOwnStep(LinkStep step, CSerialPort& port, StepHost& host) {
  if (step == LinkStep::XmodemSend) {
    if (!SendPacket(port)) return {LinkResult::WaitFailed, requestCode()};
    return {};
  }
  if (step == LinkStep::XmodemReceive) {
    if (!ReadAnswer(port)) return {LinkResult::WaitFailed, requestCode()};
    host.BlockAnswered(static_cast<std::uint32_t>(stepValue1()), static_cast<std::uint32_t>(stepValue2()));
    return {};
  }
  return CInstrumentCommand::RunOwnStep(step, port, host);
}

void CFirmwareSendCommand::PublishBlock() {
  setStepValues(static_cast<int>(block_), static_cast<int>(blocks_));
}

}  // namespace rxt4
