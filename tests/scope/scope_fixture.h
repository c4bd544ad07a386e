#pragma once

#include <gtest/gtest.h>

#include "scope/draw_scope.h"
#include "scope/screen.h"
#include "tests/scope/scope_test_support.h"
#include "tests/support/fresh_voice.h"

namespace scope_test {

// A fresh voice drawing into a cleared 640 x 800 surface in memory.
class ScopeTest : public testing::Test {
 protected:
  void SetUp() override {
    freshVoice();
    surface_ = windowSizedSurface();
    ASSERT_NE(surface_, nullptr);
    clearSurface(surface_.get());
    screen = surface_.get();
  }
  void TearDown() override { screen = nullptr; }

  uint32_t at(int x, int y) const { return pixelAt(surface_.get(), x, y); }

  // The rows of column x that hold `word`.
  std::vector<int> rowsOf(int x, uint32_t word) const {
    std::vector<int> rows;
    for (int y = 0; y < kHeight; ++y) {
      if (at(x, y) == word) {
        rows.push_back(y);
      }
    }
    return rows;
  }

  SurfacePtr surface_;
};

}  // namespace scope_test
