#pragma once
// Runs rxt4-sim (from RXT4_BIN_DIR) for a test: a pseudo-terminal behind a symlink
// in a fresh temporary folder; stopped with SIGTERM and reaped when destroyed.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace rxt4::test {

// A fresh, empty temporary folder named after the running test; removed at the end.
class TempFolder {
 public:
  explicit TempFolder(const std::string& tag) {
    path_ = std::filesystem::path(::testing::TempDir()) / ("rxt4_" + tag + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

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

// Starts a program with arguments (standard output and error into the files when
// given, standard error otherwise discarded when quiet); returns its pid, or -1.
inline pid_t Spawn(const std::string& program, const std::vector<std::string>& args, bool quiet = true,
                   const std::string& stdoutFile = {}, const std::string& stderrFile = {}) {
  std::vector<char*> argv;
  std::vector<std::string> all = {program};
  all.insert(all.end(), args.begin(), args.end());
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!stderrFile.empty())
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  else if (quiet)
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  if (!stdoutFile.empty())
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

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
