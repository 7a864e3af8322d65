#pragma once
// Runs rxt4-sim (from RXT4_BIN_DIR) for a test: a pseudo-terminal behind a symlink
// in a fresh temporary folder; stopped with SIGTERM and reaped when destroyed.

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "../common/RunRxt4.h"
#include "../common/TempFolder.h"

namespace rxt4::test {

// While it lives, programs started by the test read a settings folder of their own
// (XDG_CONFIG_HOME), so that the user's settings file never changes what rxt4 does.
class PrivateSettings {
 public:
  explicit PrivateSettings(const std::filesystem::path& folder) {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old, hadOld_ = true;
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  }
  ~PrivateSettings() {
    if (hadOld_) ::setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
  }
  PrivateSettings(const PrivateSettings&) = delete;
  PrivateSettings& operator=(const PrivateSettings&) = delete;

 private:
  std::string saved_;
  bool hadOld_ = false;
};

class SimProcess {
 public:
  // Starts rxt4-sim --link <folder>/port with the extra arguments and waits for the link.
  SimProcess(const std::filesystem::path& folder, std::vector<std::string> args) : link_(folder / "port") {
    args.insert(args.begin(), {"--link", link_.string()});
    pid_ = Spawn(std::string(RXT4_BIN_DIR) + "/rxt4-sim", args);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
      std::error_code ec;
      if (std::filesystem::is_symlink(link_, ec)) return;
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~SimProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
  }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // True when the simulator runs and its link exists.
  bool ready() const { return pid_ > 0 && std::filesystem::is_symlink(link_); }
  std::string port() const { return link_.string(); }

 private:
  std::filesystem::path link_;
  pid_t pid_ = -1;
};

}  // namespace rxt4::test
