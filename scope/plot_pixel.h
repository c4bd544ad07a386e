#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstring>

// The rows a point may take: 1 to 799, whatever the surface's height (row 0 is
// never written).
constexpr int32_t kFirstPlotRow = 1;
constexpr int32_t kPlotRowEnd = 800;

// Writes the 32-bit pixel word `colour` unchanged at column x, row y when y
// lies in 1 to 799 and the point is inside a surface of 4 bytes per pixel;
// anything else writes nothing.
inline void plotPixel(SDL_Surface* surface, int32_t x, int32_t y, uint32_t colour) {
  if (y < kFirstPlotRow || y >= kPlotRowEnd) {
    return;
  }
  if (surface == nullptr || surface->pixels == nullptr || surface->format == nullptr ||
      surface->format->BytesPerPixel != 4) {
    return;
  }
  if (x < 0 || x >= surface->w || int64_t{x} * 4 + 4 > surface->pitch || y >= surface->h) {
    return;
  }
  auto* at =
      static_cast<unsigned char*>(surface->pixels) + int64_t{y} * surface->pitch + int64_t{x} * 4;
  std::memcpy(at, &colour, sizeof colour);
}
