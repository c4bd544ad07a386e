#include "synth/modulation.h"

#include "synth/voice.h"

namespace {

float tickRefreshed(Oscillator& lfo) {
  copyBaseToApplied(lfo);
  lfo.tick();
  return lfo.output();
}

bool isActive(const Oscillator& lfo) {
  return lfo.aAmpl != 0.0f && lfo.aFreq != 0.0f;
}

void deviate(Relaxed<float>& value, float output) {
  const double v = value;
  value = static_cast<float>(double{output} * v + v);
}

}  // namespace

void copyBaseToApplied(Oscillator& osc) {
  osc.aFreq = osc.freq;
  osc.aPhase = osc.phase;
  osc.aAmpl = osc.ampl;
}

LfoOutputs tickLfos() {
  LfoOutputs lfos;
  lfos.p4 = tickRefreshed(*lfo4);
  lfos.p3 = tickRefreshed(*lfo3);
  lfos.p2 = tickRefreshed(*lfo2);
  lfos.p1 = tickRefreshed(*lfo1);
  return lfos;
}

void applyModulation(const LfoOutputs& lfos) {
  if (isActive(*lfo1)) {
    deviate(osc1->aAmpl, lfos.p1);
  }
  if (isActive(*lfo2)) {
    deviate(osc1->aFreq, lfos.p2);
  }
  if (isActive(*lfo3)) {
    deviate(osc1->aPhase, lfos.p3);
  }
  if (isActive(*lfo4)) {
    deviate(osc1->aFreq, lfos.p4);
  }
}
