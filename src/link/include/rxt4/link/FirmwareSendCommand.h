#pragma once
// The upload of one firmware part: the 0x62 request announces type and size, the
// instrument answers 0xE2 with status 0 and turns into an XMODEM-1K receiver in CRC
// mode ("C", then ACK or NAK per 1029-byte packet, ACK after EOT).

#include <array>
#include <cstdint>

#include "rxt4/link/FirmwareImage.h"
#include "rxt4/link/InstrumentCommand.h"

namespace rxt4 {

inline constexpr std::uint8_t kXmodemStx = 0x02;
inline constexpr std::uint8_t kXmodemEot = 0x04;
inline constexpr std::uint8_t kXmodemAck = 0x06;
inline constexpr std::uint8_t kXmodemNak = 0x15;
inline constexpr std::uint8_t kXmodemCrcRequest = 0x43;  // "C"
inline constexpr std::size_t kXmodemBlockBytes = 1024;
inline constexpr std::size_t kXmodemPacketBytes = 3 + kXmodemBlockBytes + 2;

// The number of XMODEM blocks of a part: size / 1024 + 1, so a part whose size is a
// multiple of 1024 ends with a block of 0x1A only.
constexpr std::uint32_t XmodemBlockCount(std::uint32_t partBytes) {
  return partBytes / static_cast<std::uint32_t>(kXmodemBlockBytes) + 1;
}

// Builds the packet of block number block (1-based) of part: STX, block mod 256, its
// complement, the 1024 upload bytes at (block - 1) * 1024, CRC-16 high byte first.
void BuildXmodemPacket(const CFirmwarePart& part, std::uint32_t block,
                       std::array<std::uint8_t, kXmodemPacketBytes>& packet);

class CFirmwareSendCommand : public CInstrumentCommand {
 public:
  static constexpr std::uint8_t kRequestCode = 0x62;
  static constexpr std::uint8_t kReplyCode = 0xE2;
  static constexpr int kAnnounceTimeoutMs = 1000;    // for the 0xE2 reply
  static constexpr int kCrcRequestTimeoutMs = 5000;  // for the receiver's "C"
  static constexpr int kPacketAnswerTimeoutMs = 10000;  // for each ACK or NAK

  // The upload phases.
  enum Phase : int {
    kPhaseCommand = 0,   // 0x62 sent, waiting for 0xE2
    kPhaseCrcRequest = 1,  // waiting for "C"
    kPhaseBlocks = 2,    // sending blocks
    kPhaseEnd = 3,       // the last block was acknowledged; EOT goes out next
  };

  CFirmwareSendCommand();
  // Takes the part of type from image (not owned: the image must outlive the command)
  // and puts type and size into the request. False when the image has no such part.
  bool Setup(const CFirmwareImage& image, PartType type);

  // Waits for characters: step LinkStep::Read in phase 0, LinkStep::XmodemReceive later.
  bool Wait(CSerialPort& port) override;
  // Status 0: phase 1, wait for "C"; anything else is a failure.
  bool OnReply() override;
  // LinkStep::XmodemReceive: reads one answer byte and acts on it by the phase it arrived in.
  bool ReadAnswer(CSerialPort& port);
  // LinkStep::XmodemSend: writes the current block's packet (phase 2) or EOT (phase 3).
  bool SendPacket(CSerialPort& port);
  // The XMODEM steps: LinkStep::XmodemSend runs SendPacket, LinkStep::XmodemReceive
  // ReadAnswer and then reports the block answered; a failure of either ends the
  // update with WaitFailed and the request code.
  LinkOutcome RunOwnStep(LinkStep step, CSerialPort& port, StepHost& host) override;

  Phase phase() const { return phase_; }
  std::uint32_t block() const { return block_; }
  std::uint32_t blocks() const { return blocks_; }
  const CFirmwarePart* part() const { return part_; }

 private:
  void PublishBlock();

  const CFirmwarePart* part_ = nullptr;
  Phase phase_ = kPhaseCommand;
  std::uint32_t block_ = 0;
  std::uint32_t blocks_ = 0;
  std::array<std::uint8_t, kXmodemPacketBytes> packet_{};
};

}  // namespace rxt4
