#include "synth/voice_run.h"

#include "synth/frame_renderer.h"
#include "synth/voice.h"

RunningOscillator::RunningOscillator(Oscillator& o)
    : shared(o),
      pos(o.pos),
      out(o.out),
      aPhase(o.aPhase),
      aAmpl(o.aAmpl),
      aFreq(o.aFreq),
      wave(o.wave) {}

void RunningOscillator::refresh() {
  aFreq = shared.freq;
  aPhase = shared.phase;
  aAmpl = shared.ampl;
  wave = shared.wave;
}

void RunningOscillator::tickFrom(float f, float ph, float a, int32_t w) {
  aFreq = f;
  aPhase = ph;
  aAmpl = a;
  wave = w;
  modulates_ = a != 0.0f && f != 0.0f;
  const float before = pos;
  tick();
  // The noise draws from the random source at every tick: never a fixed point.
  atFixedPoint_ = sameBits(pos, before) && wave != 5;
}

void RunningOscillator::store() const {
  shared.pos = pos;
  shared.out = out;
  shared.aPhase = aPhase;
  shared.aAmpl = aAmpl;
  shared.aFreq = aFreq;
}

VoiceRun::VoiceRun()
    : osc_(*osc1),
      lfos_{RunningOscillator(*lfo1), RunningOscillator(*lfo2), RunningOscillator(*lfo3),
            RunningOscillator(*lfo4)},
      vca_(*vca),
      envelope_{vca->time, vca->level, vca->appliedNote},
      pitchedNote_(note),
      pitch_(noteFrequency(pitchedNote_)) {}

void VoiceRun::tickLfos(float outputs[4]) {
  for (int i = 3; i >= 0; --i) {  // lfo4 first, lfo1 last
    lfos_[i].refreshAndTickUnmodulated();
    outputs[i] = lfos_[i].out;
  }
}

// Each output is a relative deviation: value * (1 + output), formed as
// output * value + value. lfo4 acts on the frequency that lfo2 left.
void VoiceRun::modulate(const float outputs[4]) {
  auto deviate = [](float& value, float by) {
    value = static_cast<float>(static_cast<double>(by) * value + static_cast<double>(value));
  };
  if (lfos_[0].modulates()) {
    deviate(osc_.aAmpl, outputs[0]);
  }
  if (lfos_[1].modulates()) {
    deviate(osc_.aFreq, outputs[1]);
  }
  if (lfos_[2].modulates()) {
    deviate(osc_.aPhase, outputs[2]);
  }
  if (lfos_[3].modulates()) {
    deviate(osc_.aFreq, outputs[3]);
  }
}

void VoiceRun::tickEnvelope() {
  ::tickEnvelope(envelope_, vca_.gate, vca_.attack, vca_.peak, vca_.decay);
}

float VoiceRun::audioFrame() {
  float lfoOut[4];
  tickLfos(lfoOut);
  osc_.refresh();
  // The pitch is derived from `note` at every frame; the power is evaluated
  // again only when the note has changed.
  const int32_t n = note;
  if (n != pitchedNote_) {
    pitchedNote_ = n;
    pitch_ = noteFrequency(n);
  }
  osc_.shared.freq = pitch_;
  modulate(lfoOut);
  tickEnvelope();
  osc_.tick();
  const float s = static_cast<float>(static_cast<double>(osc_.out) * kSampleScale);
  return static_cast<float>(static_cast<double>(s) * envelope_.level);
}

ScopePoint VoiceRun::scopeStep() {
  float lfoOut[4];
  tickLfos(lfoOut);
  osc_.refresh();
  modulate(lfoOut);
  tickEnvelope();
  osc_.aAmpl = static_cast<float>(static_cast<double>(envelope_.level) * osc_.aAmpl);
  osc_.tick();
  const float voice = static_cast<float>(static_cast<double>(osc_.out) * kSampleScale);
  return ScopePoint{lfoOut[0], lfoOut[1], lfoOut[2], lfoOut[3], voice, osc_.aAmpl};
}

void VoiceRun::replaySines(SineTrack* tracks[5]) {
  RunningOscillator* const oscillators[] = {&osc_, &lfos_[0], &lfos_[1], &lfos_[2], &lfos_[3]};
  for (int i = 0; i < 5; ++i) {
    tracks[i]->rewind();
    oscillators[i]->shared.memo.track = tracks[i];
  }
}

void VoiceRun::store() const {
  osc_.store();
  osc_.shared.memo.track = nullptr;
  for (const RunningOscillator& lfo : lfos_) {
    lfo.store();
    lfo.shared.memo.track = nullptr;
  }
  vca_.time = envelope_.time;
  vca_.level = envelope_.level;
  vca_.appliedNote = envelope_.appliedNote;
}
