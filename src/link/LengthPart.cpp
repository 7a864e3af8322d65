#include "rxt4/link/LengthPart.h"

#include <algorithm>
#include <array>

#include "rxt4/link/Crc.h"

namespace rxt4 {

PartLoad CLengthPart::Load(CFirmwareFile& file) {
  static_assert(kMainLayout.headerBytes <= kMaxHeaderBytes && kTsnmLayout.headerBytes <= kMaxHeaderBytes);
  std::array<std::uint8_t, kMaxHeaderBytes> buffer{};
  const std::span<std::uint8_t> header = std::span(buffer).first(layout_.headerBytes);
  const PartLoad head = ReadHeader(file, header, layout_.signature);
  if (head != PartLoad::Loaded) return head;
  std::uint64_t body = 0;
  for (int i = 0; i < layout_.lengthFields; ++i) body += Read24(header, kLengthOffset + 3 * static_cast<std::size_t>(i));
  const std::uint64_t rest = body + kPartCrcBytes;
  // Checked before allocating: the file must hold what the header claims.
  if (rest > file.Remaining() || header.size() + rest > kMaxPartBytes) return Invalid(ImageCheck::Length);
  bytes_.assign(header.size() + rest, 0);
  std::copy(header.begin(), header.end(), bytes_.begin());
  if (file.Read(std::span(bytes_).subspan(header.size())) != rest) return Invalid(ImageCheck::Length);
  if (Crc32Mpeg2(bytes_) != 0) return Invalid(ImageCheck::Crc);
  payloadBytes_ = static_cast<std::uint32_t>(body);
  return PartLoad::Loaded;
}

}  // namespace rxt4
