#include "scope/clear_surface.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

void clearSurface(SDL_Surface* surface) {
  if (surface == nullptr || SDL_LockSurface(surface) != 0) {
    return;
  }
  const Uint32 black = SDL_MapRGB(surface->format, 0, 0, 0);
  auto* row = static_cast<unsigned char*>(surface->pixels);
  if (row != nullptr && surface->w > 0) {
    const size_t pitch = surface->pitch;
    // Every row is filled with the low byte of black, as wide as the pixels
    // reach but never past the row's own pitch.
    const size_t rowBytes =
        std::min(static_cast<size_t>(surface->w) * surface->format->BytesPerPixel, pitch);
    for (int y = 0; y < surface->h; ++y, row += pitch) {
      std::memset(row, static_cast<unsigned char>(black & 0xFFu), rowBytes);
    }
  }
  SDL_UnlockSurface(surface);
}
