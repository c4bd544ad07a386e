#pragma once

#include <SDL.h>

#include <cstddef>

#include "tests/support/guarded_buffer.h"

// A surface over pixel memory with guard zones before its first and after its
// last row; 640 x 800 at 32 bits (0x00RRGGBB) like the window unless asked
// otherwise (a 16-bit surface is 5-6-5).
class GuardedSurface {
 public:
  explicit GuardedSurface(int width = 640, int height = 800, int depth = 32)
      : pitch_(width * (depth / 8)),
        pixels_(static_cast<size_t>(pitch_) * height),
        surface_(SDL_CreateRGBSurfaceFrom(
            pixels_.data(), width, height, depth, pitch_, depth == 32 ? 0xFF0000 : 0xF800,
            depth == 32 ? 0xFF00 : 0x07E0, depth == 32 ? 0xFF : 0x001F, 0)) {}
  ~GuardedSurface() { SDL_FreeSurface(surface_); }
  GuardedSurface(const GuardedSurface&) = delete;
  GuardedSurface& operator=(const GuardedSurface&) = delete;

  // Null when SDL could not make the surface.
  SDL_Surface* get() const { return surface_; }
  bool guardsIntact() { return pixels_.guardsIntact(); }
  unsigned char* pixels() { return pixels_.data(); }

  // Pixel bytes that are no longer zero.
  size_t changedBytes() {
    size_t changed = 0;
    for (size_t i = 0; i < pixels_.size(); ++i) {
      changed += pixels_.data()[i] != 0 ? 1 : 0;
    }
    return changed;
  }

 private:
  int pitch_;
  GuardedBuffer pixels_;
  SDL_Surface* surface_;
};
