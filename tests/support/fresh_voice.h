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
