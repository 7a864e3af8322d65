// The platform part of the single-instance guard: an advisory lock (flock) on a
// file in the user's runtime folder, which the kernel releases with the process.
#include "InstanceGuard.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace rxt4 {
namespace {

std::string LockPath(const std::string& name) {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/')
    return std::string(runtime) + "/" + name + ".lock";
  // /tmp is shared by all users: the user id keeps one user's copy from blocking another's.
  return "/tmp/" + name + "-" + std::to_string(getuid()) + ".lock";
}

}  // namespace

InstanceGuard::InstanceGuard(std::string name) : name_(std::move(name)) {}

InstanceGuard::~InstanceGuard() { Release(); }

bool InstanceGuard::Acquire() {
  if (fd_ >= 0) return true;
  int fd = ::open(LockPath(name_).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    bool busy = errno == EWOULDBLOCK;
    ::close(fd);
    return !busy;
  }
  fd_ = fd;
  return true;
}

void InstanceGuard::Release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace rxt4
