#pragma once

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

// The rows a point may take: 1 to 799, whatever the surface's height (row 0 is
// never written).
constexpr int32_t kFirstPlotRow = 1;
constexpr int32_t kPlotRowEnd = 800;

// One column of a surface taking 32-bit pixel words, checked once for all the
// points plotted into it. A point is written only inside a surface of 4 bytes
// per pixel and in rows 1 to 799; a column outside the surface takes none.
class PlotColumn {
 public:
  PlotColumn(SDL_Surface* surface, int32_t x) {
    if (surface == nullptr || surface->pixels == nullptr || surface->format == nullptr ||
        surface->format->BytesPerPixel != 4 || x < 0 || x >= surface->w ||
        int64_t{x} * 4 + 4 > surface->pitch) {
      return;
    }
    top_ = static_cast<unsigned char*>(surface->pixels) + int64_t{x} * 4;
    pitch_ = surface->pitch;
    rowEnd_ = std::min(kPlotRowEnd, surface->h);
  }

  void plot(int32_t y, uint32_t colour) const {
    if (y >= kFirstPlotRow && y < rowEnd_) {
      std::memcpy(top_ + int64_t{y} * pitch_, &colour, sizeof colour);
    }
  }

  // A row computed in double is truncated toward zero. The truncation lies in
  // rows 1 to rowEnd - 1 exactly when 1 <= row < rowEnd, so the test is made
  // on the double: NaN and rows beyond the int32 range fail it, and only rows
  // that convert exactly are converted.
  void plot(double row, uint32_t colour) const {
    if (row >= kFirstPlotRow && row < rowEnd_) {
      std::memcpy(top_ + int64_t{static_cast<int32_t>(row)} * pitch_, &colour, sizeof colour);
    }
  }

 private:
  unsigned char* top_ = nullptr;
  int64_t pitch_ = 0;
  int32_t rowEnd_ = 0;  // no row at all outside the surface
};

// Writes the 32-bit pixel word `colour` unchanged at column x, row y when y
// lies in 1 to 799 and the point is inside a surface of 4 bytes per pixel;
// anything else writes nothing.
inline void plotPixel(SDL_Surface* surface, int32_t x, int32_t y, uint32_t colour) {
  PlotColumn(surface, x).plot(y, colour);
}
