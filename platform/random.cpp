#include "platform/random.h"

namespace {
thread_local uint32_t state = 1;
}

int32_t nextRandom() {
  state = state * 214013u + 2531011u;
  return static_cast<int32_t>((state >> 16) & 0x7fffu);
}

void seedRandom(uint32_t newState) {
  state = newState;
}
