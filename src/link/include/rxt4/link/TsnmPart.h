#pragma once
// The TSNM part: a 28-byte header ("VEXOLA RXT4 TSNM", length L at 24), L body bytes
// and the CRC-32.

#include "rxt4/link/FirmwarePart.h"

namespace rxt4 {

class CTsnmPart : public CFirmwarePart {
 public:
  static constexpr std::size_t kHeaderBytes = 28;
  static constexpr std::string_view kSignature = "VEXOLA RXT4 TSNM";

  // Reads and verifies the part (see CFirmwarePart::Load).
  PartLoad Load(CFirmwareFile& file) override;
  // L.
  std::uint32_t PayloadSize() const override { return payloadBytes_; }
  // PartType::Tsnm.
  PartType Type() const override { return PartType::Tsnm; }

 private:
  std::uint32_t payloadBytes_ = 0;
};

}  // namespace rxt4
