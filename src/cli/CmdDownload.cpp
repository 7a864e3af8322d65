#include <cstdio>

#include "Commands.h"

namespace rxt4::cli {

int RunDownload(Args) {
  std::fprintf(stderr, "rxt4 download: not available yet\n");
  return 2;
}

}  // namespace rxt4::cli
