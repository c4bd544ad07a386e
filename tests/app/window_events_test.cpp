#include "app/window_events.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "tests/support/fresh_voice.h"

namespace {

// SDL's real event queue, on the dummy video driver.
class WindowEventsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_NE(SDL_SetVideoMode(640, 800, 32, SDL_SWSURFACE), nullptr) << SDL_GetError();
  }
  static void TearDownTestSuite() { SDL_Quit(); }

  void SetUp() override {
    freshVoice();
    SDL_Event drained;
    while (SDL_PollEvent(&drained)) {
    }
  }

  static void push(uint8_t type, SDLKey key = SDLK_UNKNOWN) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
      e.key.type = type;
      e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
      e.key.keysym.sym = key;
    }
    ASSERT_EQ(SDL_PushEvent(&e), 0);
  }

  static std::string autoPlayOutput() {
    testing::internal::CaptureStdout();
    autoPlayCheck();
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(WindowEventsTest, FirstPassPostsOnceAndTheSecondStartsARandomNote) {
  pumpWindowEvents();
  EXPECT_EQ(autoPlayOutput(), "MIAM\n");  // a new envelope is closed
  EXPECT_EQ(int32_t{vca->gate}, 0);
  pumpWindowEvents();
  EXPECT_EQ(int32_t{vca->gate}, 1);
  EXPECT_GE(int32_t{note}, 53);
  EXPECT_LE(int32_t{note}, 62);
  EXPECT_EQ(autoPlayOutput(), "");
}

TEST_F(WindowEventsTest, NoteKeysPlayTheirNote) {
  const std::pair<SDLKey, int32_t> keys[] = {{SDLK_z, 58}, {SDLK_x, 63}, {SDLK_c, 65},
                                             {SDLK_v, 66}, {SDLK_b, 68}, {SDLK_n, 70}};
  for (const auto& [key, expected] : keys) {
    vca->noteOff();
    push(SDL_KEYDOWN, key);
    pumpWindowEvents();
    EXPECT_EQ(int32_t{note}, expected);
    EXPECT_EQ(int32_t{vca->gate}, 1);
  }
}

TEST_F(WindowEventsTest, KeyDownAndUpInOnePumpLeaveARandomNoteSounding) {
  push(SDL_KEYDOWN, SDLK_z);
  push(SDL_KEYUP, SDLK_z);
  pumpWindowEvents();
  EXPECT_EQ(int32_t{vca->gate}, 1);
  EXPECT_GE(int32_t{note}, 53);
  EXPECT_LE(int32_t{note}, 62);
  EXPECT_EQ(autoPlayOutput(), "");
}

TEST_F(WindowEventsTest, OtherKeysAndEventTypesDoNothingOnTheWayDown) {
  push(SDL_KEYDOWN, SDLK_a);
  push(SDL_KEYDOWN, SDLK_RETURN);
  push(SDL_QUIT);  // a close request is ignored: only Escape quits
  push(SDL_MOUSEBUTTONDOWN);
  pumpWindowEvents();
  EXPECT_EQ(int32_t{vca->gate}, 0);
  EXPECT_EQ(int32_t{note}, 58);
}

TEST_F(WindowEventsTest, ReleasingAnyKeyButEscapeStartsARandomNote) {
  push(SDL_KEYUP, SDLK_a);
  pumpWindowEvents();
  EXPECT_EQ(int32_t{vca->gate}, 1);
}

TEST_F(WindowEventsTest, RandomNotesLieBetween53And62) {
  std::set<int32_t> seen;
  for (int i = 0; i < 1000; ++i) {
    push(SDL_USEREVENT);
    pumpWindowEvents();
    seen.insert(note);
  }
  EXPECT_EQ(seen, (std::set<int32_t>{53, 54, 55, 56, 57, 58, 59, 60, 61, 62}));
}

TEST_F(WindowEventsTest, EscapeDownOrUpEndsTheProgramWithCodeZero) {
  testing::FLAGS_gtest_death_test_style = "threadsafe";
  for (uint8_t type : {SDL_KEYDOWN, SDL_KEYUP}) {
    EXPECT_EXIT(
        {
          push(type, SDLK_ESCAPE);
          pumpWindowEvents();
          std::exit(3);  // not reached
        },
        testing::ExitedWithCode(0), "");
  }
}

}  // namespace
