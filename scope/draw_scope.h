#pragma once

#include <SDL.h>

#include <cstdint>

// Fills the surface with black; a surface that cannot be locked keeps its
// previous picture.
void clearSurface(SDL_Surface* surface);

// Writes the 32-bit pixel word `colour` at column x, row y when y lies in 1 to
// 799 (row 0 is never written) and the point is inside the surface.
void plotPixel(SDL_Surface* surface, int32_t x, int32_t y, uint32_t colour);

// The scope pass: re-simulates 12802 steps of the voice from position 0 into
// `screen` (the LFOs, the voice, its applied amplitude and the centre line),
// then puts the oscillators' running positions back. The envelope is ticked on
// every step and not put back.
void drawScope();
