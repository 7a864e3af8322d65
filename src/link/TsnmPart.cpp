#include "rxt4/link/TsnmPart.h"

#include <algorithm>

#include "rxt4/link/Crc.h"

namespace rxt4 {

PartLoad CTsnmPart::Load(CFirmwareFile& file) {
  std::array<std::uint8_t, kHeaderBytes> header{};
  const PartLoad head = ReadHeader(file, header, kSignature);
  if (head != PartLoad::Loaded) return head;
  const std::uint64_t length = Read24(header, 24);
  const std::uint64_t rest = length + kPartCrcBytes;
  // Checked before allocating: the file must hold what the header claims.
  if (rest > file.Remaining() || kHeaderBytes + rest > kMaxPartBytes) return Invalid(ImageCheck::Length);
  bytes_.assign(kHeaderBytes + rest, 0);
  std::copy(header.begin(), header.end(), bytes_.begin());
  if (file.Read(std::span(bytes_).subspan(kHeaderBytes)) != rest) return Invalid(ImageCheck::Length);
  if (Crc32Mpeg2(bytes_) != 0) return Invalid(ImageCheck::Crc);
  payloadBytes_ = static_cast<std::uint32_t>(length);
  return PartLoad::Loaded;
}

}  // namespace rxt4
