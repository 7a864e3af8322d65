#include <cstdio>

#include "Commands.h"

namespace rxt4::cli {

int RunImage(Args) {
  std::fprintf(stderr, "rxt4 image: not available yet\n");
  return 2;
}

}  // namespace rxt4::cli
