#pragma once
// The built rxt4 run from the tests: in a folder of the test's, with its standard
// output and standard error kept in files there and read back.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace rxt4::test {

struct Outcome {
  int status = -1;  // the exit status; -1 when rxt4 did not exit normally
  std::string out;
  std::string err;
};

inline std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs `rxt4 ARGS` (ARGS as the shell reads them) in dir; env goes before the command
// (e.g. "XDG_CONFIG_HOME='...' ").
inline Outcome RunRxt4(const std::filesystem::path& dir, const std::string& args, const std::string& env = {}) {
  const std::string command =
      "cd '" + dir.string() + "' && " + env + "'" RXT4_BIN_DIR "/rxt4' " + args + " >out.txt 2>err.txt";
  Outcome run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = Slurp(dir / "out.txt");
  run.err = Slurp(dir / "err.txt");
  return run;
}

}  // namespace rxt4::test
