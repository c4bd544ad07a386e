// One stream callback of a full block: 8192 frames, the clear, the scope pass
// of 12802 steps, with or without the flip, timed against the block's own
// playing time. Targets: 1% for the default voice, 2% with all four LFOs.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/stream_callback.h"
#include "scope/draw_scope.h"
#include "scope/screen.h"
#include "synth/frame_renderer.h"
#include "synth/voice.h"
#include "tests/support/fresh_voice.h"

namespace {

constexpr int kBlockBytes = 32768;
constexpr double kBlockSeconds = 8192.0 / 44100.0;  // 185.8 ms

enum class Voice { kDefault, kAllLfos };

void setUpVoice(Voice voice) {
  freshVoice();
  if (voice == Voice::kAllLfos) {
    activateAllLfos();
  }
}

SDL_Surface* memorySurface() {
  static SDL_Surface* surface =
      SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 800, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  return surface;
}

SDL_Surface* windowSurface() {
  static SDL_Surface* surface = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      return static_cast<SDL_Surface*>(nullptr);
    }
    return SDL_SetVideoMode(640, 800, 32, SDL_SWSURFACE);  // as the program opens it
  }();
  return surface;
}

double threadCpuSeconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// The time of the calls as a share of the blocks' playing time: the wall time,
// and the calling thread's CPU time, which other work on a shared machine
// does not inflate.
class BlockShare {
 public:
  void start() {
    wallStart_ = std::chrono::steady_clock::now();
    cpuStart_ = threadCpuSeconds();
  }
  void stop() {
    wall_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart_).count();
    cpu_ += threadCpuSeconds() - cpuStart_;
  }

  void report(benchmark::State& state) const {
    const auto calls = static_cast<double>(state.iterations());
    state.counters["block_fraction"] = wall_ / calls / kBlockSeconds;
    state.counters["block_percent"] = 100.0 * wall_ / calls / kBlockSeconds;
    state.counters["block_percent_cpu"] = 100.0 * cpu_ / calls / kBlockSeconds;
  }

 private:
  std::chrono::steady_clock::time_point wallStart_;
  double cpuStart_ = 0.0;
  double wall_ = 0.0;
  double cpu_ = 0.0;
};

// One stream callback: the clear, the frames, the scope pass and, with a window
// surface, the flip (the callback itself); on a surface in memory, the stages
// without the flip.
void callback(benchmark::State& state, Voice voice, bool flip) {
  SDL_Surface* surface = flip ? windowSurface() : memorySurface();
  if (surface == nullptr || surface->format->BytesPerPixel != 4) {
    state.SkipWithError("no 32-bit surface");
    return;
  }
  screen = surface;
  setUpVoice(voice);
  std::vector<unsigned char> buffer(kBlockBytes);
  BlockShare share;
  for (auto _ : state) {
    vca->noteOn();
    share.start();
    if (flip) {
      benchmark::DoNotOptimize(streamCallback(nullptr, buffer.data(), kBlockBytes, nullptr));
    } else {
      clearSurface(screen);
      renderFrames(buffer.data(), kBlockBytes);
      drawScope();
    }
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
    share.stop();
  }
  share.report(state);
}

void callbackWithoutFlip(benchmark::State& state, Voice voice) {
  callback(state, voice, false);
}
void callbackWithFlip(benchmark::State& state, Voice voice) {
  callback(state, voice, true);
}

BENCHMARK_CAPTURE(callbackWithoutFlip, default_voice, Voice::kDefault)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(callbackWithoutFlip, all_lfos, Voice::kAllLfos)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(callbackWithFlip, default_voice, Voice::kDefault)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(callbackWithFlip, all_lfos, Voice::kAllLfos)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
