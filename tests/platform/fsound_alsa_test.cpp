// The sound library against real ALSA through real PortAudio, with no sound
// card: the devices are those of the test's own ALSA configuration.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/fsound.h"
#include "platform/fsound_stats.h"
#include "tests/platform/fsound_alsa_sandbox.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kRate = 44100;
constexpr int kBlockBytes = 32768;
constexpr int64_t kBlockFrames = kBlockBytes / 4;
constexpr unsigned int kMode = 0x1000150;
// 8192 frames at 44100 Hz.
constexpr auto kBlockTime = std::chrono::nanoseconds(185'759'637);

int16_t toneAt(int64_t frame) {
  return static_cast<int16_t>(std::lround(10000.0 * std::sin(2.0 * M_PI * 440.0 * frame / kRate)));
}

// A fill function writing a 440 Hz tone from a running frame count, and
// noting when each call came.
struct Tone {
  static signed char fill(FSOUND_STREAM*, void* buffer, int length, void* userdata) {
    auto* tone = static_cast<Tone*>(userdata);
    auto* samples = static_cast<int16_t*>(buffer);
    for (int i = 0; i < length / 4; ++i) {
      samples[2 * i] = samples[2 * i + 1] = toneAt(tone->nextFrame++);
    }
    const int call = tone->calls.load(std::memory_order_relaxed);
    if (call < static_cast<int>(tone->times.size())) {
      tone->times[call] = Clock::now();
    }
    tone->calls.store(call + 1, std::memory_order_release);
    return 1;
  }

  int64_t nextFrame = 0;
  std::atomic<int> calls{0};
  std::array<Clock::time_point, 64> times{};
};

std::vector<int16_t> readSamples(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    const auto low = static_cast<uint8_t>(bytes[2 * i]);
    const auto high = static_cast<uint8_t>(bytes[2 * i + 1]);
    samples[i] = static_cast<int16_t>(low | high << 8);
  }
  return samples;
}

class FsoundAlsaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    alsaSandbox();
    ASSERT_TRUE(FSOUND_SetOutput(2));
  }
  void TearDown() override { FSOUND_Close(); }

  // Plays the tone on "default" for `duration`, then closes everything.
  void playTone(Tone& tone, Clock::duration duration) {
    ASSERT_TRUE(FSOUND_SetDriver(driverIndex("default")));
    ASSERT_TRUE(FSOUND_Init(kRate, 32, 0)) << FSOUND_GetError();
    FSOUND_STREAM* stream = FSOUND_Stream_Create(Tone::fill, kBlockBytes, kMode, kRate, &tone);
    ASSERT_NE(stream, nullptr);
    ASSERT_EQ(FSOUND_Stream_Play(0, stream), 0);
    std::this_thread::sleep_for(duration);
    EXPECT_TRUE(FSOUND_Stream_Close(stream));
    FSOUND_Close();
  }
};

TEST_F(FsoundAlsaTest, AlsaListsTheDefaultDeviceFirst) {
  ASSERT_EQ(FSOUND_GetOutput(), 2);
  ASSERT_GE(FSOUND_GetNumDrivers(), 2);
  EXPECT_STREQ(FSOUND_GetDriverName(0), "default");
  EXPECT_GE(driverIndex("broken"), 1);
  // Code 6 is ALSA too.
  ASSERT_TRUE(FSOUND_SetOutput(6));
  EXPECT_STREQ(FSOUND_GetDriverName(0), "default");
}

TEST_F(FsoundAlsaTest, PlaysTheToneWithoutGapOrRepeatAtItsPace) {
  std::filesystem::remove(alsaSandbox().capture);
  Tone tone;
  playTone(tone, milliseconds(2000));

  // About one call per block of 185.8 ms, the first two at once.
  const int calls = tone.calls.load(std::memory_order_acquire);
  EXPECT_GE(calls, 8);
  EXPECT_LE(calls, 16);
  // Block k is never filled before block k - 1 starts to be heard.
  for (int k = 2; k < calls; ++k) {
    EXPECT_GE(tone.times[k] - tone.times[0], (k - 1) * kBlockTime - milliseconds(20))
        << "call " << k;
    EXPECT_GE(tone.times[k] - tone.times[k - 1], kBlockTime / 2) << "call " << k;
  }

  // Every filled block was played: the proof silence of FSOUND_Init, then the
  // tone, frame after frame, left equal to right.
  const std::vector<int16_t> samples = readSamples(alsaSandbox().capture);
  const int64_t frames = static_cast<int64_t>(samples.size() / 2);
  const int64_t silence = frames - calls * kBlockFrames;
  ASSERT_GE(silence, 0);
  ASSERT_LT(silence, kRate);
  for (int64_t i = 0; i < silence; ++i) {
    ASSERT_EQ(samples[2 * i], 0) << "frame " << i;
    ASSERT_EQ(samples[2 * i + 1], 0) << "frame " << i;
  }
  for (int64_t n = 0; n < calls * kBlockFrames; ++n) {
    const int64_t i = silence + n;
    ASSERT_EQ(samples[2 * i], toneAt(n)) << "tone frame " << n;
    ASSERT_EQ(samples[2 * i + 1], samples[2 * i]) << "tone frame " << n;
  }
}

TEST_F(FsoundAlsaTest, PrintsNothingOnTheConsole) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  // Starts PortAudio, opens a failing device and plays a while on a good one.
  const int broken = driverIndex("broken");
  FSOUND_SetDriver(broken);
  const signed char brokenReady = FSOUND_Init(kRate, 32, 0);
  Tone tone;
  playTone(tone, milliseconds(300));
  const std::string out = ::testing::internal::GetCapturedStdout();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(brokenReady, 0);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "");
}

TEST_F(FsoundAlsaTest, ADeviceThatOpensButCannotPlayFailsToInitialise) {
  ASSERT_TRUE(FSOUND_SetDriver(driverIndex("broken")));
  EXPECT_EQ(FSOUND_Init(kRate, 32, 0), 0);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INIT);
  EXPECT_EQ(FSOUND_Stream_Create(Tone::fill, kBlockBytes, kMode, kRate, nullptr), nullptr);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
  // The library is free to try again.
  ASSERT_TRUE(FSOUND_SetDriver(driverIndex("default")));
  EXPECT_TRUE(FSOUND_Init(kRate, 32, 0));
}

TEST_F(FsoundAlsaTest, OutputAndDriverAreFixedOnceInitialised) {
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0));
  EXPECT_EQ(FSOUND_SetOutput(0), 0);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_BUSY);
  EXPECT_EQ(FSOUND_SetDriver(0), 0);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_BUSY);
  EXPECT_EQ(FSOUND_GetOutput(), 2);
  FSOUND_Close();
  FSOUND_Close();
  EXPECT_TRUE(FSOUND_SetOutput(0));
}

TEST_F(FsoundAlsaTest, ADeviceFailingWhilePlayingLeavesTheStreamRunning) {
  // The capture file may take the proof silence and about a block more;
  // from then on ALSA's file plugin fails every write that reaches the file.
  signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit small{100000, saved.rlim_max};
  setrlimit(RLIMIT_FSIZE, &small);

  const SoundStats before = fsoundStats();
  Tone tone;
  playTone(tone, milliseconds(2000));
  const SoundStats after = fsoundStats();
  setrlimit(RLIMIT_FSIZE, &saved);

  const int calls = tone.calls.load(std::memory_order_acquire);
  EXPECT_GE(calls, 8);
  EXPECT_LE(calls, 16);
  EXPECT_EQ(after.fillCalls - before.fillCalls, static_cast<uint64_t>(calls));
  EXPECT_GE(after.failedWrites - before.failedWrites, 2u);
  EXPECT_LT(after.failedWrites - before.failedWrites, static_cast<uint64_t>(calls));
}

}  // namespace
