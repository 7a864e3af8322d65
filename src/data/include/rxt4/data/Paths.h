#pragma once
// File names of a data folder, matched regardless of letter case on a
// case-sensitive file system (LEVEL/0412.cnt finds 0412.CNT).

#include <filesystem>
#include <string>
#include <string_view>

namespace rxt4 {

// The path itself when it exists; otherwise the existing path whose components
// equal it ignoring ASCII letter case; otherwise the path unchanged.
std::filesystem::path ResolvePath(const std::filesystem::path& path);

// The companion base of a table path: the path up to and including its last ".".
std::string CompanionBase(std::string_view tablePath);

// The companion file of a row: base followed by the rightmost three characters of
// column 0 (the whole text when shorter), resolved as ResolvePath does.
std::filesystem::path CompanionPath(std::string_view companionBase, std::string_view column0);

}  // namespace rxt4
