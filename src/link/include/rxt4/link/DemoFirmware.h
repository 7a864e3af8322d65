#pragma once
// A demonstration firmware image: a valid Main, TSNM and Dec part (one Dec record
// stored as is, one compressed), so that an update can be tried against the
// simulator without a real image file.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace rxt4 {

// The bytes of the demonstration image file.
std::vector<std::uint8_t> BuildDemoFirmwareImage();

// Writes the demonstration image to path; false when it could not be written.
bool WriteDemoFirmwareImage(const std::filesystem::path& path);

// Compresses data for a Dec record in the format LzExpand reads (first byte as is,
// then flag bits: 0 + 8-bit literal, or 1 + (distance - 1) in offsetBits + (count - 3)
// in lengthBits). Greedy, for demonstration data only.
std::vector<std::uint8_t> LzCompress(const std::vector<std::uint8_t>& data, int offsetBits, int lengthBits);

}  // namespace rxt4
