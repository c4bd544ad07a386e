#pragma once

#include "synth/voice.h"

// Replaces the global voice with a newly created one, as at start-up. The
// program never frees its voice; tests free the previous one so that every
// test starts from the same state and leak checks stay meaningful.
inline void freshVoice() {
  delete osc1;
  delete lfo1;
  delete lfo2;
  delete lfo3;
  delete lfo4;
  delete vca;
  createVoice();
  note = 58;
}

// Every LFO on its sine, moving and modulating osc1: the heaviest voice.
inline void activateAllLfos() {
  const float freqs[4] = {2.0f, 3.0f, 0.5f, 5.0f};
  const float ampls[4] = {0.5f, 0.1f, 0.3f, 0.05f};
  Oscillator* const lfos[4] = {lfo1, lfo2, lfo3, lfo4};
  for (int i = 0; i < 4; ++i) {
    lfos[i]->freq = freqs[i];
    lfos[i]->ampl = ampls[i];
  }
}
