#include <cstdio>

#include "Commands.h"

namespace rxt4::cli {

int RunList(Args) {
  std::fprintf(stderr, "rxt4 list: not available yet\n");
  return 2;
}

}  // namespace rxt4::cli
