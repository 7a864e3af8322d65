#include <cstdio>

#include "Commands.h"

namespace rxt4::cli {

int RunUpdate(Args) {
  std::fprintf(stderr, "rxt4 update: not available yet\n");
  return 2;
}

}  // namespace rxt4::cli
