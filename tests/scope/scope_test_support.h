#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "scope/screen.h"
#include "synth/voice.h"

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

// A 32-bit surface over memory of our own, with guard bytes of a known pattern
// before its first and after its last pixel row.
class GuardedSurface {
 public:
  static constexpr size_t kGuardBytes = 64 * 1024;
  static constexpr unsigned char kGuardByte = 0xA5;

  GuardedSurface(int width, int height, int depth = 32) {
    const int bytesPerPixel = depth / 8;
    pitch_ = width * bytesPerPixel;
    memory_.assign(kGuardBytes + static_cast<size_t>(pitch_) * height + kGuardBytes, kGuardByte);
    std::memset(pixels(), 0, static_cast<size_t>(pitch_) * height);
    const bool wide = depth == 32;
    surface_.reset(SDL_CreateRGBSurfaceFrom(pixels(), width, height, depth, pitch_,
                                            wide ? 0xFF0000 : 0xF800, wide ? 0xFF00 : 0x07E0,
                                            wide ? 0xFF : 0x001F, 0));
  }

  SDL_Surface* get() const { return surface_.get(); }
  unsigned char* pixels() { return memory_.data() + kGuardBytes; }

  bool guardsIntact() const {
    const size_t end = memory_.size() - kGuardBytes;
    for (size_t i = 0; i < memory_.size(); ++i) {
      if ((i < kGuardBytes || i >= end) && memory_[i] != kGuardByte) {
        return false;
      }
    }
    return true;
  }

  // Pixel bytes that are no longer zero.
  size_t changedBytes() const {
    size_t changed = 0;
    for (size_t i = kGuardBytes; i < memory_.size() - kGuardBytes; ++i) {
      changed += memory_[i] != 0 ? 1 : 0;
    }
    return changed;
  }

 private:
  int pitch_ = 0;
  std::vector<unsigned char> memory_;
  SurfacePtr surface_;
};

// Replaces the global voice with a newly created one, as at start-up. The
// program never frees its voice; the tests free the previous one so that the
// leak checker sees only the last.

}  // namespace scope_test
