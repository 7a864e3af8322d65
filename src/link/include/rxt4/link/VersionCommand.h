#pragma once
// The version query 0x61 of a firmware part: the instrument answers 0xE1 with a
// status byte and the part's 8-character version text.

#include <array>

#include "rxt4/link/FirmwarePart.h"
#include "rxt4/link/InstrumentCommand.h"

namespace rxt4 {

class CVersionCommand : public CInstrumentCommand {
 public:
  static constexpr std::uint8_t kRequestCode = 0x61;
  static constexpr std::uint8_t kReplyCode = 0xE1;
  // Status byte and 8 version characters: the most a reply may carry.
  static constexpr std::size_t kMaxReplyPayloadBytes = 1 + kVersionChars;
  static constexpr int kTimeoutMs = 1000;

  // The query for one part type.
  explicit CVersionCommand(PartType type);
  // Collects the reply; once its length byte is in, the instrument's own length is
  // expected. A length beyond 9 bytes fails the receive.
  bool Receive(CSerialPort& port) override;
  // Status 0: step LinkStep::Version; else failure.
  bool OnReply() override;
  // LinkStep::Version: hands the version text to the worker (StepHost::PartVersions)
  // and is done; an image without the part ends the update with ImagePartMissing and
  // the part type as value.
  LinkOutcome RunOwnStep(LinkStep step, CSerialPort& port, StepHost& host) override;

  // The part type asked for.
  PartType type() const { return type_; }
  // The version text of the verified reply (payload bytes 1 to 8); bytes the reply
  // did not carry are 0.
  std::array<char, kVersionChars> VersionText() const;

 private:
  PartType type_;
};

}  // namespace rxt4
