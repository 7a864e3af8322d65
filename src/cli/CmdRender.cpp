#include <cstdio>

#include "Commands.h"

namespace rxt4::cli {

int RunRender(Args) {
  std::fprintf(stderr, "rxt4 render: not available yet\n");
  return 2;
}

}  // namespace rxt4::cli
