#pragma once
// The decompressor of the Dec part's records: the first byte as is, then a bit
// stream (most significant bit first) of flag 0 + 8-bit literal, or flag 1 +
// distance (offsetBits, plus 1) + count (lengthBits, plus 3) copied from earlier output.

#include <cstddef>
#include <cstdint>
#include <span>

namespace rxt4 {

// Expands source into destination and answers the number of bytes produced; bytes
// beyond destination.size() are counted but not written. Answers 0 (nothing written)
// for offsetBits outside 1..16, lengthBits outside 1..15 or an empty source, and 0
// when a match reaches back before the start of the output.
std::uint64_t LzExpand(std::span<std::uint8_t> destination, std::span<const std::uint8_t> source,
                       int offsetBits, int lengthBits);

// An upper bound of what LzExpand can produce from sourceBytes bytes with these
// parameters; a record announcing more cannot be valid.
std::uint64_t LzMaxExpandedBytes(std::uint64_t sourceBytes, int offsetBits, int lengthBits);

}  // namespace rxt4
