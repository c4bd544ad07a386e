#include "synth/oscillator.h"

#include <cstdio>

#include "synth/wave_tick.h"

Oscillator::Oscillator(float ampl_, float freq_, int32_t wave_)
    : out(0.0f),
      pos(0.0f),
      phase(1.0f),
      ampl(ampl_),
      freq(freq_),
      aPhase(1.0f),
      aAmpl(ampl_),
      aFreq(freq_),
      wave(wave_) {}

void Oscillator::tick() {
  float p = pos;
  float o = out;
  tickWave(p, o, aPhase, aAmpl, aFreq, wave, memo);
  pos = p;
  out = o;
}

void Oscillator::printStatus() const {
  std::printf(
      "Freq [%3.3f] Ampl [%3.3f] Phase [%3.3f] - AFreq [%3.3f] AAmpl [%3.3f] APhase [%3.3f]  \n",
      double{freq}, double{ampl}, double{phase}, double{aFreq}, double{aAmpl}, double{aPhase});
}
