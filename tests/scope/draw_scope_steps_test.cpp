#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <vector>

#include "scope/draw_scope.h"
#include "tests/scope/scope_fixture.h"

namespace {

using namespace scope_test;

// The pass's column position, replayed: from 0 in float steps of 0.05, each
// sum in double rounded to float, while below 640.
struct Replay {
  std::array<int, kWidth> stepsPerColumn{};
  int steps = 0;
  float last = 0.0f;
  float stop = 0.0f;
};

Replay replayColumns() {
  Replay r;
  float x = 0.0f;
  for (; x < 640.0f; x = static_cast<float>(double{x} + 0.05)) {
    ++r.stepsPerColumn.at(static_cast<size_t>(x));
    ++r.steps;
    r.last = x;
  }
  r.stop = x;
  return r;
}

int expectedSteps(int column) {
  static const std::set<int> kTwentyOne = {1, 18, 301, 505};
  static const std::set<int> kNineteen = {4, 75};
  if (kTwentyOne.count(column) != 0) {
    return 21;
  }
  return kNineteen.count(column) != 0 ? 19 : 20;
}

TEST(ColumnStepsTest, TheFloatPositionMakes12802StepsOverThe640Columns) {
  const Replay r = replayColumns();
  EXPECT_EQ(r.steps, kStepsPerPass);
  EXPECT_EQ(r.last, 639.96728515625f);
  EXPECT_EQ(r.stop, 640.0172729492188f);
  for (int column = 0; column < kWidth; ++column) {
    EXPECT_EQ(r.stepsPerColumn[column], expectedSteps(column)) << "column " << column;
  }
}

using DrawScopeStepsTest = ScopeTest;

// lfo1 on the ramp at 17640 Hz moves by 0.4 per step and wraps above 10: its
// trace 120 - 10 * pos takes a new row at every step of a column (the cycle of
// about 25 steps is longer than any column), so the blue points of a column
// count its steps. The other LFOs, at amplitude 0, lie under the centre line.
TEST_F(DrawScopeStepsTest, EveryColumnGetsOneLfoPointPerStep) {
  lfo1->wave = 2;
  lfo1->freq = 17640.0f;
  lfo1->ampl = -0.1f;
  for (Oscillator* lfo : {lfo2, lfo3, lfo4}) {
    lfo->ampl = 0.0f;
  }

  drawScope();

  int total = 0;
  for (int column = 0; column < kWidth; ++column) {
    const auto blue = static_cast<int>(rowsOf(column, kBlue).size());
    EXPECT_EQ(blue, expectedSteps(column)) << "column " << column;
    total += blue;
  }
  EXPECT_EQ(total, kStepsPerPass);
}

}  // namespace
