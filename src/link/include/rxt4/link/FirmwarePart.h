#pragma once
// One firmware part of an image file (Main, TSNM or Dec): its bytes exactly as in the
// file (header, body, CRC-32), which the update sends unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "rxt4/link/FirmwareFile.h"

namespace rxt4 {

// The wire type number of a part, as the 0x61 and 0x62 requests carry it.
enum class PartType : std::uint8_t { Main = 1, Tsnm = 2, Dec = 17 };

// The part types in the order they follow each other in a file and are updated.
inline constexpr std::array<PartType, 3> kPartTypes = {PartType::Main, PartType::Tsnm, PartType::Dec};

// "Main", "TSNM" or "Dec" (as the signatures name them); "?" for another number.
std::string_view PartName(PartType type);

// The outcome of a part's Load.
enum class PartLoad : int {
  Invalid = -1,  // the file is not a valid image
  Absent = 0,    // no part of this type here; the read position is unchanged
  Loaded = 1,
};

// The check an image file failed, for saying why it is not an image.
enum class ImageCheck {
  None,      // every check passed
  File,      // the file is missing, unreadable or no regular file
  NoMemory,  // the image does not fit into memory
  NoPart,    // no Main, TSNM or Dec part in it
  TooShort,  // the file ends inside a part's header
  Header,    // a header checksum (of the part, or of a Dec record)
  Length,    // a length in a header does not fit the file (or, for a Dec record, the part)
  Crc,       // a CRC-32 (of the part, or of a Dec record's expanded data)
};

// Which check failed, and where.
struct ImageFault {
  ImageCheck check = ImageCheck::None;
  PartType part = PartType::Main;  // the part it failed in (part checks only)
  int record = 0;                  // the Dec record, counted from 1; 0 for the part itself
};

inline constexpr std::size_t kVersionChars = 8;
inline constexpr std::size_t kSignatureOffset = 8;
inline constexpr std::size_t kSignatureChars = 16;
inline constexpr std::size_t kPartCrcBytes = 4;
// The 0x62 request announces a part size in 24 bits: a larger part cannot be sent.
inline constexpr std::uint32_t kMaxPartBytes = 0xFFFFFF;
static_assert(CFirmwareFile::kMaxImageBytes == std::uint64_t{kMaxPartBytes} * kPartTypes.size());
// The byte that fills upload data past the end of a part.
inline constexpr std::uint8_t kUploadFillByte = 0x1A;

class CFirmwarePart {
 public:
  virtual ~CFirmwarePart() = default;
  // Reads the part from the file's read position: Loaded, Absent or Invalid.
  virtual PartLoad Load(CFirmwareFile& file) = 0;
  // The size of the part's body as its header states it (Main A + B, TSNM L, Dec 0).
  virtual std::uint32_t PayloadSize() const = 0;
  // Writes the part size as 3 bytes big-endian (the 0x62 request's size field).
  virtual void WriteSize(std::span<std::uint8_t, 3> out) const;
  // The part size in bytes: what is announced and uploaded.
  virtual std::uint32_t Size() const { return static_cast<std::uint32_t>(bytes_.size()); }
  // The 8-character version text (the first 8 bytes of the part).
  virtual std::array<char, kVersionChars> Version() const;

  // The wire type of this part.
  virtual PartType Type() const = 0;
  // Upload data: copies the part's bytes from offset into buffer, 0x1A past the end.
  void ReadUpload(std::span<std::uint8_t> buffer, std::uint64_t offset) const;
  // The part's bytes as loaded.
  std::span<const std::uint8_t> Bytes() const { return bytes_; }
  // The check the last Load failed (ImageCheck::None after any other answer).
  ImageFault Fault() const { return {failedCheck_, Type(), failedRecord_}; }

 protected:
  // Reads header.size() bytes and checks signature and header checksum (the last
  // header byte). On a foreign signature the read position goes back and the answer
  // is Absent; Loaded means the header is this part's and sound.
  PartLoad ReadHeader(CFirmwareFile& file, std::span<std::uint8_t> header, std::string_view signature);
  // Keeps the check that failed (in record, from 1, or the part itself) and answers Invalid.
  PartLoad Invalid(ImageCheck check, int record = 0) {
    failedCheck_ = check;
    failedRecord_ = record;
    return PartLoad::Invalid;
  }
  // A 24-bit big-endian number at offset of bytes.
  static std::uint32_t Read24(std::span<const std::uint8_t> bytes, std::size_t offset);

  std::vector<std::uint8_t> bytes_;

 private:
  ImageCheck failedCheck_ = ImageCheck::None;
  int failedRecord_ = 0;
};

}  // namespace rxt4
