#include "CompanionFile.h"

#include <cstdio>
#include <memory>

namespace rxt4 {

std::optional<std::string> ReadFilePrefix(const std::filesystem::path& file, std::size_t maxBytes) {
  std::error_code ec;
  if (file.empty() || std::filesystem::is_directory(file, ec)) return std::nullopt;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.c_str(), "rb"), &std::fclose);
  if (!stream) return std::nullopt;
  std::string bytes(maxBytes, '\0');
  std::size_t got = 0;
  while (got < maxBytes) {
    const std::size_t n = std::fread(bytes.data() + got, 1, maxBytes - got, stream.get());
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
  return bytes;
}

}  // namespace rxt4
