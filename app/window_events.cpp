#include "app/window_events.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "app/playback.h"
#include "platform/console.h"
#include "platform/random.h"
#include "synth/voice.h"

namespace {

SDL_Event event;

void playNote(int32_t n) {
  note = n;
  vca->noteOn();
}

void playRandomNote() {
  vca->noteOff();
  note = 53 + nextRandom() % 10;
  vca->noteOn();
}

// The stream stops before anything else, so no fill call draws into a window
// that is going away.
[[noreturn]] void quit() {
  stopPlayback();
  consoleRestore();
  std::exit(0);
}

void keyDown(SDLKey key) {
  switch (key) {
    case SDLK_ESCAPE:
      quit();
    case SDLK_z:
      playNote(58);
      break;
    case SDLK_x:
      playNote(63);
      break;
    case SDLK_c:
      playNote(65);
      break;
    case SDLK_v:
      playNote(66);
      break;
    case SDLK_b:
      playNote(68);
      break;
    case SDLK_n:
      playNote(70);
      break;
    default:
      break;
  }
}

}  // namespace

void pumpWindowEvents() {
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_KEYDOWN:
        keyDown(event.key.keysym.sym);
        break;
      case SDL_KEYUP:
        if (event.key.keysym.sym == SDLK_ESCAPE) {
          quit();
        }
        playRandomNote();
        break;
      case SDL_USEREVENT:
        playRandomNote();
        break;
      default:
        break;  // a close request included: only Escape quits from the window
    }
  }
}

void autoPlayCheck() {
  if (vca->gate == 0) {
    SDL_Event autoPlay{};
    autoPlay.type = SDL_USEREVENT;
    autoPlay.user.code = 1;
    autoPlay.user.data1 = nullptr;
    autoPlay.user.data2 = nullptr;
    SDL_PushEvent(&autoPlay);  // a full queue is retried at the next pass
    std::printf("MIAM\n");
  }
}
