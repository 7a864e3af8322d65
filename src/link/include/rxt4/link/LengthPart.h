#pragma once
// The Main and TSNM parts: a header whose signature names the part and whose 24-bit
// length fields give the body's size, then the body and the CRC-32. They differ only
// in the header's size and in how many length fields it holds:
//   Main: 32-byte header ("VEXOLA RXT4 Main"), lengths A at 24 and B at 27, A + B body bytes;
//   TSNM: 28-byte header ("VEXOLA RXT4 TSNM"), length L at 24, L body bytes.

#include <cstddef>
#include <string_view>

#include "rxt4/link/FirmwarePart.h"

namespace rxt4 {

struct LengthPartLayout {
  PartType type;
  std::size_t headerBytes;
  std::string_view signature;
  int lengthFields;  // 24-bit big-endian lengths from offset 24, summed
};

inline constexpr LengthPartLayout kMainLayout{PartType::Main, 32, "VEXOLA RXT4 Main", 2};
inline constexpr LengthPartLayout kTsnmLayout{PartType::Tsnm, 28, "VEXOLA RXT4 TSNM", 1};

class CLengthPart : public CFirmwarePart {
 public:
  explicit CLengthPart(const LengthPartLayout& layout) : layout_(layout) {}

  // Reads and verifies the part (see CFirmwarePart::Load).
  PartLoad Load(CFirmwareFile& file) override;
  // The sum of the header's lengths (Main A + B, TSNM L).
  std::uint32_t PayloadSize() const override { return payloadBytes_; }
  PartType Type() const override { return layout_.type; }

 private:
  static constexpr std::size_t kLengthOffset = 24;
  static constexpr std::size_t kMaxHeaderBytes = 32;

  const LengthPartLayout& layout_;
  std::uint32_t payloadBytes_ = 0;
};

}  // namespace rxt4
