// The real game (window, renderer, input) started in the big city of the
// benchmarks instead of the start world, for scripts/measure.py to count
// its frames a second.

#include "BigWorlds.h"
#include "app/RunGame.h"

int main() {
  return runGame(buildBigCity);
}
