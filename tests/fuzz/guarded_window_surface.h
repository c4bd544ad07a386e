#pragma once

#include <SDL.h>

#include "tests/fuzz/guarded_buffer.h"

// A 32-bit 0x00RRGGBB surface, 640 x 800 like the window, over pixel memory
// with guard zones before its first and after its last row.
class GuardedWindowSurface {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 800;
  static constexpr int kPitch = 4 * kWidth;

  GuardedWindowSurface()
      : pixels_(size_t{kPitch} * kHeight),
        surface_(SDL_CreateRGBSurfaceFrom(pixels_.data(), kWidth, kHeight, 32, kPitch, 0xFF0000,
                                          0xFF00, 0xFF, 0)) {}
  ~GuardedWindowSurface() { SDL_FreeSurface(surface_); }
  GuardedWindowSurface(const GuardedWindowSurface&) = delete;
  GuardedWindowSurface& operator=(const GuardedWindowSurface&) = delete;

  // Null when SDL could not make the surface.
  SDL_Surface* get() const { return surface_; }
  bool guardsIntact() { return pixels_.guardsIntact(); }

 private:
  GuardedBuffer pixels_;
  SDL_Surface* surface_;
};
