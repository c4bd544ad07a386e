#include "platform/fsound_device.h"

#include <gtest/gtest.h>

#include "platform/fsound.h"

namespace {

TEST(OpenErrorCodeTest, TellsBusyDevicesAndUnplayableFormatsFromOtherFailures) {
  EXPECT_EQ(openErrorCode(paNoError), FMOD_ERR_NONE);
  EXPECT_EQ(openErrorCode(paDeviceUnavailable), FMOD_ERR_ALLOCATED);
  EXPECT_EQ(openErrorCode(paInvalidSampleRate), FMOD_ERR_OUTPUT_FORMAT);
  EXPECT_EQ(openErrorCode(paSampleFormatNotSupported), FMOD_ERR_OUTPUT_FORMAT);
  EXPECT_EQ(openErrorCode(paInvalidChannelCount), FMOD_ERR_OUTPUT_FORMAT);
  EXPECT_EQ(openErrorCode(paBadIODeviceCombination), FMOD_ERR_INIT);
  EXPECT_EQ(openErrorCode(paUnanticipatedHostError), FMOD_ERR_INIT);
  EXPECT_EQ(openErrorCode(paInvalidDevice), FMOD_ERR_INIT);
}

TEST(OutputDeviceTest, WithoutADeviceTakesEveryBlockAndHoldsNothing) {
  OutputDevice silent;
  const int16_t frames[4] = {1, 1, 2, 2};
  EXPECT_TRUE(silent.start());
  EXPECT_EQ(silent.write(frames, 2), WriteResult::played);
  EXPECT_EQ(silent.pendingFrames(), 0);
  silent.stop();
}

}  // namespace
