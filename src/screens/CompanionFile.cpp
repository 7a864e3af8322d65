#include "CompanionFile.h"

#include <algorithm>

#include "rxt4/data/ReadOnlyFile.h"

namespace rxt4 {

std::optional<std::string> ReadFilePrefix(const std::filesystem::path& file, std::size_t maxBytes) {
  if (file.empty()) return std::nullopt;
  ReadOnlyFile opened;
  if (opened.Open(file, kMaxCompanionFileBytes) != FileStatus::Ok) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(maxBytes, opened.size())), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const std::int64_t n = opened.ReadAt(bytes.data() + got, bytes.size() - got, got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

}  // namespace rxt4
