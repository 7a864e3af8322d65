#pragma once
// The constellation companion file, as the instrument writes it and the download
// cuts it from the kind image: the picture of 193 rows of 25 bytes (200 pixels, one
// bit each, the most significant bit first), the first row being the bottom line.

#include <cstddef>

namespace rxt4 {

inline constexpr int kConstellationRows = 193;
inline constexpr int kConstellationRowBytes = 25;
inline constexpr int kConstellationWidthPx = 8 * kConstellationRowBytes;
// One companion file, which is also one block of the kind image.
inline constexpr std::size_t kConstellationFileBytes =
    static_cast<std::size_t>(kConstellationRows) * static_cast<std::size_t>(kConstellationRowBytes);

}  // namespace rxt4
