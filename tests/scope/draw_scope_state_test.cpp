#include <gtest/gtest.h>

#include <cstdint>

#include "scope/draw_scope.h"
#include "tests/scope/scope_fixture.h"

namespace {

using namespace scope_test;

using DrawScopeStateTest = ScopeTest;

TEST_F(DrawScopeStateTest, PutsEveryRunningPositionBack) {
  const float freqs[] = {440.0f, 3.0f, 7.5f, 0.25f, 12.0f};
  const float positions[] = {3.25f, 0.5f, 9.75f, 0.125f, 6.0f};
  Oscillator* const all[] = {osc1, lfo1, lfo2, lfo3, lfo4};
  for (int i = 0; i < 5; ++i) {
    all[i]->freq = freqs[i];
    all[i]->pos = positions[i];
  }
  vca->noteOn();

  drawScope();

  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(float{all[i]->pos}, positions[i]) << "oscillator " << i;
  }
}

struct EnvelopeCase {
  const char* name;
  float attack;
  float decay;
  bool noteOn;
};

class EnvelopeAdvanceTest : public ScopeTest, public testing::WithParamInterface<EnvelopeCase> {};

// The pass moves the envelope on by exactly 12802 ticks and does not put it
// back: the same as a second envelope ticked 12802 times after the same start.
TEST_P(EnvelopeAdvanceTest, AdvancesTheEnvelopeBy12802Ticks) {
  Vca reference;
  for (Vca* envelope : {vca, &reference}) {
    envelope->attack = GetParam().attack;
    envelope->decay = GetParam().decay;
    if (GetParam().noteOn) {
      envelope->noteOn();
    }
  }
  lfo1->freq = 5.0f;

  drawScope();
  for (int i = 0; i < kStepsPerPass; ++i) {
    reference.tick();
  }

  EXPECT_EQ(float{vca->time}, float{reference.time});
  EXPECT_EQ(float{vca->level}, float{reference.level});
  EXPECT_EQ(int32_t{vca->gate}, int32_t{reference.gate});
}

INSTANTIATE_TEST_SUITE_P(Envelopes, EnvelopeAdvanceTest,
                         testing::Values(EnvelopeCase{"closed", 100.0f, 2400.0f, false},
                                         EnvelopeCase{"default_note", 100.0f, 2400.0f, true},
                                         EnvelopeCase{"note_ends_in_the_pass", 10.0f, 100.0f, true},
                                         EnvelopeCase{"long_attack", 5000.0f, 2400.0f, true}),
                         [](const testing::TestParamInfo<EnvelopeCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(DrawScopeStateTest, TheDefaultNoteIsStillSoundingAfterOnePass) {
  vca->noteOn();
  drawScope();
  EXPECT_EQ(int32_t{vca->gate}, 1);
  EXPECT_NEAR(float{vca->time}, 640.0f, 0.1f);  // 12802 ticks of 0.05, summed in float
}

TEST_F(DrawScopeStateTest, DoesNotRecomputeTheFrequencyFromTheNote) {
  note = 70;
  osc1->freq = 300.0f;
  drawScope();
  EXPECT_EQ(float{osc1->freq}, 300.0f);
  EXPECT_EQ(float{osc1->aFreq}, 300.0f);
}

TEST_F(DrawScopeStateTest, WithoutAScreenStillRunsThePass) {
  screen = nullptr;
  Vca reference;
  reference.noteOn();
  vca->noteOn();
  osc1->pos = 1.5f;
  drawScope();
  for (int i = 0; i < kStepsPerPass; ++i) {
    reference.tick();
  }
  EXPECT_EQ(float{vca->time}, float{reference.time});
  EXPECT_EQ(float{osc1->pos}, 1.5f);
}

}  // namespace
