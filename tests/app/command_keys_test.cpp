#include "app/command_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <string>

#include "app/app_state.h"
#include "tests/support/fresh_voice.h"

namespace {

const char kFreshLfo[] =
    "Freq [0.000] Ampl [1.000] Phase [1.000] - AFreq [0.000] AAmpl [1.000] APhase [1.000]  \n";

class CommandKeysTest : public testing::Test {
 protected:
  void SetUp() override {
    freshVoice();
    osc1WaveSel = lfo1WaveSel = lfo2WaveSel = lfo3WaveSel = lfo4WaveSel = 0;
  }

  // The key's status report.
  std::string press(unsigned char key) {
    testing::internal::CaptureStdout();
    handleCommandKey(key);
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(CommandKeysTest, FreshStateReport) {
  EXPECT_EQ(press('-'),
            std::string("Note [58] -> [440.000000]\n") +
                "Freq [440.000] Ampl [1.000] Phase [1.000] - AFreq [440.000] AAmpl [1.000] "
                "APhase [1.000]  \n" +
                kFreshLfo + kFreshLfo + kFreshLfo + kFreshLfo + "VCA [100.000000][2400.000000] \n");
}

// The keys that step a float field, from a start where no clamp interferes.
struct StepCase {
  char key;
  std::function<Relaxed<float>&()> field;
  double step;
};

class StepKeyTest : public CommandKeysTest, public testing::WithParamInterface<StepCase> {};

TEST_P(StepKeyTest, StepsItsFieldInDoubleAndStoresAFloat) {
  const StepCase& c = GetParam();
  for (Oscillator* o : {osc1, lfo1, lfo2, lfo3, lfo4}) {
    o->freq = 5.0f;
    o->ampl = 0.5f;
  }
  const float before = c.field();
  const std::string report = press(c.key);
  EXPECT_EQ(float{c.field()}, static_cast<float>(double{before} + c.step)) << c.key;
  EXPECT_EQ(int32_t{vca->gate}, 0) << "no note started by " << c.key;
  EXPECT_EQ(int32_t{note}, 58);
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 7);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StepKeyTest,
    testing::Values(StepCase{':', []() -> Relaxed<float>& { return vca->decay; }, 100.0},
                    StepCase{'=', []() -> Relaxed<float>& { return vca->decay; }, -100.0},
                    StepCase{'z', []() -> Relaxed<float>& { return osc1->ampl; }, 0.01},
                    StepCase{'s', []() -> Relaxed<float>& { return osc1->ampl; }, -0.01},
                    StepCase{'e', []() -> Relaxed<float>& { return lfo1->freq; }, 0.5},
                    StepCase{'d', []() -> Relaxed<float>& { return lfo1->freq; }, -0.5},
                    StepCase{'r', []() -> Relaxed<float>& { return lfo1->ampl; }, 0.01},
                    StepCase{'f', []() -> Relaxed<float>& { return lfo1->ampl; }, -0.01},
                    StepCase{'t', []() -> Relaxed<float>& { return lfo2->freq; }, 0.1},
                    StepCase{'g', []() -> Relaxed<float>& { return lfo2->freq; }, -0.1},
                    StepCase{'y', []() -> Relaxed<float>& { return lfo2->ampl; }, 0.01},
                    StepCase{'h', []() -> Relaxed<float>& { return lfo2->ampl; }, -0.01},
                    StepCase{'u', []() -> Relaxed<float>& { return lfo3->freq; }, 1.0},
                    StepCase{'j', []() -> Relaxed<float>& { return lfo3->freq; }, -1.0},
                    StepCase{'i', []() -> Relaxed<float>& { return lfo3->ampl; }, 0.01},
                    StepCase{'k', []() -> Relaxed<float>& { return lfo3->ampl; }, -0.01},
                    StepCase{'o', []() -> Relaxed<float>& { return lfo4->freq; }, 1.0},
                    StepCase{'l', []() -> Relaxed<float>& { return lfo4->freq; }, -1.0},
                    StepCase{'p', []() -> Relaxed<float>& { return lfo4->ampl; }, 0.01},
                    StepCase{'m', []() -> Relaxed<float>& { return lfo4->ampl; }, -0.01}));

struct NoteCase {
  char key;
  int32_t note;
  float attackStep;  // ',' and ';' also change the attack
};

class NoteKeyTest : public CommandKeysTest, public testing::WithParamInterface<NoteCase> {};

TEST_P(NoteKeyTest, SetsTheNoteAndRestartsTheEnvelope) {
  const NoteCase& c = GetParam();
  vca->noteOn();
  for (int i = 0; i < 3000; ++i) {
    vca->tick();
  }
  press(c.key);
  EXPECT_EQ(int32_t{note}, c.note);
  EXPECT_EQ(int32_t{vca->gate}, 1);
  EXPECT_EQ(float{vca->time}, 0.0f);
  EXPECT_EQ(float{vca->level}, 0.0f);
  EXPECT_EQ(float{vca->attack}, 100.0f + c.attackStep);
}

INSTANTIATE_TEST_SUITE_P(Keys, NoteKeyTest,
                         testing::Values(NoteCase{'x', 63, 0}, NoteCase{'c', 65, 0},
                                         NoteCase{'v', 66, 0}, NoteCase{'b', 68, 0},
                                         NoteCase{'n', 70, 0}, NoteCase{',', 71, 100},
                                         NoteCase{';', 72, -100}));

TEST_F(CommandKeysTest, NoteUpAndDownDoNotRestartTheEnvelope) {
  press('a');
  EXPECT_EQ(int32_t{note}, 59);
  press('q');
  press('q');
  EXPECT_EQ(int32_t{note}, 57);
  EXPECT_EQ(int32_t{vca->gate}, 0);
  note = std::numeric_limits<int32_t>::max();
  press('a');  // no bound, and no overflow either
  EXPECT_EQ(int32_t{note}, std::numeric_limits<int32_t>::min());
}

TEST_F(CommandKeysTest, CommaAndSemicolonActTwice) {
  press(',');
  press(',');
  EXPECT_EQ(float{vca->attack}, 300.0f);
  EXPECT_EQ(int32_t{note}, 71);
  press(';');
  EXPECT_EQ(float{vca->attack}, 200.0f);
  EXPECT_EQ(int32_t{note}, 72);
}

struct SelectorCase {
  char key;
  int32_t* selector;
  std::function<Oscillator*()> osc;
};

class WaveKeyTest : public CommandKeysTest, public testing::WithParamInterface<SelectorCase> {};

TEST_P(WaveKeyTest, SelectsWavesOneToFiveThenWraps) {
  const SelectorCase& c = GetParam();
  for (int32_t expected : {1, 2, 3, 4, 5, 1, 2}) {
    press(c.key);
    EXPECT_EQ(*c.selector, expected) << c.key;
    EXPECT_EQ(int32_t{c.osc()->wave}, expected) << c.key;
  }
  // The other oscillators keep their wave.
  for (Oscillator* o : {osc1, lfo1, lfo2, lfo3, lfo4}) {
    if (o != c.osc()) {
      EXPECT_EQ(int32_t{o->wave}, 1);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, WaveKeyTest,
                         testing::Values(SelectorCase{'+', &osc1WaveSel, [] { return osc1; }},
                                         SelectorCase{'7', &lfo1WaveSel, [] { return lfo1; }},
                                         SelectorCase{'8', &lfo2WaveSel, [] { return lfo2; }},
                                         SelectorCase{'9', &lfo3WaveSel, [] { return lfo3; }},
                                         SelectorCase{'4', &lfo4WaveSel, [] { return lfo4; }}));

TEST_F(CommandKeysTest, ASelectorSetOnceKeepsItsWaveAgainstOtherChanges) {
  press('+');
  press('+');
  osc1->wave = 4;  // only a selector changes the wave; the next key puts it back
  press('-');
  EXPECT_EQ(int32_t{osc1->wave}, 2);
}

TEST_F(CommandKeysTest, HundredPressesOfFEndAtExactlyZero) {
  for (int i = 0; i < 99; ++i) {
    press('f');
    ASSERT_GT(float{lfo1->ampl}, 0.0001f) << i;
  }
  press('f');
  EXPECT_EQ(float{lfo1->ampl}, 0.0f);
}

TEST_F(CommandKeysTest, ClampsEveryAmplitudeFrequencyAndPhase) {
  press('d');  // lfo1's frequency 0 - 0.5 is clamped back to 0
  EXPECT_EQ(float{lfo1->freq}, 0.0f);
  osc1->phase = 0.0001f;
  lfo2->ampl = -3.0f;
  lfo3->freq = std::numeric_limits<float>::quiet_NaN();
  lfo4->phase = 0.00011f;
  vca->attack = -500.0f;  // the envelope's lengths are not clamped
  press('w');
  EXPECT_EQ(float{osc1->phase}, 0.0f);
  EXPECT_EQ(float{lfo2->ampl}, 0.0f);
  EXPECT_EQ(float{lfo3->freq}, 0.0f);
  EXPECT_EQ(float{lfo4->phase}, 0.00011f);
  EXPECT_EQ(float{vca->attack}, -500.0f);
}

TEST_F(CommandKeysTest, BytesThatAreNoCommandChangeNothingAndStillReport) {
  const std::string fresh = press('-');
  for (int byte : {int{'-'}, int{'w'}, int{'.'}, int{'A'}, int{'Z'}, int{'0'}, int{'1'}, int{'5'},
                   27, 0, 0x7f, 0x80, 0xff}) {
    EXPECT_EQ(press(static_cast<unsigned char>(byte)), fresh) << byte;
  }
  EXPECT_EQ(int32_t{vca->gate}, 0);
}

}  // namespace
