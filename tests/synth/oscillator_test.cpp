#include "synth/oscillator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "platform/random.h"
#include "tests/support/reference_voice.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(OscillatorTest, NewOscillatorHoldsItsStartValues) {
  Oscillator osc(1.0f, 440.0f, 1);
  EXPECT_EQ(float{osc.pos}, 0.0f);
  EXPECT_EQ(float{osc.phase}, 1.0f);
  EXPECT_EQ(float{osc.aPhase}, 1.0f);
  EXPECT_EQ(float{osc.ampl}, 1.0f);
  EXPECT_EQ(float{osc.aAmpl}, 1.0f);
  EXPECT_EQ(float{osc.freq}, 440.0f);
  EXPECT_EQ(float{osc.aFreq}, 440.0f);
  EXPECT_EQ(int32_t{osc.wave}, 1);
}

TEST(OscillatorTest, FirstTickOfANewVoice) {
  Oscillator osc(1.0f, 440.0f, 1);
  osc.tick();
  EXPECT_EQ(float{osc.pos}, static_cast<float>(440.0 / 44100.0));
  EXPECT_NEAR(float{osc.pos}, 0.0099773239f, 1e-10);
  const double angle = (double{float{osc.pos}} + 1.0) * 6.2831853;
  EXPECT_EQ(osc.output(), static_cast<float>(std::sin(angle)));
  EXPECT_NEAR(osc.output(), 0.0626483f, 5e-8);
}

TEST(OscillatorTest, AtRestOutputsTheSineOfTheDecimalTwoPi) {
  Oscillator osc(1.0f, 0.0f, 1);
  for (int i = 0; i < 3; ++i) {
    osc.tick();
    EXPECT_EQ(float{osc.pos}, 0.0f);
    EXPECT_EQ(osc.output(), static_cast<float>(std::sin(6.2831853)));
  }
  EXPECT_NEAR(osc.output(), -7.18e-9f, 1e-11);
  EXPECT_NE(osc.output(), 0.0f);
}

struct PositionCase {
  float start;
  float freq;
  std::vector<float> positions;  // after each tick
};

class OscillatorPositionTest : public testing::TestWithParam<PositionCase> {};

TEST_P(OscillatorPositionTest, AdvancesAndWrapsOnceFromAbove) {
  const PositionCase& c = GetParam();
  Oscillator osc(1.0f, c.freq, 2);
  osc.pos = c.start;
  for (float expected : c.positions) {
    osc.tick();
    EXPECT_EQ(float{osc.pos}, expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OscillatorPositionTest,
    testing::Values(PositionCase{9.5f, 22050.0f, {10.0f, 0.5f}},             // exactly 10 stays
                    PositionCase{10.0f, 22050.0f, {0.5f}},                   // 10.5 becomes 0.5
                    PositionCase{0.0f, 441000.0f, {10.0f, 10.0f}},           // a step of 10
                    PositionCase{0.0f, 882000.0f, {10.0f, 20.0f, 30.0f}},    // not folded below 10
                    PositionCase{0.0f, -22050.0f, {-0.5f, -1.0f, -1.5f}}));  // falls without limit

TEST(OscillatorTest, RampAtOneHertzWrapsAtTick438719) {
  Oscillator osc(1.0f, 1.0f, 2);
  int wrapTick = 0;
  float previous = 0.0f;
  for (int tick = 1; tick <= 441000 && wrapTick == 0; ++tick) {
    osc.tick();
    if (osc.pos < previous) {
      wrapTick = tick;
    }
    previous = osc.pos;
    ASSERT_EQ(osc.output(), float{osc.pos});
  }
  EXPECT_EQ(wrapTick, 438719);
}

TEST(OscillatorTest, RampLessOneHalf) {
  Oscillator osc(2.0f, 22050.0f, 3);
  osc.pos = 1.0f;
  osc.tick();
  EXPECT_EQ(osc.output(), 2.5f);  // 1.5 * 2 - 0.5
}

// Levels seen over one cycle of 1200 ticks (36.75 Hz), with how many ticks each.
std::map<float, int> squareLevels(float ampl) {
  Oscillator osc(ampl, 44100.0f / 1200.0f, 4);
  std::map<float, int> levels;
  for (int i = 0; i < 1200; ++i) {
    osc.tick();
    ++levels[osc.output()];
  }
  return levels;
}

TEST(OscillatorTest, SquareHoldsThreeLevelsForAThirdOfTheCycleEach) {
  for (float ampl : {0.3f, -1.0f}) {
    const std::map<float, int> levels = squareLevels(ampl);
    ASSERT_EQ(levels.size(), 3u) << ampl;
    for (float level : {ampl, 0.0f, -ampl}) {
      ASSERT_EQ(levels.count(level), 1u) << level;
      EXPECT_NEAR(levels.at(level), 400, 2) << level;
    }
  }
}

TEST(OscillatorTest, SquareSignFollowsTheSineNotTheAmplitude) {
  Oscillator osc(-1.0f, 0.0f, 4);
  osc.pos = 0.25f;  // sin of a quarter cycle: 1
  osc.tick();
  EXPECT_EQ(osc.output(), -1.0f);
}

TEST(OscillatorTest, UnknownWaveKeepsTheOutputWhileThePositionAdvances) {
  for (int32_t wave : {0, 6, -3}) {
    Oscillator osc(1.0f, 440.0f, 1);
    osc.tick();
    const float held = osc.output();
    osc.wave = wave;
    osc.tick();
    EXPECT_EQ(osc.output(), held);
    const float first = static_cast<float>(440.0 / 44100.0);
    EXPECT_EQ(float{osc.pos}, static_cast<float>(double{first} + 440.0 / 44100.0));
  }
}

// ---- sparse noise -------------------------------------------------------

class NoiseTest : public testing::Test {
 protected:
  void SetUp() override { seedRandom(1); }
  // The draws this thread's generator would have made from state 1.
  reference::Lcg expected;
};

TEST_F(NoiseTest, ZeroAmplitudeOutputsZeroAndDrawsNothing) {
  Oscillator osc(0.0f, 440.0f, 5);
  for (int i = 0; i < 10; ++i) {
    osc.tick();
    EXPECT_EQ(osc.output(), 0.0f);
  }
  EXPECT_EQ(nextRandom(), expected());
}

TEST_F(NoiseTest, NoHitsWhereTheHitDivisorIsOneOrZero) {
  // 439.5 Hz: n1 = 1; 436.5 Hz: n1 = -1; 437.5 Hz: n1 = 0, counted as no hit.
  for (float freq : {439.5f, 436.5f, 437.5f, kNaN}) {
    seedRandom(1);
    expected = reference::Lcg{};
    Oscillator osc(0.8f, freq, 5);
    for (int i = 0; i < 1000; ++i) {
      osc.tick();
      ASSERT_EQ(osc.output(), static_cast<float>(-50.0 * double{0.8f} / 100.0)) << freq;
      expected();  // one draw per tick
    }
    EXPECT_EQ(nextRandom(), expected()) << freq;
  }
}

TEST_F(NoiseTest, FourHundredFortyHertzHitsOnOddDraws) {
  Oscillator osc(1.0f, 440.0f, 5);
  int hits = 0;
  for (int i = 0; i < 2000; ++i) {
    osc.tick();
    const int32_t r1 = expected();
    float want = -0.5f;
    if (r1 % 2 == 1) {
      want = static_cast<float>((expected() % 211 - 50.0) / 100.0);
      ++hits;
    }
    ASSERT_EQ(osc.output(), want) << i;
  }
  EXPECT_GT(hits, 900);
  EXPECT_LT(hits, 1100);
}

TEST_F(NoiseTest, SpikeDivisorIsCutFromTheExactProduct) {
  const float ampl = 0.29f;  // * 100 is 28.999999..., cut to 28: n2 = 139
  Oscillator osc(ampl, 440.0f, 5);
  for (int i = 0; i < 500; ++i) {
    osc.tick();
    int32_t v = 0;
    if (expected() % 2 == 1) {
      v = expected() % 139;
    }
    ASSERT_EQ(osc.output(), static_cast<float>((v - 50.0 * double{ampl}) / 100.0)) << i;
  }
}

TEST_F(NoiseTest, ZeroSpikeDivisorGivesTheRestingValue) {
  const float ampl = -1.115f;  // * 100 cuts to -111: n2 = 0
  Oscillator osc(ampl, 440.0f, 5);
  for (int i = 0; i < 200; ++i) {
    osc.tick();
    ASSERT_EQ(osc.output(), static_cast<float>(-50.0 * double{ampl} / 100.0));
  }
}

TEST_F(NoiseTest, HugeFrequencyHitsOnlyOnADrawOfOne) {
  // The hit divisor is beyond every 15-bit draw, so the remainder is the draw.
  for (float freq : {1e30f, -1e30f, kInf, -kInf}) {
    seedRandom(1);
    expected = reference::Lcg{};
    Oscillator osc(1.0f, freq, 5);
    for (int i = 0; i < 3000; ++i) {
      osc.tick();
      const int32_t r1 = expected();
      const float want = r1 == 1 ? static_cast<float>((expected() % 211 - 50.0) / 100.0) : -0.5f;
      ASSERT_EQ(osc.output(), want) << freq;
    }
  }
}

TEST_F(NoiseTest, HugeOrNaNAmplitudeStaysDefined) {
  for (float ampl : {1e30f, -1e30f, kInf, kNaN}) {
    Oscillator osc(ampl, 440.0f, 5);
    for (int i = 0; i < 100; ++i) {
      osc.tick();
    }
    if (std::isnan(ampl)) {
      EXPECT_TRUE(std::isnan(osc.output()));
    }
  }
}

TEST(OscillatorTest, MatchesThePlainArithmeticOnEveryWave) {
  for (int32_t wave = 0; wave <= 6; ++wave) {
    for (float freq : {0.0f, 3.7f, 440.0f, 12345.6f, -220.0f}) {
      seedRandom(1);
      Oscillator osc(0.7f, freq, wave);
      reference::Osc plain(0.7f, freq, wave);
      reference::Lcg draws;
      for (int i = 0; i < 5000; ++i) {
        osc.tick();
        plain.tick(draws);
        ASSERT_EQ(float{osc.pos}, plain.pos);
        if (i > 0 || (wave >= 1 && wave <= 5)) {
          ASSERT_EQ(std::bit_cast<uint32_t>(osc.output()), std::bit_cast<uint32_t>(plain.out))
              << "wave " << wave << " freq " << freq << " tick " << i;
        }
      }
    }
  }
}

TEST(OscillatorTest, PrintStatusOfAFreshVoice) {
  Oscillator osc(1.0f, 440.0f, 1);
  testing::internal::CaptureStdout();
  osc.printStatus();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Freq [440.000] Ampl [1.000] Phase [1.000] - AFreq [440.000] AAmpl [1.000] APhase "
            "[1.000]  \n");
}

}  // namespace
