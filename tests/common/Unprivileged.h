#pragma once
// Folders and files without permission refuse their owner, but not root, whom the
// kernel lets read and write anything. These helpers make root meet the refusal too:
// in this process by lowering the calling thread's capabilities that override file
// permissions (threads it starts inherit that), and for a child by running it as the
// user nobody. Either is a no-op for a user other than root.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>

namespace rxt4::test {

// While it lives, the calling thread (and the threads it starts) is refused what its
// permissions refuse.
class WithoutPermissionOverride {
 public:
  WithoutPermissionOverride() {
    if (::geteuid() != 0 || ::syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
      lowered[cap / 32].effective &= ~(1u << (cap % 32));
    lowered_ = ::syscall(SYS_capset, &header_, lowered) == 0;
  }
  ~WithoutPermissionOverride() {
    if (lowered_) ::syscall(SYS_capset, &header_, saved_);
  }
  WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
  WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool lowered_ = false;
};

// What to put before a command so that it runs without root's override: the user
// nobody for root, nothing for anyone else.
inline std::string AsOtherUser() {
  return ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups -- " : "";
}

}  // namespace rxt4::test
