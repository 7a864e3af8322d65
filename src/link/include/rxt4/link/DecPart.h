#pragma once
// The Dec part: a 32-byte header ("VEXOLA RXT4 Dec ", end offset S at 28), records
// from byte 32 up to byte S, each with its own CRC-32 over its expanded data, and the
// part's CRC-32 at S.

#include "rxt4/link/FirmwarePart.h"

namespace rxt4 {

class CDecPart : public CFirmwarePart {
 public:
  static constexpr std::size_t kHeaderBytes = 32;
  static constexpr std::string_view kSignature = "VEXOLA RXT4 Dec ";
  // The smallest part size the header may state (S + 4).
  static constexpr std::uint32_t kMinPartBytes = 44;
  static constexpr std::size_t kRecordHeaderBytes = 12;
  static constexpr std::size_t kRecordCrcBytes = 4;
  // The record method byte meaning "stored as is".
  static constexpr std::uint8_t kMethodStored = 0xFF;

  // Reads and verifies the part and every record (see CFirmwarePart::Load).
  PartLoad Load(CFirmwareFile& file) override;
  // Always 0: the Dec part has no single body length.
  std::uint32_t PayloadSize() const override { return 0; }
  // PartType::Dec.
  PartType Type() const override { return PartType::Dec; }

 private:
  // Reads and checks record number record (from 1) at offset p (below end); answers
  // its length (16 + T), or 0 when the record is invalid (Fault() says why).
  std::size_t ReadRecord(CFirmwareFile& file, std::size_t p, std::size_t end, int record);
};

}  // namespace rxt4
