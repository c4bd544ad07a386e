#include "scope/plot_pixel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "tests/scope/scope_test_support.h"

namespace {

using namespace scope_test;

constexpr uint32_t kWord = 0x12345678;
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct RowCase {
  int32_t y;
  bool written;
};

class PlotPixelRowTest : public testing::TestWithParam<RowCase> {};

TEST_P(PlotPixelRowTest, WritesOnlyRowsOneTo799) {
  GuardedSurface surface(kWidth, kHeight);
  plotPixel(surface.get(), 17, GetParam().y, kWord);

  if (GetParam().written) {
    EXPECT_EQ(pixelAt(surface.get(), 17, GetParam().y), kWord);
    EXPECT_EQ(surface.changedBytes(), 4u);
  } else {
    EXPECT_EQ(surface.changedBytes(), 0u);
  }
  EXPECT_TRUE(surface.guardsIntact());
}

INSTANTIATE_TEST_SUITE_P(Rows, PlotPixelRowTest,
                         testing::Values(RowCase{0, false}, RowCase{1, true}, RowCase{2, true},
                                         RowCase{400, true}, RowCase{799, true},
                                         RowCase{800, false}, RowCase{801, false},
                                         RowCase{-1, false}, RowCase{kMin, false},
                                         RowCase{kMax, false}));

TEST(PlotPixelTest, ARowExpressionOfMinusAHalfTruncatesToRowZeroAndIsNotDrawn) {
  GuardedSurface surface(kWidth, kHeight);
  const double row = -0.5;
  const auto y = static_cast<int32_t>(row);
  EXPECT_EQ(y, 0);
  plotPixel(surface.get(), 3, y, kWord);
  EXPECT_EQ(surface.changedBytes(), 0u);
}

TEST(PlotPixelTest, WritesTheWordUnchangedAtRowTimesPitchPlusFourTimesColumn) {
  GuardedSurface surface(kWidth, kHeight);
  plotPixel(surface.get(), 639, 799, 0xF0F0F0);
  plotPixel(surface.get(), 0, 1, 0xFF00FF);
  const auto* bytes = static_cast<const unsigned char*>(surface.get()->pixels);
  uint32_t last;
  uint32_t first;
  std::memcpy(&last, bytes + 799 * 2560 + 4 * 639, 4);
  std::memcpy(&first, bytes + 2560, 4);
  EXPECT_EQ(last, 0xF0F0F0u);
  EXPECT_EQ(first, 0xFF00FFu);
  EXPECT_EQ(surface.changedBytes(), 5u);  // the non-zero bytes of the two words
}

class PlotPixelColumnTest : public testing::TestWithParam<int32_t> {};

TEST_P(PlotPixelColumnTest, AColumnOutsideTheSurfaceIsNeverWritten) {
  GuardedSurface surface(kWidth, kHeight);
  for (const int32_t y : {1, 120, 799}) {
    plotPixel(surface.get(), GetParam(), y, kWord);
  }
  EXPECT_EQ(surface.changedBytes(), 0u);
  EXPECT_TRUE(surface.guardsIntact());
}

INSTANTIATE_TEST_SUITE_P(Columns, PlotPixelColumnTest,
                         testing::Values(-1, -640, 640, 641, 1000, kMin, kMax));

TEST(PlotPixelTest, RowsBelowTheSurfaceAreNeverWrittenOnASmallSurface) {
  GuardedSurface surface(10, 20);
  plotPixel(surface.get(), 9, 19, kWord);
  EXPECT_EQ(surface.changedBytes(), 4u);
  for (const int32_t y : {20, 21, 400, 799}) {
    plotPixel(surface.get(), 0, y, kWord);
  }
  for (const int32_t x : {10, 11, 639}) {
    plotPixel(surface.get(), x, 5, kWord);
  }
  EXPECT_EQ(surface.changedBytes(), 4u);
  EXPECT_TRUE(surface.guardsIntact());
}

TEST(PlotPixelTest, TheRowBoundIs800EvenOnATallerSurface) {
  GuardedSurface surface(4, 900);
  plotPixel(surface.get(), 0, 799, kWord);
  plotPixel(surface.get(), 0, 800, kWord);
  plotPixel(surface.get(), 0, 850, kWord);
  EXPECT_EQ(surface.changedBytes(), 4u);
  EXPECT_EQ(pixelAt(surface.get(), 0, 799), kWord);
}

TEST(PlotPixelTest, ASurfaceOfFewerThanFourBytesPerPixelIsNeverWritten) {
  GuardedSurface surface(kWidth, kHeight, 16);
  ASSERT_EQ(surface.get()->format->BytesPerPixel, 2);
  plotPixel(surface.get(), 0, 1, kWord);
  plotPixel(surface.get(), 639, 799, kWord);
  EXPECT_EQ(surface.changedBytes(), 0u);
  EXPECT_TRUE(surface.guardsIntact());
}

TEST(PlotPixelTest, ANullSurfaceIsIgnored) {
  plotPixel(nullptr, 1, 1, kWord);
}

}  // namespace
