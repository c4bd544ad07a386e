#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "app/app_state.h"
#include "app/command_keys.h"
#include "app/playback.h"
#include "app/window.h"
#include "app/window_events.h"
#include "platform/console.h"
#include "sound/setup_sound.h"
#include "synth/voice.h"

namespace {

// A pass waits this long for a key when none is waiting, so the loop does not
// spin. A key ends the wait the moment it arrives; window events and the
// auto-play check wait at most this long, far inside one 186 ms block. Each
// wake-up costs about 15 us of kernel time here: at 1 ms the idle loop alone
// took 2.5% of a core, at 2 ms half that.
constexpr int kKeyWaitMs = 2;

void printHelp() {
  std::printf("[aqzs edrftg yhujik olpm our] modifier les trucs \n");
  std::printf("[+-] change type OSC1 [7894] le type des LFO1234\n");
  std::printf("[wxcvbn,;] pour les notes (foireuxmaismarche)\n");
}

}  // namespace

int main(int, char**) {
  // The terminal's handlers go in before SDL_Init, which then leaves them be.
  consoleOpen();
  if (SDL_Init(SDL_INIT_NOPARACHUTE) != 0) {
    std::printf("Cannot start SDL: %s\n", SDL_GetError());
    return 1;
  }
  std::atexit(SDL_Quit);

  osc1WaveSel = 0;
  note = 58;
  setupSound();
  openWindow();
  std::fflush(stdout);
  [[maybe_unused]] const int cleared = std::system("clear");
  printHelp();
  createVoice();
  startPlayback();

  bool running = true;
  while (running) {
    pumpWindowEvents();
    autoPlayCheck();
    if (!consoleKeyWaiting(kKeyWaitMs)) {
      continue;
    }
    const int key = consoleReadKey();
    if (key < 0) {
      continue;  // end of input: no more keys
    }
    if (key == '.') {
      running = false;
    }
    handleCommandKey(static_cast<unsigned char>(key));
  }

  stopPlayback();
  return 0;
}
