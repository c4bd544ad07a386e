#pragma once

#include <cstdint>

#include "platform/relaxed.h"
#include "synth/oscillator.h"
#include "synth/vca.h"

// The one voice the program plays: created once on the heap before the stream
// starts and never destroyed, shared by the main thread and the audio thread.
extern Oscillator* osc1;  // the audible oscillator
extern Oscillator* lfo1;  // modulates osc1's amplitude
extern Oscillator* lfo2;  // modulates osc1's frequency
extern Oscillator* lfo3;  // modulates osc1's phase
extern Oscillator* lfo4;  // modulates osc1's frequency after lfo2
extern Vca* vca;
extern Relaxed<int32_t> note;  // semitones; 58 is 440 Hz

// Creates the five oscillators and the envelope with their start-up values:
// osc1 at amplitude 1, 440 Hz, sine; the LFOs at amplitude 1, 0 Hz, sine.
void createVoice();
