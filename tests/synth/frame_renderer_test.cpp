#include "synth/frame_renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/random.h"
#include "tests/support/fresh_voice.h"
#include "tests/support/reference_voice.h"

namespace {

struct Frame {
  int16_t left;
  int16_t right;
};

class FrameRendererTest : public testing::Test {
 protected:
  void SetUp() override {
    freshVoice();
    seedRandom(1);
  }

  std::vector<Frame> render(int frames) {
    std::vector<Frame> out(frames);
    renderFrames(out.data(), frames * 4);
    return out;
  }
};

TEST_F(FrameRendererTest, DefaultVoiceIsA440HzSineFollowingTheEnvelope) {
  vca->noteOn();
  std::vector<float> levels;
  std::vector<Frame> frames;
  for (int i = 0; i < 44100; ++i) {  // one frame at a time, to see each frame's level
    frames.push_back(render(1)[0]);
    levels.push_back(vca->level);
  }
  int crossings = 0;
  for (size_t i = 0; i < frames.size(); ++i) {
    ASSERT_EQ(frames[i].left, frames[i].right) << i;
    ASSERT_LE(std::abs(frames[i].left), 10000.0f * levels[i] + 1.0f) << i;
    if (i > 0 && (frames[i - 1].left < 0) != (frames[i].left < 0)) {
      ++crossings;
    }
  }
  EXPECT_EQ(int32_t{vca->gate}, 1);  // a default note lasts 49975 frames
  EXPECT_NEAR(crossings / 2.0, 440.0, 2.0);
  // The peak reaches 10000 times the top of the envelope.
  int16_t peak = 0;
  for (const Frame& f : frames) {
    peak = std::max<int16_t>(peak, f.left);
  }
  EXPECT_GE(peak, 9990);
  EXPECT_LE(peak, 10000);
}

TEST_F(FrameRendererTest, ClosedGateIsSilentOnBothChannels) {
  for (const Frame& f : render(8192)) {
    ASSERT_EQ(f.left, 0);
    ASSERT_EQ(f.right, 0);
  }
}

TEST_F(FrameRendererTest, ZeroLengthWritesNothingAndSixWritesOneFrame) {
  vca->noteOn();
  std::vector<unsigned char> buffer(8, 0xAA);
  renderFrames(buffer.data(), 0);
  EXPECT_EQ(buffer, std::vector<unsigned char>(8, 0xAA));
  renderFrames(buffer.data(), -4);
  EXPECT_EQ(buffer, std::vector<unsigned char>(8, 0xAA));

  for (int i = 0; i < 100; ++i) {
    render(1);  // let the level rise so the frame is not silent
  }
  renderFrames(buffer.data(), 6);
  EXPECT_NE(std::memcmp(buffer.data(), "\xAA\xAA\xAA\xAA", 4), 0);
  EXPECT_EQ(buffer[4], 0xAA);
  EXPECT_EQ(buffer[5], 0xAA);
}

TEST_F(FrameRendererTest, LfoWithoutFrequencyOrAmplitudeDoesNotModulate) {
  for (Oscillator* lfo : {lfo1, lfo2, lfo3, lfo4}) {
    lfo->wave = 2;  // a ramp, whose output is not zero once it moves
  }
  lfo1->freq = 0.0f;  // amplitude 1, no frequency
  lfo2->ampl = 0.0f;  // frequency, no amplitude
  lfo2->freq = 5.0f;
  lfo3->freq = 0.0f;
  lfo4->ampl = 0.0f;
  lfo4->freq = 7.0f;
  lfo1->pos = 0.5f;
  lfo3->pos = 0.5f;
  render(3);
  EXPECT_EQ(float{osc1->aAmpl}, float{osc1->ampl});
  EXPECT_EQ(float{osc1->aFreq}, float{osc1->freq});
  EXPECT_EQ(float{osc1->aPhase}, float{osc1->phase});
}

TEST_F(FrameRendererTest, LfoOutputsActAsRelativeDeviations) {
  // Ramps at 22050 Hz output pos * ampl = 0.5 * ampl after their first tick.
  lfo1->wave = 2;
  lfo1->freq = 22050.0f;  // +0.5 on the amplitude
  lfo2->wave = 2;
  lfo2->freq = 22050.0f;  // +0.5 on the frequency
  lfo4->wave = 2;
  lfo4->freq = 22050.0f;
  lfo4->ampl = -1.0f;  // -0.5 on the frequency, after lfo2
  render(1);
  EXPECT_EQ(float{osc1->aFreq}, 0.75f * 440.0f);
  EXPECT_EQ(float{osc1->aAmpl}, 1.5f);
  EXPECT_EQ(float{osc1->aPhase}, 1.0f);
}

TEST_F(FrameRendererTest, NoteChangeIsHeardFromTheSecondFrameOfTheNextCall) {
  render(8192);
  EXPECT_EQ(float{osc1->freq}, 440.0f);
  note = 70;
  render(1);
  EXPECT_EQ(float{osc1->aFreq}, 440.0f);  // the first frame still plays the old pitch
  EXPECT_EQ(float{osc1->freq}, noteFrequency(70));
  render(1);
  EXPECT_EQ(float{osc1->aFreq}, noteFrequency(70));
  EXPECT_NEAR(noteFrequency(70), 880.0f, 0.001f);
}

TEST(NoteFrequencyTest, EqualTemperedAroundA440) {
  EXPECT_EQ(noteFrequency(58), 440.0f);
  EXPECT_EQ(noteFrequency(63), static_cast<float>(8.1757989 * std::pow(2.0, 74.0 / 12.0)));
  EXPECT_NEAR(noteFrequency(63), 587.33f, 0.01f);
  EXPECT_NEAR(noteFrequency(-11), 8.1757989f, 1e-6f);
  // No note value overflows the sum note + 11.
  EXPECT_EQ(noteFrequency(std::numeric_limits<int32_t>::max()), INFINITY);
}

// Every sample equals the plain arithmetic, on voices that exercise each
// shortcut: LFOs at rest, active LFOs on every wave, note changes mid-block.
struct VoiceCase {
  const char* name;
  int32_t oscWave;
  int32_t lfoWave;
  float lfoFreqs[4];
  float lfoAmpls[4];
};

class BitExactTest : public testing::TestWithParam<VoiceCase> {};

TEST_P(BitExactTest, RendersThePlainArithmeticToTheLastBit) {
  const VoiceCase& c = GetParam();
  freshVoice();
  seedRandom(1);
  reference::Voice plain;
  osc1->wave = c.oscWave;
  plain.osc1.wave = c.oscWave;
  Oscillator* lfos[4] = {lfo1, lfo2, lfo3, lfo4};
  for (int i = 0; i < 4; ++i) {
    lfos[i]->wave = c.lfoWave;
    lfos[i]->freq = c.lfoFreqs[i];
    lfos[i]->ampl = c.lfoAmpls[i];
    plain.lfo[i].wave = c.lfoWave;
    plain.lfo[i].freq = c.lfoFreqs[i];
    plain.lfo[i].ampl = c.lfoAmpls[i];
  }
  vca->noteOn();
  plain.vca.noteOn();

  std::vector<Frame> block(8192);
  for (int call = 0; call < 8; ++call) {
    if (call == 3) {
      note = 63;
      plain.note = 63;
    }
    if (call == 5) {
      vca->noteOn();
      plain.vca.noteOn();
    }
    renderFrames(block.data(), 8192 * 4);
    for (int i = 0; i < 8192; ++i) {
      const int16_t want = plain.frame();
      ASSERT_EQ(block[i].left, want) << c.name << " call " << call << " frame " << i;
      ASSERT_EQ(block[i].right, want);
    }
  }
  EXPECT_EQ(float{osc1->pos}, plain.osc1.pos);
}

INSTANTIATE_TEST_SUITE_P(
    Voices, BitExactTest,
    testing::Values(
        VoiceCase{"default", 1, 1, {0, 0, 0, 0}, {1, 1, 1, 1}},
        VoiceCase{"all_lfos_sine", 1, 1, {3.5f, 0.6f, 2.0f, 5.0f}, {0.2f, 0.1f, 0.3f, 0.05f}},
        VoiceCase{"ramp_lfos", 2, 2, {1.0f, 0.5f, 3.0f, 4.0f}, {0.01f, 0.02f, 0.03f, 0.04f}},
        VoiceCase{"square", 4, 4, {2.0f, 1.0f, 0, 6.0f}, {0.3f, 0.2f, 1, 0.1f}},
        VoiceCase{"noise", 5, 3, {1.0f, 0.1f, 1.0f, 1.0f}, {0.1f, 0.01f, 0.1f, 0.1f}},
        VoiceCase{"ramp_less_half", 3, 5, {440.0f, 0, 0, 0}, {0.5f, 1, 1, 1}}),
    [](const testing::TestParamInfo<VoiceCase>& info) { return info.param.name; });

}  // namespace
