#pragma once

#include <chrono>
#include <cstdint>

using SoundClock = std::chrono::steady_clock;

// When to fill each block of a stream so that the fill calls follow what is
// being heard: block k is filled when block k - 1 starts to be heard, never
// earlier, so blocks 0 and 1 are filled at once and every later one a block
// after the one before. The playing position runs on the steady clock from the
// start, and is set anew from the device whenever the device tells how many
// written frames it still holds; a device that takes every write at once (a
// file or null sink, a failed device, the silent output) holds none and
// leaves the clock alone.
class BlockPacer {
 public:
  BlockPacer(int64_t framesPerBlock, int rate, SoundClock::time_point start);

  // `framesWritten` frames have gone to the device, which still holds
  // `framesPending` of them (0 when it does not tell).
  SoundClock::time_point fillTime(int64_t block, int64_t framesWritten, int64_t framesPending,
                                  SoundClock::time_point now);

 private:
  SoundClock::duration durationOf(int64_t frames) const;

  int64_t framesPerBlock_;
  int rate_;
  SoundClock::time_point heardFrom_;  // when frame 0 was heard
};
