#include "synth/sample_conversion.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct ConversionCase {
  float value;
  int16_t sample;
};

class SampleConversionTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(SampleConversionTest, TruncatesThenWrapsModulo65536) {
  EXPECT_EQ(toSample16(GetParam().value), GetParam().sample) << GetParam().value;
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, SampleConversionTest,
    testing::Values(ConversionCase{32767.9f, 32767}, ConversionCase{-0.7f, 0},
                    ConversionCase{40000.0f, -25536}, ConversionCase{-40000.0f, 25536},
                    ConversionCase{100000.0f, -31072}, ConversionCase{-32769.5f, 32767},
                    ConversionCase{-32768.0f, -32768}, ConversionCase{65536.0f, 0},
                    // Past the 32-bit range the true integer part still wraps:
                    // 2^31 + 65536 * 3 + 5 is not a float, so take exact ones.
                    ConversionCase{2147483648.0f, 0},      // 2^31
                    ConversionCase{-2147483648.0f, 0},     // -2^31
                    ConversionCase{2147549184.0f, 0},      // 2^31 + 2^16
                    ConversionCase{3000000000.0f, 24064},  // mod 65536 = 24064
                    ConversionCase{-3000000000.0f, -24064},
                    ConversionCase{1e30f, 0},  // a multiple of 2^16
                    ConversionCase{std::numeric_limits<float>::max(), 0},
                    // No integer part at all: silence.
                    ConversionCase{kInf, 0}, ConversionCase{-kInf, 0},
                    ConversionCase{std::numeric_limits<float>::quiet_NaN(), 0}));

}  // namespace
