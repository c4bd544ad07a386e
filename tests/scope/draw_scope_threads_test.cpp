#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "scope/draw_scope.h"
#include "tests/scope/scope_test_support.h"
#include "tests/support/fresh_voice.h"

namespace {

using namespace scope_test;

// The scope pass runs on the audio thread while the main thread changes the
// voice's base values, waves, note and envelope without a lock, as the
// console commands and window keys do.
TEST(DrawScopeThreadsTest, DrawsWhileTheMainThreadChangesTheVoice) {
  freshVoice();
  GuardedSurface surface(kWidth, kHeight);
  screen = surface.get();

  std::atomic<bool> drawing{true};
  std::thread audio([&] {
    for (int pass = 0; pass < 6; ++pass) {
      clearSurface(screen);
      drawScope();
    }
    drawing = false;
  });

  float value = 0.0f;
  int32_t wave = 1;
  while (drawing) {
    for (Oscillator* osc : {osc1, lfo1, lfo2, lfo3, lfo4}) {
      osc->freq = value * 3.0f;
      osc->ampl = value;
      osc->phase = 1.0f - value;
      osc->wave = wave;
    }
    note = 50 + wave;
    vca->attack = 10.0f + value;
    vca->decay = 100.0f + value;
    if (wave == 3) {
      vca->noteOn();
    } else if (wave == 5) {
      vca->noteOff();
    }
    value = value > 2.0f ? -2.0f : value + 0.01f;
    wave = wave % 5 + 1;
  }
  audio.join();
  screen = nullptr;

  EXPECT_TRUE(surface.guardsIntact());
}

}  // namespace
