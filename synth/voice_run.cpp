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
