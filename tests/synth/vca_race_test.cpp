#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "synth/vca.h"

namespace {

// The main thread starts notes while another thread ticks the envelope as fast
// as it can. Each note starts when the previous one has run out (40 ticks), so
// its time is far past the end: a tick that used it would close the new note
// at once. A note started mid-tick must open the gate at once, stay open, and
// count its time from 0.
TEST(VcaRaceTest, NoteStartedDuringATickIsNeverLostNorStale) {
  Vca vca;
  vca.attack = 1.0f;
  vca.decay = 1.0f;
  constexpr uint64_t kRunOut = 40;  // ticks of 0.05 to reach attack + decay
  // Ticks run ahead of the count the other thread sees by a few stores.
  constexpr uint64_t kSlack = 4;

  std::atomic<uint64_t> ticks{0};
  std::atomic<bool> stop{false};
  std::thread audio([&] {
    while (!stop.load(std::memory_order_relaxed)) {
      vca.tick();
      ticks.fetch_add(1);
    }
  });

  int checked = 0;
  for (int i = 0; i < 5000; ++i) {
    while (vca.gate == 1 || vca.time < 2.5f) {
    }
    const uint64_t before = ticks.load();
    vca.noteOn();
    const int32_t gateAtOnce = vca.gate;
    const uint64_t mid = ticks.load();
    if (mid - before + kSlack < kRunOut) {  // unless this thread was held up that long
      ASSERT_EQ(gateAtOnce, 1) << "note " << i;
    }
    while (ticks.load() < mid + 2) {
    }
    const float time = vca.time;
    const int32_t gate = vca.gate;
    const uint64_t last = ticks.load();
    if (last - before + kSlack < kRunOut) {
      ASSERT_EQ(gate, 1) << "note " << i << " lost";
      ASSERT_LE(time, 0.05f * static_cast<float>(last - before + kSlack)) << "note " << i;
      ++checked;
    }
  }
  stop = true;
  audio.join();
  EXPECT_GT(checked, 1000);
}

}  // namespace
