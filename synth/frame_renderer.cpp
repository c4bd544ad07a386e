#include "synth/frame_renderer.h"

#include <cmath>
#include <cstring>

#include "synth/sample_conversion.h"
#include "synth/voice.h"
#include "synth/voice_run.h"

float noteFrequency(int32_t n) {
  // note + 11 is an integer sum; widened so that no note value can overflow it.
  const double semitones = static_cast<double>(int64_t{n} + 11);
  return static_cast<float>(kNoteBaseHz * std::pow(2.0, semitones / 12.0));
}

void renderFrames(void* buffer, int32_t len) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  const int32_t frames = len >> 2;
  VoiceRun voice;
  for (int32_t i = 0; i < frames; ++i) {
    const int16_t sample = toSample16(voice.audioFrame());
    const int16_t frame[2] = {sample, sample};
    std::memcpy(bytes + 4 * static_cast<int64_t>(i), frame, sizeof frame);
  }
  voice.store();
}
