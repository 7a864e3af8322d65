#include "rxt4/link/FirmwarePart.h"

#include <algorithm>
#include <numeric>

namespace rxt4 {

std::string_view PartName(PartType type) {
  switch (type) {
    case PartType::Main: return "Main";
    case PartType::Tsnm: return "TSNM";
    case PartType::Dec: return "Dec";
  }
  return "?";
}

void CFirmwarePart::WriteSize(std::span<std::uint8_t, 3> out) const {
  const std::uint32_t size = Size();
  out[0] = static_cast<std::uint8_t>(size >> 16);
  out[1] = static_cast<std::uint8_t>(size >> 8);
  out[2] = static_cast<std::uint8_t>(size);
}

std::array<char, kVersionChars> CFirmwarePart::Version() const {
  std::array<char, kVersionChars> version{};
  const std::size_t n = std::min(bytes_.size(), kVersionChars);
  std::copy_n(bytes_.begin(), n, version.begin());
  return version;
}

void CFirmwarePart::ReadUpload(std::span<std::uint8_t> buffer, std::uint64_t offset) const {
  std::size_t copied = 0;
  if (offset < bytes_.size()) {
    copied = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), bytes_.size() - offset));
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), copied, buffer.begin());
  }
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(copied), buffer.end(), kUploadFillByte);
}

PartLoad CFirmwarePart::ReadHeader(CFirmwareFile& file, std::span<std::uint8_t> header, std::string_view signature) {
  const std::size_t got = file.Read(header);
  if (got == 0) return PartLoad::Absent;
  if (got < header.size()) return Invalid(ImageCheck::TooShort);
  if (!std::equal(signature.begin(), signature.end(), header.begin() + kSignatureOffset)) {
    file.Back(got);  // the next part type looks at the same bytes
    return PartLoad::Absent;
  }
  const unsigned sum = std::accumulate(header.begin(), header.end() - 1, 0u);
  if (static_cast<std::uint8_t>(sum) != header.back()) return Invalid(ImageCheck::Header);
  return PartLoad::Loaded;
}

std::uint32_t CFirmwarePart::Read24(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return (std::uint32_t{bytes[offset]} << 16) | (std::uint32_t{bytes[offset + 1]} << 8) | bytes[offset + 2];
}

}  // namespace rxt4
