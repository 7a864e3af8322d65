#pragma once
// The Main part: a 32-byte header ("VEXOLA RXT4 Main", lengths A at 24 and B at 27),
// A + B body bytes and the CRC-32.

#include "rxt4/link/FirmwarePart.h"

namespace rxt4 {

class CMainPart : public CFirmwarePart {
 public:
  static constexpr std::size_t kHeaderBytes = 32;
  static constexpr std::string_view kSignature = "VEXOLA RXT4 Main";

  // Reads and verifies the part (see CFirmwarePart::Load).
  PartLoad Load(CFirmwareFile& file) override;
  // A + B.
  std::uint32_t PayloadSize() const override { return payloadBytes_; }
  // PartType::Main.
  PartType Type() const override { return PartType::Main; }

 private:
  std::uint32_t payloadBytes_ = 0;
};

}  // namespace rxt4
