#pragma once
// The built programs run from the tests: rxt4 (and rxt4-sim) from RXT4_BIN_DIR, in
// a folder of the test's, standard output and standard error kept in files there.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "TempFolder.h"

extern char** environ;

namespace rxt4::test {

struct Outcome {
  int status = -1;  // the exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Starts a program with arguments (standard output and error into the files when
// given, standard error otherwise discarded when quiet); its pid, or -1.
inline pid_t Spawn(const std::string& program, const std::vector<std::string>& args, bool quiet = true,
                   const std::string& stdoutFile = {}, const std::string& stderrFile = {}) {
  std::vector<std::string> all = {program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
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

// rxt4 started with its arguments as they are (no shell) in dir, its standard output
// and error going to dir/out.txt and dir/err.txt. Finish waits for its end; a
// process not finished is stopped and reaped when this ends.
class Rxt4Process {
 public:
  Rxt4Process(const std::filesystem::path& dir, const std::vector<std::string>& args)
      : out_(dir / "out.txt"), err_(dir / "err.txt") {
    pid_ = Spawn(std::string(RXT4_BIN_DIR) + "/rxt4", args, true, out_.string(), err_.string());
  }
  ~Rxt4Process() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  Rxt4Process(const Rxt4Process&) = delete;
  Rxt4Process& operator=(const Rxt4Process&) = delete;

  bool started() const { return pid_ > 0; }
  // Standard error so far.
  std::string err() const { return ReadAll(err_); }
  // Waits until standard error holds text (false after 10 s or when rxt4 has ended
  // without it).
  bool WaitForError(std::string_view text) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (err().find(text) != std::string::npos) return true;
      if (!Running()) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));  // polls the file
    }
    return err().find(text) != std::string::npos;
  }
  // Whether rxt4 has not ended yet (it stays to be reaped by Finish).
  bool Running() const {
    siginfo_t info{};
    return pid_ > 0 && ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
  }
  void Interrupt() const {
    if (pid_ > 0) ::kill(pid_, SIGINT);
  }
  Outcome Finish() {
    Outcome run;
    int status = 0;
    if (pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    pid_ = -1;
    run.out = ReadAll(out_);
    run.err = ReadAll(err_);
    return run;
  }

 private:
  std::filesystem::path out_, err_;
  pid_t pid_ = -1;
};

// Runs `rxt4 ARGS`, ARGS as the shell reads them, in dir; env goes before the command
// (e.g. "XDG_CONFIG_HOME='...' "). For arguments the shell need not read, Rxt4Process.
inline Outcome RunRxt4(const std::filesystem::path& dir, const std::string& args, const std::string& env = {}) {
  const std::string command =
      "cd '" + dir.string() + "' && " + env + "'" RXT4_BIN_DIR "/rxt4' " + args + " >out.txt 2>err.txt";
  Outcome run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadAll(dir / "out.txt");
  run.err = ReadAll(dir / "err.txt");
  return run;
}

}  // namespace rxt4::test
