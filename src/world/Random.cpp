#include "world/Random.h"

namespace {
RandomGenerator generator;
}

void seedRandom(uint32_t seed) {
  generator.seed(seed);
}
int nextRandom() {
  return generator.next();
}
RandomGenerator& processRandom() {
  return generator;
}
