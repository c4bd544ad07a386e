#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "scope/screen.h"
#include "synth/voice.h"
#include "tests/support/guarded_surface.h"

namespace scope_test {

constexpr int kWidth = 640;
constexpr int kHeight = 800;

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kLightGrey = 0xF0F0F0;
constexpr uint32_t kMagenta = 0xFF00FF;

// The steps of one pass: x grows by 0.05 in float from 0 while below 640.
constexpr int kStepsPerPass = 12802;

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// A surface in memory shaped like the window: 640 x 800, 32-bit 0x00RRGGBB.
inline SurfacePtr windowSizedSurface() {
  return SurfacePtr(
      SDL_CreateRGBSurface(SDL_SWSURFACE, kWidth, kHeight, 32, 0xFF0000, 0xFF00, 0xFF, 0));
}

inline uint32_t pixelAt(const SDL_Surface* surface, int x, int y) {
  uint32_t word;
  std::memcpy(&word,
              static_cast<const unsigned char*>(surface->pixels) + y * surface->pitch + 4 * x,
              sizeof word);
  return word;
}

inline void fill(SDL_Surface* surface, uint32_t word) {
  for (int y = 0; y < surface->h; ++y) {
    for (int x = 0; x < surface->w; ++x) {
      std::memcpy(static_cast<unsigned char*>(surface->pixels) + y * surface->pitch + 4 * x, &word,
                  sizeof word);
    }
  }
}

// Every pixel word, row by row.
inline std::vector<uint32_t> picture(const SDL_Surface* surface) {
  std::vector<uint32_t> words;
  for (int y = 0; y < surface->h; ++y) {
    for (int x = 0; x < surface->w; ++x) {
      words.push_back(pixelAt(surface, x, y));
    }
  }
  return words;
}

}  // namespace scope_test
