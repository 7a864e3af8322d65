// rxt4-sim: the instrument simulator on a pseudo-terminal.
#include <cstdio>

int main() {
  std::fprintf(stderr, "rxt4-sim: not available yet\n");
  return 2;
}
