#pragma once

#include <SDL.h>

// Fills the surface with black; a surface that cannot be locked keeps its
// previous picture.
void clearSurface(SDL_Surface* surface);
