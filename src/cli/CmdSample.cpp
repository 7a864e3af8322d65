#include <cstdio>
#include <filesystem>

#include "Commands.h"

namespace rxt4::cli {

int RunSample(Args args) {
  if (args.size() != 1) return 2;
  std::error_code ec;
  std::filesystem::create_directories(std::string(args[0]), ec);
  return ec ? 2 : 0;
}

}  // namespace rxt4::cli
