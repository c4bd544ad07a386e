// The sound library's calls and their errors, on the silent output and on
// output codes that offer nothing: no audio system is touched.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/fsound.h"
#include "platform/fsound_stats.h"

namespace {

constexpr int kRate = 44100;
constexpr int kBlockBytes = 32768;
constexpr unsigned int kMode = 0x1000150;

std::atomic<int> fillCalls{0};

signed char countCall(FSOUND_STREAM*, void*, int, void*) {
  fillCalls.fetch_add(1, std::memory_order_relaxed);
  return 1;
}

signed char stopAtOnce(FSOUND_STREAM*, void*, int, void*) {
  fillCalls.fetch_add(1, std::memory_order_relaxed);
  return 0;
}

class FsoundNoSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fillCalls = 0;
    ASSERT_TRUE(FSOUND_SetOutput(0));
  }
  void TearDown() override { FSOUND_Close(); }

  FSOUND_STREAM* createStream(FSOUND_STREAMCALLBACK fill = countCall) {
    return FSOUND_Stream_Create(fill, kBlockBytes, kMode, kRate, nullptr);
  }
};

TEST_F(FsoundNoSoundTest, ReportsAVersionOfAtLeast374) {
  EXPECT_GE(FSOUND_GetVersion(), 3.74f);
}

TEST_F(FsoundNoSoundTest, OffersExactlyOneDriver) {
  EXPECT_EQ(FSOUND_GetOutput(), 0);
  ASSERT_EQ(FSOUND_GetNumDrivers(), 1);
  EXPECT_STREQ(FSOUND_GetDriverName(0), "NoSound");
  EXPECT_TRUE(FSOUND_SetDriver(0));
}

TEST_F(FsoundNoSoundTest, RefusesDriverIndicesOutsideTheList) {
  EXPECT_EQ(FSOUND_GetDriverName(1), nullptr);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
  for (const int driver : {1, -1, 100}) {
    FSOUND_SetDriver(0);
    EXPECT_EQ(FSOUND_SetDriver(driver), 0) << driver;
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM) << driver;
  }
}

TEST_F(FsoundNoSoundTest, UnknownOutputCodesOfferNoDriversAndFailToInitialise) {
  for (const int output : {3, 5, 8, -1, 99}) {
    ASSERT_TRUE(FSOUND_SetOutput(output)) << output;
    EXPECT_EQ(FSOUND_GetOutput(), output);
    EXPECT_EQ(FSOUND_GetNumDrivers(), 0) << output;
    EXPECT_EQ(FSOUND_Init(kRate, 32, 0), 0) << output;
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INIT) << output;
  }
}

TEST_F(FsoundNoSoundTest, RefusesBadInitArguments) {
  for (const auto& [rate, channels] : {std::pair{0, 32}, {-44100, 32}, {kRate, -1}}) {
    EXPECT_EQ(FSOUND_Init(rate, channels, 0), 0) << rate << " " << channels;
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
  }
  EXPECT_TRUE(FSOUND_Init(kRate, 32, 0));
}

TEST_F(FsoundNoSoundTest, InitialisesOnceUntilClosed) {
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0));
  EXPECT_EQ(FSOUND_Init(kRate, 32, 0), 0);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_BUSY);
  EXPECT_EQ(FSOUND_SetOutput(2), 0);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_BUSY);
  EXPECT_EQ(FSOUND_SetDriver(0), 0);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_BUSY);
  FSOUND_Close();
  FSOUND_Close();
  EXPECT_TRUE(FSOUND_Init(kRate, 32, 0));
}

TEST_F(FsoundNoSoundTest, RefusesStreamsBeforeInit) {
  EXPECT_EQ(createStream(), nullptr);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
  EXPECT_EQ(FSOUND_Stream_Play(0, nullptr), -1);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
}

TEST_F(FsoundNoSoundTest, RefusesStreamLengthsThatAreNotWholeFrames) {
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0));
  for (const int length : {0, 6, -4, 2, 32770}) {
    EXPECT_EQ(FSOUND_Stream_Create(countCall, length, kMode, kRate, nullptr), nullptr) << length;
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM) << length;
  }
  EXPECT_NE(FSOUND_Stream_Create(countCall, 4, kMode, kRate, nullptr), nullptr);
}

TEST_F(FsoundNoSoundTest, AcceptsOnly16BitSignedStereoStreams) {
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0));
  EXPECT_NE(FSOUND_Stream_Create(countCall, kBlockBytes, 0x150, kRate, nullptr), nullptr);
  // 8-bit, mono, unsigned, missing bits, an unknown bit.
  for (const unsigned int mode :
       {0x1000148u, 0x1000130u, 0x1000050u, 0x1000090u, 0x1000110u, 0x1000140u, 0u, 0x1000152u}) {
    EXPECT_EQ(FSOUND_Stream_Create(countCall, kBlockBytes, mode, kRate, nullptr), nullptr) << mode;
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM) << mode;
  }
}

TEST_F(FsoundNoSoundTest, StreamsRunAtTheInitialisedRateOnly) {
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0));
  EXPECT_EQ(FSOUND_Stream_Create(countCall, kBlockBytes, kMode, 22050, nullptr), nullptr);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
  EXPECT_EQ(FSOUND_Stream_Create(nullptr, kBlockBytes, kMode, kRate, nullptr), nullptr);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
}

TEST_F(FsoundNoSoundTest, ClosesANeverPlayedStreamOnce) {
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0));
  FSOUND_STREAM* stream = createStream();
  ASSERT_NE(stream, nullptr);
  EXPECT_TRUE(FSOUND_Stream_Close(stream));
  EXPECT_EQ(FSOUND_Stream_Close(stream), 0);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
  EXPECT_EQ(FSOUND_Stream_Close(nullptr), 0);
  EXPECT_EQ(fillCalls, 0);
}

TEST_F(FsoundNoSoundTest, CloseEndsTheStreamsItLeftOpen) {
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0));
  FSOUND_STREAM* stream = createStream();
  ASSERT_EQ(FSOUND_Stream_Play(0, stream), 0);
  FSOUND_Close();
  const int calls = fillCalls;
  EXPECT_EQ(FSOUND_Stream_Close(stream), 0);
  EXPECT_EQ(FSOUND_Stream_Play(0, stream), -1);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_EQ(fillCalls, calls);
}

TEST_F(FsoundNoSoundTest, PlaysOneStreamAtATime) {
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0));
  FSOUND_STREAM* first = createStream();
  FSOUND_STREAM* second = createStream();
  ASSERT_EQ(FSOUND_Stream_Play(0, first), 0);
  EXPECT_EQ(FSOUND_Stream_Play(0, first), -1);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_PLAY);
  EXPECT_EQ(FSOUND_Stream_Play(0, second), -1);
  EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_PLAY);
  EXPECT_TRUE(FSOUND_Stream_Close(first));
  EXPECT_EQ(FSOUND_Stream_Play(0, second), 0);
  EXPECT_TRUE(FSOUND_Stream_Close(second));
}

TEST_F(FsoundNoSoundTest, AFillFunctionReturningZeroEndsTheCalls) {
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0));
  FSOUND_STREAM* stream = createStream(stopAtOnce);
  ASSERT_EQ(FSOUND_Stream_Play(0, stream), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  EXPECT_TRUE(FSOUND_Stream_Close(stream));
  EXPECT_EQ(fillCalls, 1);
}

TEST_F(FsoundNoSoundTest, PlaysInRealTimeAndCountsWhatHappened) {
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0));
  FSOUND_STREAM* stream = createStream();
  const SoundStats before = fsoundStats();
  ASSERT_EQ(FSOUND_Stream_Play(0, stream), 0);
  // Two blocks at once, then one every 185.8 ms: about 8 by 1.2 s.
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  EXPECT_TRUE(FSOUND_Stream_Close(stream));
  const SoundStats after = fsoundStats();
  EXPECT_GE(fillCalls, 5);
  EXPECT_LE(fillCalls, 10);
  EXPECT_EQ(after.fillCalls - before.fillCalls, static_cast<uint64_t>(fillCalls.load()));
  EXPECT_EQ(after.underflows, before.underflows);
  EXPECT_EQ(after.failedWrites, before.failedWrites);
}

}  // namespace
