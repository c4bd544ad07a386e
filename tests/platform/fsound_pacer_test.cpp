#include "platform/fsound_pacer.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::nanoseconds;

constexpr int64_t kBlockFrames = 8192;
constexpr int kRate = 44100;
// 8192 / 44100 s, cut to whole nanoseconds.
constexpr nanoseconds kBlockTime{185'759'637};
const SoundClock::time_point kStart{std::chrono::seconds(1000)};

TEST(BlockPacerTest, FillsTheFirstTwoBlocksAtOnceThenOneABlockApart) {
  BlockPacer pacer(kBlockFrames, kRate, kStart);
  EXPECT_EQ(pacer.fillTime(0, 0, 0, kStart), kStart);
  EXPECT_EQ(pacer.fillTime(1, kBlockFrames, 0, kStart), kStart);
  EXPECT_EQ(pacer.fillTime(2, 2 * kBlockFrames, 0, kStart), kStart + kBlockTime);
  EXPECT_EQ(pacer.fillTime(3, 3 * kBlockFrames, 0, kStart), kStart + 2 * kBlockTime);
}

TEST(BlockPacerTest, KeepsToAbsoluteTimesWhateverTheCallsCost) {
  BlockPacer pacer(kBlockFrames, kRate, kStart);
  // Asked late, block 5 is still due when block 4 starts to be heard.
  const SoundClock::time_point late = kStart + 10 * kBlockTime;
  EXPECT_EQ(pacer.fillTime(5, 5 * kBlockFrames, 0, late), kStart + nanoseconds(743'038'548));
}

TEST(BlockPacerTest, StaysExactOverLongRuns) {
  BlockPacer pacer(kBlockFrames, kRate, kStart);
  // 44100 blocks are 8192 s exactly.
  EXPECT_EQ(pacer.fillTime(44101, 0, 0, kStart), kStart + std::chrono::seconds(8192));
}

TEST(BlockPacerTest, FollowsADeviceThatTellsWhatItHolds) {
  BlockPacer pacer(kBlockFrames, kRate, kStart);
  // 441 frames (10 ms) more than a block still to be heard: the device has
  // heard up to 10 ms before block 1's start.
  const SoundClock::time_point now = kStart + std::chrono::milliseconds(500);
  const SoundClock::time_point due = pacer.fillTime(2, 2 * kBlockFrames, kBlockFrames + 441, now);
  EXPECT_EQ(due, now + std::chrono::milliseconds(10));
  // Once it tells nothing more, the clock goes on from there.
  EXPECT_EQ(pacer.fillTime(3, 3 * kBlockFrames, 0, due), due + kBlockTime);
}

}  // namespace
