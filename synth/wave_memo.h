#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "synth/frame_renderer.h"
#include "synth/sine_track.h"

// Remembers an oscillator's last position step and last sine, keyed by the
// exact bits of their inputs: an oscillator whose frequency holds still costs
// no division, and one whose position holds still (an LFO at 0 Hz) no sine.
// The results are the very values the arithmetic would give again.
struct WaveMemo {
  double step(float freq) {
    const uint32_t key = std::bit_cast<uint32_t>(freq);
    if (key != stepKey) {
      stepKey = key;
      stepValue = static_cast<double>(freq) / kMixRate;
    }
    return stepValue;
  }

  double sine(float position, float phaseOffset) {
    const uint64_t key =
        (uint64_t{std::bit_cast<uint32_t>(position)} << 32) | std::bit_cast<uint32_t>(phaseOffset);
    if (key != sineKey || !sineKnown) {
      sineKey = key;
      sineKnown = true;
      // 6.2831853 is the decimal constant, not 2 pi in full.
      auto compute = [&] {
        return std::sin((static_cast<double>(position) + phaseOffset) * 6.2831853);
      };
      sineValue = track != nullptr ? track->sine(key, compute) : compute();
    }
    return sineValue;
  }

  uint32_t stepKey = 0;  // the bits of 0.0f
  double stepValue = 0.0;
  uint64_t sineKey = 0;
  double sineValue = 0.0;
  bool sineKnown = false;
  SineTrack* track = nullptr;  // replays the sines of an earlier run, when set
};
