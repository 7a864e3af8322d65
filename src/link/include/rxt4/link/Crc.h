#pragma once
// The two CRCs of the firmware update: CRC-32/MPEG-2 protects the parts of a
// firmware image, CRC-16/XMODEM every XMODEM-1K packet.

#include <cstdint>
#include <span>

namespace rxt4 {

inline constexpr std::uint32_t kCrc32Mpeg2Init = 0xFFFFFFFFu;

// CRC-32/MPEG-2 (polynomial 0x04C11DB7, most significant bit first, no final XOR)
// of the bytes, continuing from crc. Run over data plus its stored big-endian CRC
// the result is 0.
std::uint32_t Crc32Mpeg2(std::span<const std::uint8_t> bytes, std::uint32_t crc = kCrc32Mpeg2Init);

// CRC-16/XMODEM (polynomial 0x1021, initial value 0, most significant bit first,
// no final XOR) of the bytes, continuing from crc.
std::uint16_t Crc16Xmodem(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);

}  // namespace rxt4
