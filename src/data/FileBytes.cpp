#include "FileBytes.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <system_error>

namespace rxt4 {
namespace {

constexpr std::size_t kMessageMaxBytes = 600;
constexpr std::size_t kReadChunkBytes = 1 << 20;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::string FileErrorMessage(int err, const std::filesystem::path& path) {
  std::string message = std::system_category().message(err) + ": " + path.string();
  if (message.size() > kMessageMaxBytes) {
    std::size_t cut = kMessageMaxBytes;
    // Back up over UTF-8 continuation bytes so that the cut lands on a character start.
    while (cut > 0 && (static_cast<unsigned char>(message[cut]) & 0xC0) == 0x80) --cut;
    message.resize(cut);
  }
  return message;
}

FileStatus ReadFileBytes(const std::filesystem::path& path, std::string& bytes, std::string& message) {
  bytes.clear();
  message.clear();
  errno = 0;
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    message = FileErrorMessage(errno ? errno : ENOENT, path);
    return FileStatus::OpenFailed;
  }
  // Size the buffer from the file's length when it is known, so that a table is read
  // in one request; the loop below still copes with files that grow or shrink.
  std::error_code ec;
  std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > std::numeric_limits<std::uint32_t>::max()) {
    message = FileErrorMessage(EFBIG, path);
    return FileStatus::ReadFailed;
  }
  std::size_t capacity = ec ? kReadChunkBytes : static_cast<std::size_t>(size) + 1;
  bytes.resize(capacity);
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) {
      if (bytes.size() >= std::numeric_limits<std::uint32_t>::max()) {
        bytes.resize(used);
        message = FileErrorMessage(EFBIG, path);
        return FileStatus::ReadFailed;
      }
      bytes.resize(bytes.size() + kReadChunkBytes);
    }
    errno = 0;
    std::size_t got = std::fread(bytes.data() + used, 1, bytes.size() - used, file.get());
    used += got;
    if (got == 0 || used < bytes.size()) {
      if (std::ferror(file.get())) {
        bytes.resize(used);
        message = FileErrorMessage(errno ? errno : EIO, path);
        return FileStatus::ReadFailed;
      }
      if (std::feof(file.get())) break;
    }
  }
  bytes.resize(used);
  return FileStatus::Ok;
}

}  // namespace rxt4
