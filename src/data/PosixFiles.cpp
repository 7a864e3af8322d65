// The platform side of reading files and listing folders (POSIX): descriptors opened
// without blocking, checked with fstat, read with pread; folders listed with readdir
// and their files opened relative to the open folder.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "OpenFlags.h"
#include "rxt4/data/FolderHandle.h"
#include "rxt4/data/ReadOnlyFile.h"

namespace rxt4 {
namespace {

DIR* Stream(void* stream) { return static_cast<DIR*>(stream); }

int OpenRetrying(int folder, const char* name, int flags) {
  int fd;
  do {
    fd = ::openat(folder, name, flags);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// The folder stream of an open folder; nullptr, with err set, when there is none.
void* StreamOf(int fd, int& err) {
  if (fd < 0) {
    err = errno;
    return nullptr;
  }
  DIR* stream = ::fdopendir(fd);
  if (!stream) {
    err = errno;
    ::close(fd);
  }
  return stream;
}

}  // namespace

ReadOnlyFile::~ReadOnlyFile() { Close(); }

void ReadOnlyFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

FileStatus ReadOnlyFile::Open(const std::filesystem::path& path, std::uint64_t maxBytes) {
  Close();
  const int fd = OpenRetrying(AT_FDCWD, path.c_str(), kReadFlags);
  const int openError = fd < 0 ? errno : 0;
  return Adopt(fd, openError, nullptr, path.native(), maxBytes);
}

FileStatus ReadOnlyFile::Adopt(int fd, int openError, const std::filesystem::path* folder, std::string_view name,
                               std::uint64_t maxBytes) {
  folder_ = folder;
  name_.assign(name);
  message_.clear();
  error_ = 0;
  size_ = 0;
  maxBytes_ = maxBytes;
  if (fd < 0) return Fail(FileStatus::OpenFailed, openError ? openError : ENOENT);
  fd_ = fd;
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    const int err = errno;
    Close();
    return Fail(FileStatus::ReadFailed, err);
  }
  if (!S_ISREG(info.st_mode)) {
    error_ = S_ISDIR(info.st_mode) ? EISDIR : 0;
    message_ = NotRegularFileMessage(S_ISDIR(info.st_mode), Path());
    Close();
    return FileStatus::Refused;
  }
  size_ = static_cast<std::uint64_t>(info.st_size);
  if (size_ > maxBytes_) return Fail(FileStatus::Refused, EFBIG);
  return FileStatus::Ok;
}

std::int64_t ReadOnlyFile::ReadAt(void* buffer, std::size_t count, std::uint64_t offset) {
  if (fd_ < 0) return -1;
  ssize_t got;
  do {
    got = ::pread(fd_, buffer, count, static_cast<off_t>(offset));
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    Fail(FileStatus::ReadFailed, errno);
    return -1;
  }
  return got;
}

FolderHandle::FolderHandle(const std::filesystem::path& path) : path_(path) {
  stream_ = StreamOf(OpenRetrying(AT_FDCWD, path.c_str(), kFolderFlags), error_);
}

FolderHandle::FolderHandle(const FolderHandle& parent, std::string_view name, std::filesystem::path path)
    : path_(std::move(path)) {
  if (!parent.isOpen()) {
    error_ = parent.error_ ? parent.error_ : EBADF;
    return;
  }
  const std::string nameText(name);
  stream_ = StreamOf(OpenRetrying(::dirfd(Stream(parent.stream_)), nameText.c_str(), kFolderFlags), error_);
}

FolderHandle::~FolderHandle() { Close(); }

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : stream_(std::exchange(other.stream_, nullptr)), path_(std::move(other.path_)), error_(other.error_) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
  if (this != &other) {
    Close();
    stream_ = std::exchange(other.stream_, nullptr);
    path_ = std::move(other.path_);
    error_ = other.error_;
  }
  return *this;
}

void FolderHandle::Close() {
  if (stream_) ::closedir(Stream(stream_));
  stream_ = nullptr;
}

std::vector<FolderHandle::Entry> FolderHandle::List(bool withFolderFlag) {
  std::vector<Entry> entries;
  if (!stream_) return entries;
  DIR* stream = Stream(stream_);
  while (const dirent* e = ::readdir(stream)) {
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    Entry entry{name, false};
    if (withFolderFlag) {
      // The listing usually says what an entry is; a link or a file system that does
      // not say costs one stat.
      entry.folder = e->d_type == DT_DIR;
      if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
        struct stat info {};
        entry.folder = ::fstatat(::dirfd(stream), name, &info, 0) == 0 && S_ISDIR(info.st_mode);
      }
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

FileStatus FolderHandle::OpenFile(std::string_view name, std::uint64_t maxBytes, ReadOnlyFile& file) const {
  file.Close();
  const std::string nameText(name);
  const int fd = stream_ ? OpenRetrying(::dirfd(Stream(stream_)), nameText.c_str(), kReadFlags) : -1;
  const int openError = fd >= 0 ? 0 : stream_ ? errno : ENOENT;
  return file.Adopt(fd, openError, &path_, name, maxBytes);
}

}  // namespace rxt4
