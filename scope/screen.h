#pragma once

#include <SDL.h>

// The window surface the scope draws into: 640 x 800, 32 bits per pixel,
// opened by the main program before the stream starts.
extern SDL_Surface* screen;
