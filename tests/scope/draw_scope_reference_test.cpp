#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/random.h"
#include "scope/draw_scope.h"
#include "tests/scope/reference_scope_pass.h"
#include "tests/scope/scope_fixture.h"

namespace {

using namespace scope_test;

struct OscSetting {
  float ampl;
  float freq;
  float phase;
  int32_t wave;
  float pos;
};

struct VoiceCase {
  const char* name;
  OscSetting osc1;
  OscSetting lfo1, lfo2, lfo3, lfo4;
  float attack;
  float decay;
  bool noteOn;
};

constexpr OscSetting kVoice{1.0f, 440.0f, 1.0f, 1, 0.0f};
constexpr OscSetting kLfo{1.0f, 0.0f, 1.0f, 1, 0.0f};

void apply(const OscSetting& s, Oscillator& osc) {
  osc.ampl = s.ampl;
  osc.freq = s.freq;
  osc.phase = s.phase;
  osc.wave = s.wave;
  osc.pos = s.pos;
}

void apply(const VoiceCase& c, Oscillator& o1, Oscillator& l1, Oscillator& l2, Oscillator& l3,
           Oscillator& l4, Vca& envelope) {
  apply(c.osc1, o1);
  apply(c.lfo1, l1);
  apply(c.lfo2, l2);
  apply(c.lfo3, l3);
  apply(c.lfo4, l4);
  envelope.attack = c.attack;
  envelope.decay = c.decay;
  if (c.noteOn) {
    envelope.noteOn();
  }
}

uint32_t bits(float value) {
  return std::bit_cast<uint32_t>(value);
}

void expectSameState(const Oscillator& actual, const Oscillator& expected, const char* name) {
  EXPECT_EQ(bits(actual.out), bits(expected.out)) << name;
  EXPECT_EQ(bits(actual.pos), bits(expected.pos)) << name;
  EXPECT_EQ(bits(actual.aFreq), bits(expected.aFreq)) << name;
  EXPECT_EQ(bits(actual.aPhase), bits(expected.aPhase)) << name;
  EXPECT_EQ(bits(actual.aAmpl), bits(expected.aAmpl)) << name;
  EXPECT_EQ(bits(actual.freq), bits(expected.freq)) << name;
}

class DrawScopeReferenceTest : public ScopeTest, public testing::WithParamInterface<VoiceCase> {};

TEST_P(DrawScopeReferenceTest, DrawsAndLeavesTheVoiceAsTheReferencePass) {
  const VoiceCase& c = GetParam();
  apply(c, *osc1, *lfo1, *lfo2, *lfo3, *lfo4, *vca);
  ReferenceVoice ref;
  apply(c, ref.osc1, ref.lfo1, ref.lfo2, ref.lfo3, ref.lfo4, ref.vca);

  // Two passes in a row, the second over the envelope the first moved on.
  // The same number of noise draws leaves the random source at the same place.
  ReferenceImage expected;
  for (uint32_t pass = 0; pass < 2; ++pass) {
    seedRandom(1234u + pass);
    clearSurface(screen);
    drawScope();
    const int32_t nextAfterPass = nextRandom();
    seedRandom(1234u + pass);
    expected = ReferenceImage();
    referencePass(ref, expected);
    EXPECT_EQ(nextAfterPass, nextRandom()) << "pass " << pass;
  }

  const std::vector<uint32_t> actual = picture(surface_.get());
  size_t differing = 0;
  for (size_t i = 0; i < actual.size(); ++i) {
    if (actual[i] != expected.words()[i] && differing++ < 5) {
      ADD_FAILURE() << "column " << i % kWidth << ", row " << i / kWidth << ": " << std::hex
                    << actual[i] << " instead of " << expected.words()[i];
    }
  }
  EXPECT_EQ(differing, 0u);

  expectSameState(*osc1, ref.osc1, "osc1");
  expectSameState(*lfo1, ref.lfo1, "lfo1");
  expectSameState(*lfo2, ref.lfo2, "lfo2");
  expectSameState(*lfo3, ref.lfo3, "lfo3");
  expectSameState(*lfo4, ref.lfo4, "lfo4");
  EXPECT_EQ(bits(vca->time), bits(ref.vca.time));
  EXPECT_EQ(bits(vca->level), bits(ref.vca.level));
  EXPECT_EQ(int32_t{vca->gate}, int32_t{ref.vca.gate});
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Voices, DrawScopeReferenceTest, testing::Values(
    VoiceCase{"fresh", kVoice, kLfo, kLfo, kLfo, kLfo, 100.0f, 2400.0f, false},
    VoiceCase{"default_note", kVoice, kLfo, kLfo, kLfo, kLfo, 100.0f, 2400.0f, true},
    VoiceCase{"all_lfos_sine", kVoice,
              {0.5f, 2.0f, 1.0f, 1, 0.0f}, {0.1f, 3.0f, 1.0f, 1, 0.0f},
              {0.3f, 0.5f, 1.0f, 1, 0.0f}, {0.05f, 5.0f, 1.0f, 1, 0.0f},
              100.0f, 2400.0f, true},
    VoiceCase{"lfo_waves", kVoice,
              {0.8f, 7.0f, 0.3f, 2, 1.5f}, {0.2f, 11.0f, 0.6f, 3, 0.0f},
              {0.7f, 4.0f, 1.2f, 4, 9.5f}, {0.4f, 900.0f, 1.0f, 5, 0.0f},
              100.0f, 2400.0f, true},
    VoiceCase{"voice_ramp", {1.0f, 220.0f, 1.0f, 2, 4.0f}, kLfo, kLfo, kLfo, kLfo,
              100.0f, 2400.0f, true},
    VoiceCase{"voice_saw", {2.0f, 1000.0f, 0.5f, 3, 0.0f},
              {0.5f, 2.0f, 1.0f, 1, 0.0f}, kLfo, kLfo, kLfo, 50.0f, 300.0f, true},
    VoiceCase{"voice_square", {1.0f, 330.0f, 0.25f, 4, 0.0f}, kLfo,
              {0.3f, 1.0f, 1.0f, 1, 0.0f}, kLfo, kLfo, 100.0f, 2400.0f, true},
    VoiceCase{"voice_noise", {1.0f, 450.0f, 1.0f, 5, 0.0f}, kLfo, kLfo, kLfo, kLfo,
              100.0f, 2400.0f, true},
    VoiceCase{"note_ends_in_the_pass", kVoice, {0.5f, 2.0f, 1.0f, 1, 0.0f}, kLfo, kLfo, kLfo,
              10.0f, 100.0f, true},
    VoiceCase{"deep_and_negative", {-3.0f, -500.0f, -2.0f, 1, 0.0f},
              {4.0f, 1.0f, 1.0f, 1, 0.0f}, {-2.0f, -3.0f, 1.0f, 2, 0.0f},
              {3.0f, 0.7f, -1.0f, 3, 0.0f}, {-5.0f, 0.1f, 1.0f, 4, 0.0f},
              1.0f, 10000.0f, true}),
    [](const testing::TestParamInfo<VoiceCase>& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace

namespace {

// The sines of one pass are replayed by the next while the voice holds still;
// a change between passes must be drawn as the plain arithmetic draws it.
TEST_F(ScopeTest, PassesAfterAChangeDrawAsTheReferencePass) {
  ReferenceVoice ref;
  Oscillator* const voice[] = {osc1, lfo1, lfo2, lfo3, lfo4};
  Oscillator* const plain[] = {&ref.osc1, &ref.lfo1, &ref.lfo2, &ref.lfo3, &ref.lfo4};
  const OscSetting lfos[] = {{0.5f, 2.0f, 1.0f, 1, 0.0f},
                             {0.1f, 3.0f, 1.0f, 1, 0.0f},
                             {0.3f, 0.5f, 1.0f, 4, 0.0f},
                             {0.05f, 5.0f, 1.0f, 1, 0.0f}};
  for (int i = 0; i < 4; ++i) {
    apply(lfos[i], *voice[i + 1]);
    apply(lfos[i], *plain[i + 1]);
  }
  vca->noteOn();
  ref.vca.noteOn();

  // Each change is made to both voices before the pass.
  const std::function<void(Oscillator* const*)> changes[] = {
      [](Oscillator* const*) {},
      [](Oscillator* const*) {},  // the same again: replayed
      [](Oscillator* const* o) { o[2]->freq = 3.5f; },
      [](Oscillator* const* o) { o[0]->phase = 0.75f; },
      [](Oscillator* const* o) { o[0]->freq = 523.25f; },
      [](Oscillator* const* o) { o[3]->wave = 2; },
      [](Oscillator* const* o) {
        o[2]->freq = 3.0f;
        o[0]->phase = 1.0f;
      },
  };
  for (size_t pass = 0; pass < std::size(changes); ++pass) {
    changes[pass](voice);
    changes[pass](plain);
    clearSurface(screen);
    drawScope();
    ReferenceImage expected;
    referencePass(ref, expected);
    EXPECT_EQ(picture(surface_.get()), expected.words()) << "pass " << pass;
    expectSameState(*osc1, ref.osc1, "osc1");
    expectSameState(*lfo2, ref.lfo2, "lfo2");
    expectSameState(*lfo3, ref.lfo3, "lfo3");
  }
}

}  // namespace
