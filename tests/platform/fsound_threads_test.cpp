// Closing a stream while its fill function may be running, on the silent
// output and on a real ALSA device.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/fsound.h"
#include "tests/platform/fsound_alsa_sandbox.h"

namespace {

constexpr int kRate = 44100;
constexpr unsigned int kMode = 0x1000150;
// 256 frames, about 5.8 ms: many calls, and closes that land inside one.
constexpr int kShortBlockBytes = 1024;

struct Watch {
  static signed char fill(FSOUND_STREAM*, void*, int, void* userdata) {
    auto* watch = static_cast<Watch*>(userdata);
    if (watch->inCall.exchange(true)) {
      watch->overlaps.fetch_add(1);
    }
    if (watch->closed.load()) {
      watch->callsAfterClose.fetch_add(1);
    }
    watch->calls.fetch_add(1);
    std::this_thread::sleep_for(std::chrono::microseconds(500));
    watch->inCall.store(false);
    return 1;
  }

  std::atomic<bool> inCall{false};
  std::atomic<bool> closed{false};
  std::atomic<int> calls{0};
  std::atomic<int> overlaps{0};
  std::atomic<int> callsAfterClose{0};
};

void playAndClose(int rounds) {
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0)) << FSOUND_GetError();
  for (int round = 0; round < rounds; ++round) {
    Watch watch;
    FSOUND_STREAM* stream =
        FSOUND_Stream_Create(Watch::fill, kShortBlockBytes, kMode, kRate, &watch);
    ASSERT_NE(stream, nullptr);
    ASSERT_EQ(FSOUND_Stream_Play(0, stream), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * round % 20));
    ASSERT_TRUE(FSOUND_Stream_Close(stream));
    watch.closed.store(true);
    const int calls = watch.calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    EXPECT_EQ(watch.calls.load(), calls) << "round " << round;
    EXPECT_EQ(watch.callsAfterClose.load(), 0) << "round " << round;
    EXPECT_EQ(watch.overlaps.load(), 0) << "round " << round;
  }
  FSOUND_Close();
}

TEST(FsoundThreadsTest, NoFillCallFollowsStreamCloseOnTheSilentOutput) {
  ASSERT_TRUE(FSOUND_SetOutput(0));
  playAndClose(30);
}

TEST(FsoundThreadsTest, NoFillCallFollowsStreamCloseOnAnAlsaDevice) {
  alsaSandbox();
  ASSERT_TRUE(FSOUND_SetOutput(2));
  ASSERT_TRUE(FSOUND_SetDriver(driverIndex("default")));
  playAndClose(10);
}

}  // namespace
