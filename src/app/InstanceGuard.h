#pragma once
// The single-instance guard: a lock that only one running copy can hold. The
// system drops it when the process ends, so a crashed copy never blocks the next.

#include <string>

namespace rxt4 {

class InstanceGuard {
 public:
  // Names the lock after the application name; takes nothing yet.
  explicit InstanceGuard(std::string name);
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // Takes the lock; false when another running copy holds it. When the lock file
  // cannot be made at all the program runs without the guard (true).
  bool Acquire();
  // Releases the lock if held.
  void Release();
  bool held() const { return fd_ >= 0; }

 private:
  std::string name_;
  int fd_ = -1;
};

}  // namespace rxt4
