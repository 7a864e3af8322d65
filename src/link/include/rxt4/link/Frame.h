#pragma once
// The framed request/reply layout shared by every exchange with the instrument:
// STX 00 00 01, code, payload length N, N payload bytes, ETX, 8-bit sum.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rxt4 {

inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::uint8_t kEtx = 0x03;
inline constexpr std::size_t kFrameOverheadBytes = 8;  // header (6), ETX, checksum
inline constexpr std::size_t kMaxFramePayloadBytes = 255;

// The 8-bit sum of the header bytes (STX 00 00 01, code, length), the payload and ETX.
std::uint8_t FrameChecksum(std::uint8_t code, std::span<const std::uint8_t> payload);

// A complete frame for code and payload (payload at most 255 bytes).
std::vector<std::uint8_t> BuildFrame(std::uint8_t code, std::span<const std::uint8_t> payload);

}  // namespace rxt4
