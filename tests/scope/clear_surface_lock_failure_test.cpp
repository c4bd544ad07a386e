// SDL_LockSurface of the SDL 1.2 compatibility library never fails for a
// software surface, so this test binary puts its own SDL_LockSurface and
// SDL_UnlockSurface in front of SDL's: they fail or count on request and
// otherwise hand over to the library's.
#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "scope/draw_scope.h"
#include "tests/scope/scope_test_support.h"
#include "tests/support/fresh_voice.h"

namespace {

bool failLocks = false;
int lockCalls = 0;
int unlockCalls = 0;

template <typename Function>
Function libraryFunction(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int SDL_LockSurface(SDL_Surface* surface) {
  ++lockCalls;
  if (failLocks) {
    return -1;
  }
  static const auto lock = libraryFunction<int (*)(SDL_Surface*)>("SDL_LockSurface");
  return lock(surface);
}

extern "C" void SDL_UnlockSurface(SDL_Surface* surface) {
  ++unlockCalls;
  static const auto unlock = libraryFunction<void (*)(SDL_Surface*)>("SDL_UnlockSurface");
  unlock(surface);
}

namespace {

using namespace scope_test;

class LockFailureTest : public testing::Test {
 protected:
  void SetUp() override {
    freshVoice();
    surface_ = windowSizedSurface();
    ASSERT_NE(surface_, nullptr);
    screen = surface_.get();
    failLocks = false;
    lockCalls = 0;
    unlockCalls = 0;
  }
  void TearDown() override {
    failLocks = false;
    screen = nullptr;
  }

  SurfacePtr surface_;
};

TEST_F(LockFailureTest, ASuccessfulLockIsUnlockedAfterTheClear) {
  fill(surface_.get(), 0x00123456);
  clearSurface(surface_.get());
  EXPECT_EQ(lockCalls, 1);
  EXPECT_EQ(unlockCalls, 1);
  EXPECT_EQ(pixelAt(surface_.get(), 5, 5), kBlack);
}

TEST_F(LockFailureTest, AFailedLockClearsNothingAndUnlocksNothing) {
  fill(surface_.get(), 0x00123456);
  failLocks = true;
  clearSurface(surface_.get());
  EXPECT_EQ(lockCalls, 1);
  EXPECT_EQ(unlockCalls, 0);
  for (const uint32_t word : picture(surface_.get())) {
    ASSERT_EQ(word, 0x00123456u);
  }
}

// The previous picture stays and the new points are drawn over it.
TEST_F(LockFailureTest, TheNewPointsAreDrawnOverThePreviousPicture) {
  fill(surface_.get(), 0x00123456);
  failLocks = true;
  clearSurface(screen);
  drawScope();

  const SurfacePtr fresh = windowSizedSurface();
  freshVoice();
  screen = fresh.get();
  failLocks = false;
  clearSurface(screen);
  drawScope();

  const std::vector<uint32_t> over = picture(surface_.get());
  const std::vector<uint32_t> alone = picture(fresh.get());
  for (size_t i = 0; i < over.size(); ++i) {
    ASSERT_EQ(over[i], alone[i] == kBlack ? 0x00123456u : alone[i]) << "pixel " << i;
  }
}

}  // namespace
