#pragma once

#include <cstdint>

// What the sound library's play thread has done since the process started,
// for tests and benchmarks.
struct SoundStats {
  uint64_t fillCalls;     // calls of a stream's fill function
  uint64_t underflows;    // blocks before which the device had run out of frames
  uint64_t failedWrites;  // blocks the device refused
};

SoundStats fsoundStats();
