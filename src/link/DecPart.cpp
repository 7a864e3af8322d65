#include "rxt4/link/DecPart.h"

#include <algorithm>
#include <numeric>

#include "rxt4/link/Crc.h"
#include "rxt4/link/LzExpand.h"

namespace rxt4 {

PartLoad CDecPart::Load(CFirmwareFile& file) {
  std::array<std::uint8_t, kHeaderBytes> header{};
  const PartLoad head = ReadHeader(file, header, kSignature);
  if (head != PartLoad::Loaded) return head;
  const std::size_t end = Read24(header, 28);  // S: where the records end and the CRC starts
  const std::uint64_t size = std::uint64_t{end} + kPartCrcBytes;
  // Checked before allocating: the rest of the file must hold the whole part.
  if (size < kMinPartBytes || size > kHeaderBytes + file.Remaining() || size > kMaxPartBytes)
    return Invalid(ImageCheck::Length);
  bytes_.assign(size, 0);
  std::copy(header.begin(), header.end(), bytes_.begin());
  std::size_t p = kHeaderBytes;
  for (int record = 1; p < end; ++record) {
    const std::size_t length = ReadRecord(file, p, end, record);
    if (length == 0) return PartLoad::Invalid;
    p += length;
  }
  if (file.Read(std::span(bytes_).subspan(end, kPartCrcBytes)) != kPartCrcBytes) return Invalid(ImageCheck::Length);
  if (Crc32Mpeg2(bytes_) != 0) return Invalid(ImageCheck::Crc);
  return PartLoad::Loaded;
}

std::size_t CDecPart::ReadRecord(CFirmwareFile& file, std::size_t p, std::size_t end, int record) {
  // Every record must lie inside the first S bytes: checked before each read.
  const auto failed = [this, record](ImageCheck check) {
    Invalid(check, record);
    return std::size_t{0};
  };
  if (end - p < kRecordHeaderBytes) return failed(ImageCheck::Length);
  const std::span<std::uint8_t> head = std::span(bytes_).subspan(p, kRecordHeaderBytes);
  if (file.Read(head) != kRecordHeaderBytes) return failed(ImageCheck::Length);
  const unsigned sum = std::accumulate(head.begin(), head.begin() + 11, 0u);
  if (static_cast<std::uint8_t>(sum) != head[11]) return failed(ImageCheck::Header);
  const std::uint32_t expanded = Read24(head, 4);
  const std::uint32_t stored = Read24(head, 7);
  const std::uint8_t method = head[10];
  const std::size_t length = kRecordHeaderBytes + stored + kRecordCrcBytes;
  if (length > end - p) return failed(ImageCheck::Length);
  const std::span<std::uint8_t> data = std::span(bytes_).subspan(p + kRecordHeaderBytes, stored);
  const std::span<std::uint8_t> crc = std::span(bytes_).subspan(p + kRecordHeaderBytes + stored, kRecordCrcBytes);
  if (file.Read(data) != stored || file.Read(crc) != kRecordCrcBytes) return failed(ImageCheck::Length);

  std::uint32_t check = kCrc32Mpeg2Init;
  if (method == kMethodStored) {
    check = Crc32Mpeg2(data);
  } else {
    const int offsetBits = (method >> 4) + 1;
    const int lengthBits = (method & 0x0F) + 1;
    // LzMaxExpandedBytes is 0 for refused parameters or an empty source; an expanded
    // length beyond what the stored bytes can give is refused before it is allocated.
    const std::uint64_t limit = LzMaxExpandedBytes(stored, offsetBits, lengthBits);
    if (limit == 0 || expanded > limit) return failed(ImageCheck::Crc);
    std::vector<std::uint8_t> scratch(expanded, 0);
    const std::uint64_t produced = LzExpand(scratch, data, offsetBits, lengthBits);
    // A failed or short expansion cannot match the record's CRC.
    if (produced == 0 || produced < expanded) return failed(ImageCheck::Crc);
    check = Crc32Mpeg2(scratch);
  }
  if (Crc32Mpeg2(crc, check) != 0) return failed(ImageCheck::Crc);
  return length;
}

}  // namespace rxt4
