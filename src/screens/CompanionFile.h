#pragma once
// Reading the companion files of the graph screens (constellation picture, spectrum
// trace, delay profile) with a bound on what is read, so that an over-long or
// hostile file never costs more than the screen can use.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace rxt4 {

// Up to maxBytes from the start of the file; nothing when it cannot be opened. A read
// error ends the bytes where it happened.
std::optional<std::string> ReadFilePrefix(const std::filesystem::path& file, std::size_t maxBytes);

}  // namespace rxt4
