#include "scope/clear_surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/scope/scope_test_support.h"

namespace {

using namespace scope_test;

TEST(ClearSurfaceTest, FillsTheWindowSurfaceWithBlack) {
  const SurfacePtr surface = windowSizedSurface();
  fill(surface.get(), 0x00ABCDEF);
  clearSurface(surface.get());
  for (const uint32_t word : picture(surface.get())) {
    ASSERT_EQ(word, kBlack);
  }
}

TEST(ClearSurfaceTest, LeavesTheSurfaceUnlocked) {
  const SurfacePtr surface = windowSizedSurface();
  clearSurface(surface.get());
  EXPECT_EQ(surface->locked, 0u);
}

// A surface whose rows are longer than its pixels: the bytes past each row's
// pixels are not part of the picture and are left alone.
TEST(ClearSurfaceTest, ClearsOnlyTheWidthOfEveryRow) {
  constexpr int kWidthBytes = 8 * 4;
  constexpr int kPitch = kWidthBytes + 12;
  constexpr int kRows = 5;
  std::vector<unsigned char> memory(kPitch * kRows + 64, 0x5A);
  const SurfacePtr surface(
      SDL_CreateRGBSurfaceFrom(memory.data(), 8, kRows, 32, kPitch, 0xFF0000, 0xFF00, 0xFF, 0));
  ASSERT_NE(surface, nullptr);
  clearSurface(surface.get());
  for (size_t i = 0; i < memory.size(); ++i) {
    const bool inPicture = i < static_cast<size_t>(kPitch * kRows) && i % kPitch < kWidthBytes;
    ASSERT_EQ(memory[i], inPicture ? 0x00 : 0x5A) << "byte " << i;
  }
}

TEST(ClearSurfaceTest, ClearsTwoBytesPerPixelOfASixteenBitSurface) {
  GuardedSurface surface(20, 10, 16);
  std::memset(surface.pixels(), 0x77, 20 * 2 * 10);
  clearSurface(surface.get());
  EXPECT_EQ(surface.changedBytes(), 0u);
  EXPECT_TRUE(surface.guardsIntact());
}

// Every byte takes the low byte of black as the format maps it; with the
// alpha channel in the low byte, opaque black's low byte is 0xFF.
TEST(ClearSurfaceTest, UsesTheLowByteOfBlackForEveryByte) {
  const SurfacePtr surface(
      SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 3, 32, 0xFF000000, 0xFF0000, 0xFF00, 0xFF));
  ASSERT_NE(surface, nullptr);
  const Uint32 black = SDL_MapRGB(surface->format, 0, 0, 0);
  ASSERT_EQ(black & 0xFFu, 0xFFu);
  clearSurface(surface.get());
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(pixelAt(surface.get(), x, y), 0xFFFFFFFFu);
    }
  }
}

TEST(ClearSurfaceTest, ANullSurfaceIsIgnored) {
  clearSurface(nullptr);
}

}  // namespace
