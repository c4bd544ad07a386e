#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "scope/draw_scope.h"
#include "tests/scope/scope_fixture.h"

namespace {

using namespace scope_test;

using DrawScopePictureTest = ScopeTest;

// A fresh voice has its gate closed (level 0) and its LFOs at 0 Hz, amplitude
// 1, phase 1 on the sine wave: each LFO outputs sin(6.2831853), about -7e-9,
// so the four LFO traces lie on row 119 (119.9999993 truncated), lfo1's blue
// drawn last of them. The voice is 0: trace 5 on row 120 under the centre
// line, trace 6 on row 240 and trace 8 on row 450.
TEST_F(DrawScopePictureTest, AFreshVoiceDrawsFourLinesAcrossEveryColumn) {
  const float p = static_cast<float>(std::sin(6.2831853));
  ASSERT_LT(p, 0.0f);
  ASSERT_EQ(static_cast<int>(100.0 * double{p} + 120.0), 119);

  drawScope();

  for (int x = 0; x < kWidth; ++x) {
    for (int y = 0; y < kHeight; ++y) {
      uint32_t expected = kBlack;
      switch (y) {
        case 119:
          expected = kBlue;
          break;
        case 120:
          expected = kMagenta;
          break;
        case 240:
          expected = kLightGrey;
          break;
        case 450:
          expected = kWhite;
          break;
        default:
          break;
      }
      ASSERT_EQ(at(x, y), expected) << "column " << x << ", row " << y;
    }
  }
}

TEST_F(DrawScopePictureTest, RowZeroIsNeverDrawn) {
  // lfo4 at phase 0.75 gives about -amplitude; 100 * p + 120 lies in (-1, 0)
  // and truncates to row 0, not -1.
  lfo4->phase = 0.75f;
  lfo4->ampl = 1.205f;
  const auto p = static_cast<float>(std::sin(0.75 * 6.2831853) * double{1.205f});
  const double row = 100.0 * double{p} + 120.0;
  ASSERT_GT(row, -1.0);
  ASSERT_LT(row, 0.0);
  ASSERT_EQ(static_cast<int32_t>(row), 0);

  drawScope();

  for (int x = 0; x < kWidth; ++x) {
    ASSERT_EQ(at(x, 0), kBlack) << "column " << x;
    ASSERT_TRUE(rowsOf(x, kRed).empty()) << "column " << x;
  }
}

TEST_F(DrawScopePictureTest, TheGreenOfLfo2CoversTheRedOfLfo3OnTheSameRow) {
  lfo1->ampl = 0.0f;  // lfo1's trace moves to row 120, under the centre line
  drawScope();
  for (int x = 0; x < kWidth; ++x) {
    ASSERT_EQ(at(x, 119), kGreen) << "column " << x;
    ASSERT_EQ(at(x, 120), kMagenta) << "column " << x;
  }
}

TEST_F(DrawScopePictureTest, TheRedOfLfo3CoversTheRedOfLfo4WhenLfo2AndLfo1MoveAway) {
  lfo1->ampl = 0.0f;
  lfo2->ampl = 0.0f;
  drawScope();
  for (int x = 0; x < kWidth; ++x) {
    ASSERT_EQ(at(x, 119), kRed) << "column " << x;
  }
}

TEST_F(DrawScopePictureTest, TheCentreLineCoversEveryTraceOnRow120) {
  // Every LFO at amplitude 0 outputs 0: all four LFO traces and the voice
  // trace lie on row 120.
  for (Oscillator* lfo : {lfo1, lfo2, lfo3, lfo4}) {
    lfo->ampl = 0.0f;
  }
  drawScope();
  for (int x = 0; x < kWidth; ++x) {
    ASSERT_EQ(at(x, 120), kMagenta) << "column " << x;
    ASSERT_EQ(at(x, 119), kBlack) << "column " << x;
  }
}

TEST_F(DrawScopePictureTest, TheSecondVoiceTraceIsDrawnLastOfAll) {
  // lfo4 at phase 0.25 outputs about its amplitude: row 100 * 3.305 + 120,
  // that is 450, where trace 8 lies.
  lfo4->phase = 0.25f;
  lfo4->ampl = 3.305f;
  const auto p = static_cast<float>(std::sin(0.25 * 6.2831853) * double{3.305f});
  ASSERT_EQ(static_cast<int32_t>(100.0 * double{p} + 120.0), 450);

  drawScope();
  for (int x = 0; x < kWidth; ++x) {
    ASSERT_EQ(at(x, 450), kWhite) << "column " << x;
  }
}

// With the voice at 0 Hz on the ramp its output is 0, while its applied
// amplitude follows an attack of 1000 time units up to a level of 310: over
// the pass's 640 time units a = level * ampl runs through (0, 199) for an
// amplitude of 1 and through (-199, 0) for an amplitude of -1.
struct AmplitudeCase {
  float ampl;
  int row;
};

class AppliedAmplitudeRowTest : public ScopeTest,
                                public testing::WithParamInterface<AmplitudeCase> {};

TEST_P(AppliedAmplitudeRowTest, LiesOnOneRowForAmplitudesWithin200) {
  osc1->wave = 2;
  osc1->freq = 0.0f;
  osc1->ampl = GetParam().ampl;
  vca->attack = 1000.0f;
  vca->peak = 310.0f;
  vca->noteOn();

  drawScope();

  ASSERT_GT(float{vca->level}, 198.0f);
  for (int x = 0; x < kWidth; ++x) {
    ASSERT_EQ(rowsOf(x, kLightGrey), std::vector<int>{GetParam().row}) << "column " << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Amplitudes, AppliedAmplitudeRowTest,
                         testing::Values(AmplitudeCase{1.0f, 240}, AmplitudeCase{-1.0f, 239}));

TEST_F(DrawScopePictureTest, AClosedGateLeavesTheAppliedAmplitudeAtZeroOnRow240) {
  osc1->ampl = -1.0f;  // a is -0.0: still row 240
  drawScope();
  for (int x = 0; x < kWidth; ++x) {
    ASSERT_EQ(rowsOf(x, kLightGrey), std::vector<int>{240}) << "column " << x;
  }
}

}  // namespace
