#include "synth/frame_renderer.h"

#include <cmath>
#include <cstring>

#include "synth/modulation.h"
#include "synth/sample_conversion.h"
#include "synth/voice.h"

float noteFrequency(int32_t n) {
  // note + 11 is an integer sum; widened so that no note value can overflow it.
  const double semitones = static_cast<double>(int64_t{n} + 11);
  return static_cast<float>(kNoteBaseHz * std::pow(2.0, semitones / 12.0));
}

void renderFrames(void* buffer, int32_t len) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  const int32_t frames = len >> 2;

  // The pitch is derived from `note` at every frame; the power is evaluated
  // again only when the note has changed.
  int32_t pitchedNote = note;
  float pitch = noteFrequency(pitchedNote);

  for (int32_t i = 0; i < frames; ++i) {
    const LfoOutputs lfos = tickLfos();
    copyBaseToApplied(*osc1);
    const int32_t n = note;
    if (n != pitchedNote) {
      pitchedNote = n;
      pitch = noteFrequency(n);
    }
    osc1->freq = pitch;
    applyModulation(lfos);

    vca->tick();
    osc1->tick();
    const float s = static_cast<float>(double{osc1->output()} * double{kSampleScale});
    const float v = static_cast<float>(double{s} * double{vca->level});
    const int16_t sample = toSample16(v);

    const int16_t frame[2] = {sample, sample};
    std::memcpy(bytes + 4 * static_cast<int64_t>(i), frame, sizeof frame);
  }
}
