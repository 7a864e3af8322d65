#include "rxt4/link/Crc.h"

#include <array>

namespace rxt4 {
namespace {

constexpr std::uint32_t kCrc32Polynomial = 0x04C11DB7u;
constexpr std::uint16_t kCrc16Polynomial = 0x1021u;

constexpr std::array<std::uint32_t, 256> MakeCrc32Table() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i << 24;
    for (int bit = 0; bit < 8; ++bit) c = (c & 0x80000000u) ? (c << 1) ^ kCrc32Polynomial : c << 1;
    table[i] = c;
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> MakeCrc16Table() {
  std::array<std::uint16_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint16_t c = static_cast<std::uint16_t>(i << 8);
    for (int bit = 0; bit < 8; ++bit)
      c = static_cast<std::uint16_t>((c & 0x8000u) ? (c << 1) ^ kCrc16Polynomial : c << 1);
    table[i] = c;
  }
  return table;
}

constexpr auto kCrc32Table = MakeCrc32Table();
constexpr auto kCrc16Table = MakeCrc16Table();

}  // namespace

std::uint32_t Crc32Mpeg2(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
  for (std::uint8_t b : bytes) crc = (crc << 8) ^ kCrc32Table[((crc >> 24) ^ b) & 0xFFu];
  return crc;
}

std::uint16_t Crc16Xmodem(std::span<const std::uint8_t> bytes, std::uint16_t crc) {
  for (std::uint8_t b : bytes)
    crc = static_cast<std::uint16_t>((crc << 8) ^ kCrc16Table[((crc >> 8) ^ b) & 0xFFu]);
  return crc;
}

}  // namespace rxt4
