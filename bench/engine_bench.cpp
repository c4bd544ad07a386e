// Frames per second of the voice renderer: 600 s of audio rendered in blocks
// of 8192 frames, for the default voice and for a voice with all four LFOs
// modulating it.
#include <benchmark/benchmark.h>

#include <vector>

#include "synth/frame_renderer.h"
#include "synth/voice.h"
#include "tests/support/fresh_voice.h"

namespace {

constexpr int64_t kBlockFrames = 8192;
constexpr int64_t kSeconds = 600;
constexpr int64_t kBlocks = kSeconds * 44100 / kBlockFrames;

void setUpVoice(bool allLfos) {
  freshVoice();
  if (allLfos) {
    activateAllLfos();
  }
}

void render600Seconds(benchmark::State& state, bool allLfos) {
  setUpVoice(allLfos);
  std::vector<int16_t> block(kBlockFrames * 2);
  for (auto _ : state) {
    for (int64_t b = 0; b < kBlocks; ++b) {
      if (vca->gate == 0) {
        vca->noteOn();  // keep the voice sounding, as the program does
      }
      renderFrames(block.data(), kBlockFrames * 4);
      benchmark::DoNotOptimize(block.data());
    }
  }
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kBlocks * kBlockFrames),
                         benchmark::Counter::kIsRate);
}

void BM_DefaultVoice(benchmark::State& state) {
  render600Seconds(state, false);
}
void BM_AllLfosActive(benchmark::State& state) {
  render600Seconds(state, true);
}

BENCHMARK(BM_DefaultVoice)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AllLfosActive)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
