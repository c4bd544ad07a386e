#include "app/window.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "scope/screen.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 800;
}  // namespace

void openWindow() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::printf("Cannot open the window: %s\n", SDL_GetError());
    std::exit(1);
  }
  // A software surface asked for at 32 bits is 32 bits on every display (SDL
  // converts when it shows it); the scope writes 32-bit pixel words.
  SDL_Surface* surface = SDL_SetVideoMode(kWidth, kHeight, 32, SDL_SWSURFACE);
  if (surface == nullptr || surface->format->BytesPerPixel != 4 || surface->w < kWidth ||
      surface->h < kHeight) {
    std::printf("Cannot open the window: %s\n",
                surface == nullptr ? SDL_GetError() : "no 32-bit 640 x 800 surface");
    std::exit(1);
  }
  screen = surface;
}
