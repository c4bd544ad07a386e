#pragma once

#include <cstdint>

#include "platform/relaxed.h"
#include "synth/wave_memo.h"

// One oscillator: five waveforms, ticked once per 44100 Hz frame.
//
// The base values (phase, ampl, freq) are the user's; tick() reads only the
// applied values (aPhase, aAmpl, aFreq), which the caller refreshes from the
// base values, and modulates, before every tick. Every field is a single
// relaxed 32-bit word: the main thread writes the base values and wave while
// the audio thread ticks.
class Oscillator {
 public:
  Oscillator(float ampl, float freq, int32_t wave);

  // One frame from the applied values; see tickWave.
  void tick();
  float output() const { return out; }
  void printStatus() const;

  Relaxed<float> out;
  Relaxed<float> pos;
  Relaxed<float> phase;
  Relaxed<float> ampl;
  Relaxed<float> freq;
  Relaxed<float> aPhase;
  Relaxed<float> aAmpl;
  Relaxed<float> aFreq;
  Relaxed<int32_t> wave;

  // Ticking thread only.
  WaveMemo memo;
};
