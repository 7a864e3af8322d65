// The platform side of staged writes (POSIX, Linux): mkostemps and mkdtemp make the
// private, exclusive names; fsync flushes files and folders; renameat2 exchanges two
// folders in one step where the file system can; flock keeps two downloads apart.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "Staging.h"

namespace rxt4::staging {
namespace {

constexpr const char* kFileSuffix = ".part";
constexpr const char* kUniqueMark = "XXXXXX";
constexpr std::size_t kUniqueBytes = 6;
constexpr mode_t kFallbackUmask = 022;

std::error_code Errno(int err) { return {err != 0 ? err : EIO, std::generic_category()}; }
std::error_code LastError() { return Errno(errno); }

std::filesystem::path FolderOf(const std::filesystem::path& path) {
  std::filesystem::path parent = path.parent_path();
  return parent.empty() ? std::filesystem::path(".") : parent;
}

// The process's file mode creation mask, read where it can be read without changing
// it (umask() sets it, which other threads would see); 022 where it cannot.
mode_t CreationMask() {
  static const mode_t mask = [] {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
      if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
    return kFallbackUmask;
  }();
  return mask;
}

NodeId IdOfStat(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

// Shortens a file name so that name + extra bytes fit a file system's name limit,
// never cutting inside a UTF-8 sequence.
std::string Shortened(std::string name, std::size_t extra) {
  const std::size_t limit = NAME_MAX > extra ? NAME_MAX - extra : 1;
  if (name.size() <= limit) return name;
  std::size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  name.resize(cut);
  return name;
}

}  // namespace

std::error_code CreateFileBeside(const std::filesystem::path& finalPath, std::filesystem::path& made, Handle& handle) {
  const std::string suffix = std::string(".") + kUniqueMark + kFileSuffix;
  const std::string name = Shortened(finalPath.filename().string(), suffix.size()) + suffix;
  std::string pattern = (FolderOf(finalPath) / name).string();
  // mkostemps opens with O_CREAT | O_EXCL, mode 0600: a name that exists already (a
  // link included) is never opened, only another one tried.
  const int fd = ::mkostemps(pattern.data(), static_cast<int>(std::char_traits<char>::length(kFileSuffix)), O_CLOEXEC);
  if (fd < 0) return LastError();
  made = pattern;
  handle = fd;
  return {};
}

std::error_code CreateFolderIn(const std::filesystem::path& parent, std::string_view stem, std::filesystem::path& made) {
  std::string pattern = (parent / (Shortened(std::string(stem), kUniqueBytes) + kUniqueMark)).string();
  if (::mkdtemp(pattern.data()) == nullptr) return LastError();  // mode 0700
  made = pattern;
  return {};
}

std::error_code WriteAll(Handle handle, const void* bytes, std::size_t length) {
  const char* at = static_cast<const char*>(bytes);
  while (length > 0) {
    const ssize_t n = ::write(handle, at, length);
    if (n < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    at += n;
    length -= static_cast<std::size_t>(n);
  }
  return {};
}

std::error_code FinishFile(Handle handle, const std::filesystem::path& finalPath, NodeId& id) {
  struct stat info {};
  const mode_t mode = ::stat(finalPath.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? info.st_mode & 07777
                                                                                       : 0666 & ~CreationMask();
  std::error_code ec;
  if (::fchmod(handle, mode) != 0 || ::fsync(handle) != 0 || ::fstat(handle, &info) != 0) ec = LastError();
  if (!ec) id = IdOfStat(info);
  if (::close(handle) != 0 && !ec && errno != EINTR) ec = LastError();
  return ec;
}

void CloseHandle(Handle handle) {
  if (handle != kNoHandle) ::close(handle);
}

std::error_code IdOf(const std::filesystem::path& path, NodeId& id) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return LastError();
  id = IdOfStat(info);
  return {};
}

std::error_code RenameChecked(const std::filesystem::path& from, const NodeId& id, const std::filesystem::path& to) {
  NodeId now;
  if (std::error_code ec = IdOf(from, now)) return ec;
  // Someone put another file (or a link) under the temporary name: it is not ours to rename.
  if (!(now == id)) return Errno(EEXIST);
  if (::rename(from.c_str(), to.c_str()) != 0) return LastError();
  return {};
}

std::error_code SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return LastError();
  std::error_code ec;
  // Some file systems cannot flush a folder on its own (EINVAL): its entries are then
  // as safe as the file system makes them.
  if (::fsync(fd) != 0 && errno != EINVAL) ec = LastError();
  ::close(fd);
  return ec;
}

std::error_code CopyPermissions(const std::filesystem::path& model, const std::filesystem::path& folder) {
  struct stat info {};
  if (::stat(model.c_str(), &info) != 0) return LastError();
  if (::chmod(folder.c_str(), info.st_mode & 07777) != 0) return LastError();
  return {};
}

std::error_code ReplaceFolder(const std::filesystem::path& replacement, const std::filesystem::path& target,
                              std::filesystem::path& formerly) {
  const std::filesystem::path parent = FolderOf(target);
  if (::renameat2(AT_FDCWD, replacement.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
    formerly = replacement;
    return SyncFolder(parent);
  }
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return LastError();
  // No exchange on this file system: the old folder goes aside (onto an empty folder
  // of a fresh name, which a rename may replace), the new one in, in two steps.
  std::filesystem::path aside;
  if (std::error_code ec = CreateFolderIn(parent, "." + target.filename().string() + ".rxt4-old-", aside)) return ec;
  if (::rename(target.c_str(), aside.c_str()) != 0) {
    const std::error_code ec = LastError();
    ::rmdir(aside.c_str());
    return ec;
  }
  if (::rename(replacement.c_str(), target.c_str()) != 0) {
    const std::error_code ec = LastError();
    ::rename(aside.c_str(), target.c_str());
    return ec;
  }
  formerly = aside;
  return SyncFolder(parent);
}

std::error_code FolderLock::Take(const std::filesystem::path& folder, bool& busy) {
  Release();
  busy = false;
  // The folder may be renamed between the open and the lock (a download that has just
  // put its staged folder in place): the lock counts only on what the path names now.
  constexpr int kAttempts = 5;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return LastError();
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int err = errno;
      // A file system without locks (some network and FUSE mounts) keeps nobody out,
      // but must not keep the download out either: the folder is taken unlocked.
      if (err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS || err == EINVAL) {
        handle_ = fd;
        return {};
      }
      ::close(fd);
      if (err == EWOULDBLOCK) {
        busy = true;
        return {};
      }
      return Errno(err);
    }
    struct stat opened {}, named {};
    if (::fstat(fd, &opened) == 0 && ::stat(folder.c_str(), &named) == 0 && IdOfStat(opened) == IdOfStat(named)) {
      handle_ = fd;
      return {};
    }
    ::close(fd);
  }
  return Errno(EBUSY);
}

void FolderLock::Release() {
  if (handle_ != kNoHandle) ::close(handle_);  // closing the descriptor releases the lock
  handle_ = kNoHandle;
}

}  // namespace rxt4::staging
