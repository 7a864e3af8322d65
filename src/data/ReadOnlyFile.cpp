#include "rxt4/data/ReadOnlyFile.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>

#include "rxt4/data/Strings.h"

namespace rxt4 {
namespace {

constexpr std::size_t kMessageMaxBytes = 600;

std::string CutMessage(std::string message) {
  if (message.size() > kMessageMaxBytes) {
    std::size_t cut = kMessageMaxBytes;
    // Back up over UTF-8 continuation bytes so that the cut lands on a character start.
    while (cut > 0 && (static_cast<unsigned char>(message[cut]) & 0xC0) == 0x80) --cut;
    message.resize(cut);
  }
  return message;
}

}  // namespace

std::string FileErrorMessage(int err, std::string_view path) {
  return CutMessage(ReasonText(std::error_code(err, std::generic_category())) + ": " + std::string(path));
}

std::string NotRegularFileMessage(bool isFolder, std::string_view path) {
  if (isFolder) return FileErrorMessage(EISDIR, path);
  return CutMessage(std::string(Text(StringId::NotRegularFile)) + ": " + std::string(path));
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept { *this = std::move(other); }

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
    maxBytes_ = other.maxBytes_;
    folder_ = other.folder_;
    name_ = std::move(other.name_);
    message_ = std::move(other.message_);
    error_ = other.error_;
  }
  return *this;
}

std::string ReadOnlyFile::Path() const { return folder_ ? (*folder_ / name_).string() : name_; }

FileStatus ReadOnlyFile::Fail(FileStatus status, int err) {
  error_ = err;
  message_ = FileErrorMessage(err, Path());
  if (status != FileStatus::ReadFailed) Close();
  return status;
}

FileStatus ReadOnlyFile::ReadAll(std::string& bytes) {
  bytes.clear();
  if (!isOpen()) return FileStatus::OpenFailed;
  // One byte more than the length found at the open: a read that stops short of it
  // has reached the end, so an unchanged file takes a single read.
  std::size_t capacity = static_cast<std::size_t>(size_) + 1;
  bytes.resize(capacity);
  std::size_t used = 0;
  for (;;) {
    const std::int64_t got = ReadAt(bytes.data() + used, capacity - used, used);
    if (got < 0) {
      bytes.resize(used);
      return FileStatus::ReadFailed;
    }
    used += static_cast<std::size_t>(got);
    if (got == 0 || (used == size_ && used < capacity)) break;
    if (used == capacity) {
      // The file has grown since it was opened: read on, up to its kind's bound.
      if (used > maxBytes_) {
        bytes.resize(static_cast<std::size_t>(maxBytes_));
        return Fail(FileStatus::ReadFailed, EFBIG);
      }
      capacity = static_cast<std::size_t>(std::min<std::uint64_t>(maxBytes_ + 1, std::uint64_t{capacity} * 2));
      bytes.resize(capacity);
    }
  }
  bytes.resize(used);
  return FileStatus::Ok;
}

FileStatus ReadFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes, std::string& bytes,
                         std::string& message) {
  bytes.clear();
  ReadOnlyFile file;
  FileStatus status = file.Open(path, maxBytes);
  if (status == FileStatus::Ok) status = file.ReadAll(bytes);
  message = file.message();
  return status;
}

}  // namespace rxt4
