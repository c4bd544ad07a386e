#include "synth/vca.h"

#include <gtest/gtest.h>

namespace {

void tickTimes(Vca& vca, int ticks) {
  for (int i = 0; i < ticks; ++i) {
    vca.tick();
  }
}

TEST(VcaTest, ClosedEnvelopeStaysSilentWhileTimeAdvances) {
  Vca vca;
  EXPECT_EQ(int32_t{vca.gate}, 0);
  tickTimes(vca, 3);
  EXPECT_EQ(float{vca.level}, 0.0f);
  EXPECT_EQ(int32_t{vca.gate}, 0);
  EXPECT_EQ(float{vca.time}, static_cast<float>(double{static_cast<float>(0.1)} + 0.05));
}

TEST(VcaTest, DefaultNoteRisesFallsAndClosesItsGate) {
  Vca vca;
  vca.noteOn();
  EXPECT_EQ(int32_t{vca.gate}, 1);
  EXPECT_EQ(float{vca.time}, 0.0f);
  EXPECT_EQ(float{vca.level}, 0.0f);

  vca.tick();
  EXPECT_EQ(float{vca.time}, 0.05f);
  EXPECT_EQ(float{vca.level}, 0.0005f);

  tickTimes(vca, 1999);  // tick 2000: the decay begins
  EXPECT_EQ(float{vca.time}, 100.0015f);
  EXPECT_EQ(float{vca.level}, 0.99999934f);

  tickTimes(vca, 49974 - 2000);
  EXPECT_EQ(int32_t{vca.gate}, 1);
  EXPECT_GT(float{vca.level}, 0.0f);
  vca.tick();  // tick 49975: time is accumulated in float, so not 50000
  EXPECT_EQ(float{vca.time}, 2500.0134f);
  EXPECT_EQ(float{vca.level}, 0.0f);
  EXPECT_EQ(int32_t{vca.gate}, 0);
}

struct LengthCase {
  float attack;
  float decay;
  float firstLevel;  // after the first tick
  int closingTick;   // the tick at which the gate closes; 0: not checked here
};

class VcaLengthTest : public testing::TestWithParam<LengthCase> {};

TEST_P(VcaLengthTest, NonPositiveLengths) {
  const LengthCase& c = GetParam();
  Vca vca;
  vca.attack = c.attack;
  vca.decay = c.decay;
  vca.noteOn();
  vca.tick();
  EXPECT_EQ(float{vca.level}, c.firstLevel);
  int tick = 1;
  while (vca.gate == 1 && tick < 100000) {
    vca.tick();
    ++tick;
  }
  if (c.closingTick != 0) {
    EXPECT_EQ(tick, c.closingTick);
  }
  EXPECT_EQ(float{vca.level}, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VcaLengthTest,
    testing::Values(LengthCase{0.0f, 2400.0f, 0.99997914f, 0},    // no rising segment
                    LengthCase{-100.0f, 2400.0f, 0.9583125f, 0},  // runs out at time 2300
                    LengthCase{100.0f, -100.0f, 0.0f, 1},         // runs out at once
                    LengthCase{100.0f, 0.0f, 0.0005f, 2000}));    // straight from the top

TEST(VcaTest, ZeroDecayClimbsFor1999TicksThenCloses) {
  Vca vca;
  vca.decay = 0.0f;
  vca.noteOn();
  tickTimes(vca, 1999);
  EXPECT_EQ(int32_t{vca.gate}, 1);
  EXPECT_GT(float{vca.level}, 0.999f);
  vca.tick();
  EXPECT_EQ(int32_t{vca.gate}, 0);
  EXPECT_EQ(float{vca.level}, 0.0f);
}

TEST(VcaTest, NegativeAttackClosesWhenTimeReaches2300) {
  Vca vca;
  vca.attack = -100.0f;
  vca.noteOn();
  while (vca.gate == 1) {
    vca.tick();
  }
  EXPECT_GE(float{vca.time}, 2300.0f);
  EXPECT_LT(float{vca.time}, 2300.06f);
}

TEST(VcaTest, NoteOffDuringTheAttackSilencesAtTheNextTick) {
  Vca vca;
  vca.noteOn();
  tickTimes(vca, 100);
  const float held = vca.level;
  const float time = vca.time;
  vca.noteOff();
  EXPECT_EQ(int32_t{vca.gate}, 0);
  EXPECT_EQ(float{vca.level}, held);
  vca.tick();
  EXPECT_EQ(float{vca.level}, 0.0f);
  EXPECT_EQ(float{vca.time}, static_cast<float>(double{time} + 0.05));
}

TEST(VcaTest, NoteOnDuringTheDecayRestartsFromZero) {
  Vca vca;
  vca.noteOn();
  tickTimes(vca, 10000);
  vca.noteOn();
  EXPECT_EQ(float{vca.level}, 0.0f);
  EXPECT_EQ(float{vca.time}, 0.0f);
  vca.tick();
  EXPECT_EQ(float{vca.time}, 0.05f);
  EXPECT_EQ(float{vca.level}, 0.0005f);
}

TEST(VcaTest, NoteOnAfterRunningOutStartsAFreshNote) {
  Vca vca;
  vca.noteOn();
  tickTimes(vca, 60000);
  EXPECT_EQ(int32_t{vca.gate}, 0);
  vca.noteOn();
  vca.tick();
  EXPECT_EQ(int32_t{vca.gate}, 1);
  EXPECT_EQ(float{vca.level}, 0.0005f);
}

TEST(VcaTest, PrintStatusOfANewEnvelope) {
  Vca vca;
  testing::internal::CaptureStdout();
  vca.printStatus();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "VCA [100.000000][2400.000000] \n");
}

}  // namespace
