#pragma once

#include <cstdint>

#include "platform/random.h"
#include "synth/truncate.h"
#include "synth/wave_memo.h"

// The sparse noise's value for one tick: -aAmpl / 2, or on a hit a spike
// above it. A zero divisor counts as no hit. The divisors are cut from the
// exact double values; saturating them changes no remainder of a 15-bit draw.
[[gnu::noinline]] inline float sparseNoise(float aAmpl, float aFreq) {
  if (aAmpl == 0.0f) {
    return 0.0f;
  }
  int64_t v = 0;
  const int32_t r1 = nextRandom();
  const int64_t n1 = int64_t{truncateToInt32(static_cast<double>(aFreq) - 439.0)} + 1;
  if (n1 != 0 && r1 % n1 == 1) {
    const int32_t r2 = nextRandom();
    const int64_t n2 = int64_t{truncateToInt32(static_cast<double>(aAmpl) * 100.0)} + 111;
    v = n2 != 0 ? r2 % n2 : 0;
  }
  return static_cast<float>((static_cast<double>(v) - 50.0 * aAmpl) / 100.0);
}

// One frame of an oscillator on plain values: advances `pos` by aFreq / 44100
// cycles, wraps it once from above 10, and computes `out` for `wave`. Every
// expression is evaluated in double and rounded to float where it is stored.
// An unknown wave leaves `out` as it was.
[[gnu::always_inline]] inline void tickWave(float& pos, float& out, float aPhase, float aAmpl,
                                            float aFreq, int32_t wave, WaveMemo& memo) {
  float p = static_cast<float>(static_cast<double>(pos) + memo.step(aFreq));
  if (p > 10.0f) {
    p = static_cast<float>(static_cast<double>(p) - 10.0);
  }
  pos = p;

  switch (wave) {
    case 1:  // sine
      out = static_cast<float>(memo.sine(p, aPhase) * aAmpl);
      break;
    case 2:  // ramp over ten cycles
      out = static_cast<float>(static_cast<double>(p) * aAmpl);
      break;
    case 3:  // the ramp less one half
      out = static_cast<float>(static_cast<double>(p) * aAmpl - 0.5);
      break;
    case 4: {  // three levels, each held a third of the cycle
      const float s = static_cast<float>(memo.sine(p, aPhase));
      out = s > 0.5f ? aAmpl : (s < -0.5f ? -aAmpl : 0.0f);
      break;
    }
    case 5:  // sparse noise: the frequency sets the density of hits
      out = sparseNoise(aAmpl, aFreq);
      break;
    default:
      break;
  }
}
