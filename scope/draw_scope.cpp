#include "scope/draw_scope.h"

#include <cstddef>
#include <cstdint>

#include "scope/plot_pixel.h"
#include "scope/screen.h"
#include "synth/voice.h"
#include "synth/voice_run.h"

namespace {

// The step count follows from x growing in float: 12802 steps over 640 columns.
constexpr float kColumns = 640.0f;
constexpr double kStep = 0.05;

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kLightGrey = 0xF0F0F0;
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr int32_t kCentreRow = 120;

constexpr size_t kSteps = 12802;
SineTrack::Entry sineStorage[5][kSteps];
SineTrack trackStorage[5] = {{sineStorage[0], kSteps},
                             {sineStorage[1], kSteps},
                             {sineStorage[2], kSteps},
                             {sineStorage[3], kSteps},
                             {sineStorage[4], kSteps}};
SineTrack* sineTracks[5] = {&trackStorage[0], &trackStorage[1], &trackStorage[2], &trackStorage[3],
                            &trackStorage[4]};

}  // namespace

void drawScope() {
  SDL_Surface* const surface = screen;
  Oscillator* const oscillators[] = {osc1, lfo1, lfo2, lfo3, lfo4};
  float saved[5];
  for (int i = 0; i < 5; ++i) {
    saved[i] = oscillators[i]->pos;
    oscillators[i]->pos = 0.0f;
  }

  // The voice steps as the audio frames do, from position 0; its running
  // values are published at the end of the pass, the positions put back.
  // While the voice's settings hold, every pass asks for the same sines in the
  // same order: the tracks replay them.
  VoiceRun voice;
  voice.replaySines(sineTracks);
  for (float x = 0.0f; x < kColumns; x = static_cast<float>(double{x} + kStep)) {
    const ScopePoint point = voice.scopeStep();

    // Later points cover earlier ones: the centre line lies over traces 1 to
    // 6, and trace 8 is drawn last of all.
    const PlotColumn column(surface, static_cast<int32_t>(x));
    column.plot(100.0 * double{point.p4} + 120.0, kRed);
    column.plot(100.0 * double{point.p3} + 120.0, kRed);
    column.plot(100.0 * double{point.p2} + 120.0, kGreen);
    column.plot(100.0 * double{point.p1} + 120.0, kBlue);
    column.plot(double{point.voice} / 200.0 + 120.0, kWhite);
    column.plot(double{point.amplitude} / 200.0 + 240.0, kLightGrey);
    column.plot(kCentreRow, kMagenta);
    column.plot(double{point.voice} / 300.0 + 450.0, kWhite);
  }
  voice.store();

  for (int i = 0; i < 5; ++i) {
    oscillators[i]->pos = saved[i];
  }
}
