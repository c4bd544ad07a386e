#include "app/stream_callback.h"

#include <SDL.h>

#include "scope/draw_scope.h"
#include "scope/screen.h"
#include "synth/frame_renderer.h"

signed char streamCallback(FSOUND_STREAM*, void* buffer, int len, void*) {
  clearSurface(screen);
  renderFrames(buffer, len);
  drawScope();
  SDL_Flip(screen);
  return 1;
}
