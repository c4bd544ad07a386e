#pragma once

#include "synth/oscillator.h"

// The routing of the four LFOs onto osc1, shared by the audio frames and the
// scope's preview so both modulate identically. Each LFO output is a relative
// deviation: the modulated value becomes value * (1 + output).

struct LfoOutputs {
  float p1, p2, p3, p4;
};

// aFreq, aPhase and aAmpl take the base values freq, phase and ampl.
void copyBaseToApplied(Oscillator& osc);

// Refreshes and ticks lfo4, lfo3, lfo2, then lfo1, and returns their outputs.
LfoOutputs tickLfos();

// lfo1 -> aAmpl, lfo2 -> aFreq, lfo3 -> aPhase, lfo4 -> aFreq (after lfo2),
// each only while that LFO's applied amplitude and frequency are both non-zero.
void applyModulation(const LfoOutputs& lfos);
