#pragma once
// Reading the companion files of the graph screens (constellation picture, spectrum
// trace, delay profile) with a bound on what is read, so that an over-long or
// hostile file never costs more than the screen can use.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace rxt4 {

// No companion file that a download writes is longer than the largest kind image the
// instrument can send (8 + 32767 records of 180 bytes); a longer one is refused unread.
inline constexpr std::uint64_t kMaxCompanionFileBytes = 8 + 32767u * 180u;

// Up to maxBytes from the start of the file; nothing when it cannot be opened or is
// no regular file, or is longer than kMaxCompanionFileBytes. A read error ends the
// bytes where it happened.
std::optional<std::string> ReadFilePrefix(const std::filesystem::path& file, std::size_t maxBytes);

}  // namespace rxt4
