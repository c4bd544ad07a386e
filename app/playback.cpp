#include "app/playback.h"

#include <cstdio>
#include <cstdlib>

#include "app/app_state.h"
#include "app/stream_callback.h"
#include "platform/fsound.h"
#include "sound/sound_error_text.h"
#include "synth/frame_renderer.h"
#include "synth/voice.h"

namespace {

constexpr unsigned int kStreamMode = FSOUND_16BITS | FSOUND_STEREO | FSOUND_SIGNED | FSOUND_2D;

FSOUND_STREAM* stream = nullptr;

[[noreturn]] void failAndExit() {
  std::printf("Error!\n");
  std::printf("%s\n", soundErrorText(FSOUND_GetError()));
  std::exit(1);
}

}  // namespace

void startPlayback() {
  stream = FSOUND_Stream_Create(streamCallback, kStreamBytes, kStreamMode, kMixRate, osc1);
  if (stream == nullptr) {
    failAndExit();
  }
  if (FSOUND_Stream_Play(0, stream) == -1) {
    failAndExit();
  }
}

void stopPlayback() {
  if (stream != nullptr) {
    FSOUND_Stream_Close(stream);
    stream = nullptr;
  }
  FSOUND_Close();
}
