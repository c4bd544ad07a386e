#pragma once

#include <cstdint>

// The C library's linear congruential generator, with one state per thread:
// state = state * 214013 + 2531011 (mod 2^32), returning bits 16 to 30.
// Every thread starts at state 1 and is never seeded, so the audio thread's
// noise and the main thread's random notes never draw from each other.
constexpr int32_t kRandomMax = 32767;

int32_t nextRandom();

// Sets the calling thread's state; for tests that replay a known sequence.
void seedRandom(uint32_t state);
