#pragma once

#include <bit>
#include <cstdint>

#include "synth/envelope_tick.h"
#include "synth/frame_renderer.h"
#include "synth/oscillator.h"
#include "synth/sine_track.h"
#include "synth/vca.h"
#include "synth/voice.h"
#include "synth/wave_tick.h"

// An oscillator's running values (position, output, applied values), held by
// the ticking thread for the length of a run.
struct RunningOscillator {
  explicit RunningOscillator(Oscillator& shared);

  // The applied values take the base values as they are now.
  void refresh() {
    aFreq = shared.freq;
    aPhase = shared.phase;
    aAmpl = shared.ampl;
    wave = shared.wave;
  }
  [[gnu::always_inline]] void tick() {
    tickWave(pos, out, aPhase, aAmpl, aFreq, wave, shared.memo);
  }
  // refresh() and tick() for an oscillator that nothing modulates. A tick that
  // left the position as it was, from the same inputs, would repeat itself
  // exactly (an LFO at 0 Hz): it is not done again until an input changes.
  void refreshAndTickUnmodulated() {
    const float f = shared.freq;
    const float ph = shared.phase;
    const float a = shared.ampl;
    const int32_t w = shared.wave;
    if (!(atFixedPoint_ && sameBits(f, aFreq) && sameBits(ph, aPhase) && sameBits(a, aAmpl) &&
          w == wave)) {
      tickFrom(f, ph, a, w);
    }
  }
  // Whether, as an LFO, it modulates osc1: applied amplitude and frequency
  // both non-zero. Kept by refreshAndTickUnmodulated().
  bool modulates() const { return modulates_; }
  // Publishes the running values.
  void store() const;

  Oscillator& shared;
  float pos;
  float out;
  float aPhase;
  float aAmpl;
  float aFreq;
  int32_t wave;

 private:
  static bool sameBits(float x, float y) {
    return std::bit_cast<uint32_t>(x) == std::bit_cast<uint32_t>(y);
  }
  void tickFrom(float f, float ph, float a, int32_t w);  // below

  bool atFixedPoint_ = false;
  bool modulates_ = false;
};

// What the scope draws at one step.
struct ScopePoint {
  float p1, p2, p3, p4;  // LFO outputs
  float voice;           // osc1's output times the sample scale
  float amplitude;       // osc1's applied amplitude after the envelope
};

// The global voice ticked frame by frame on one thread. The running values
// (positions, outputs, applied values, the envelope's time and level) stay
// here until store(); everything the main thread changes (base values, waves,
// note, the envelope's lengths and gate) is read again at every frame, so a
// change is heard from the next frame on.
class VoiceRun {
 public:
  VoiceRun();

  // One audio frame: the sample value before its conversion to 16 bits. The
  // pitch follows `note`, taking effect from the next frame.
  float audioFrame();

  // One step of the scope's preview: the pitch is not recomputed, and the
  // envelope scales osc1's amplitude before its tick.
  ScopePoint scopeStep();

  // From here on, each oscillator's sines come from and go to its track
  // (osc1, lfo1 to lfo4), rewound to their start. store() detaches them.
  void replaySines(SineTrack* tracks[5]);

  void store() const;

 private:
  void tickLfos(float outputs[4]);
  void modulate(const float outputs[4]);
  void tickEnvelope();

  RunningOscillator osc_;
  RunningOscillator lfos_[4];  // lfo1 to lfo4
  Vca& vca_;
  EnvelopeRun envelope_;
  int32_t pitchedNote_;
  float pitch_;
};

[[gnu::always_inline]] inline void RunningOscillator::tickFrom(float f, float ph, float a,
                                                               int32_t w) {
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

// The per-frame steps are defined here so that a caller's frame loop inlines
// them and keeps the running values in registers.

inline void VoiceRun::tickLfos(float outputs[4]) {
  for (int i = 3; i >= 0; --i) {  // lfo4 first, lfo1 last
    lfos_[i].refreshAndTickUnmodulated();
    outputs[i] = lfos_[i].out;
  }
}

// Each output is a relative deviation: value * (1 + output), formed as
// output * value + value. lfo4 acts on the frequency that lfo2 left.
inline void VoiceRun::modulate(const float outputs[4]) {
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

inline void VoiceRun::tickEnvelope() {
  ::tickEnvelope(envelope_, vca_.gate, vca_.attack, vca_.peak, vca_.decay);
}

inline float VoiceRun::audioFrame() {
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
