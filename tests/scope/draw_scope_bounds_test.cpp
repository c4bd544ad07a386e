#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>

#include "scope/draw_scope.h"
#include "tests/scope/scope_test_support.h"
#include "tests/support/fresh_voice.h"

namespace {

using namespace scope_test;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kMaxFloat = std::numeric_limits<float>::max();

void setAll(Oscillator& osc, float value, int32_t wave) {
  osc.ampl = value;
  osc.freq = value;
  osc.phase = value;
  osc.wave = wave;
}

class ExtremeVoiceTest : public testing::TestWithParam<std::tuple<int32_t, float>> {
 protected:
  void SetUp() override {
    freshVoice();
    const auto [wave, value] = GetParam();
    for (Oscillator* osc : {osc1, lfo1, lfo2, lfo3, lfo4}) {
      setAll(*osc, value, wave);
    }
    vca->noteOn();
  }
  void TearDown() override { screen = nullptr; }
};

// Whatever the voice's values, every point lands inside the surface or nowhere.
TEST_P(ExtremeVoiceTest, WritesNothingOutsideTheWindowSurface) {
  GuardedSurface surface(kWidth, kHeight);
  screen = surface.get();
  drawScope();
  drawScope();
  EXPECT_TRUE(surface.guardsIntact());
}

TEST_P(ExtremeVoiceTest, WritesNothingOutsideASmallerSurface) {
  GuardedSurface surface(37, 130);
  screen = surface.get();
  drawScope();
  EXPECT_TRUE(surface.guardsIntact());
}

TEST_P(ExtremeVoiceTest, WritesNothingIntoASixteenBitSurface) {
  GuardedSurface surface(kWidth, kHeight, 16);
  screen = surface.get();
  drawScope();
  EXPECT_TRUE(surface.guardsIntact());
  EXPECT_EQ(surface.changedBytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ExtremeVoiceTest,
    testing::Combine(testing::Values(1, 2, 3, 4, 5),
                     testing::Values(kNaN, kInf, -kInf, kMaxFloat, -kMaxFloat, 3.0e9f, -3.0e9f,
                                     2147483648.0f, -2147483904.0f, 1.0e-40f, -0.0f, -1.0f, 0.0f)),
    [](const testing::TestParamInfo<std::tuple<int32_t, float>>& info) {
      return "wave" + std::to_string(std::get<0>(info.param)) + "_value" +
             std::to_string(info.index);
    });

// The envelope's level scales the applied amplitude: a peak beyond any row
// range, a NaN peak, and times that make the level infinite.
struct EnvelopeExtreme {
  const char* name;
  float attack;
  float decay;
  float peak;
};

class ExtremeEnvelopeTest : public testing::TestWithParam<EnvelopeExtreme> {
 protected:
  void TearDown() override { screen = nullptr; }
};

TEST_P(ExtremeEnvelopeTest, WritesNothingOutsideTheWindowSurface) {
  freshVoice();
  vca->attack = GetParam().attack;
  vca->decay = GetParam().decay;
  vca->peak = GetParam().peak;
  vca->noteOn();
  lfo1->freq = 3.0f;
  lfo1->ampl = 1.0e6f;
  GuardedSurface surface(kWidth, kHeight);
  screen = surface.get();
  drawScope();
  EXPECT_TRUE(surface.guardsIntact());
}

INSTANTIATE_TEST_SUITE_P(
    Envelopes, ExtremeEnvelopeTest,
    testing::Values(EnvelopeExtreme{"huge_peak", 100.0f, 2400.0f, kMaxFloat},
                    EnvelopeExtreme{"negative_peak", 100.0f, 2400.0f, -kMaxFloat},
                    EnvelopeExtreme{"nan_peak", 100.0f, 2400.0f, kNaN},
                    EnvelopeExtreme{"zero_attack", 0.0f, 2400.0f, 1.0f},
                    EnvelopeExtreme{"tiny_attack", 1.0e-40f, 1.0e-40f, kMaxFloat},
                    EnvelopeExtreme{"nan_times", kNaN, kNaN, 1.0f},
                    EnvelopeExtreme{"infinite_decay", 100.0f, kInf, 1.0f}),
    [](const testing::TestParamInfo<EnvelopeExtreme>& info) {
      return std::string(info.param.name);
    });

}  // namespace
