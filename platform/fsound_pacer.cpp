#include "platform/fsound_pacer.h"

#include <algorithm>

BlockPacer::BlockPacer(int64_t framesPerBlock, int rate, SoundClock::time_point start)
    : framesPerBlock_(framesPerBlock), rate_(rate), heardFrom_(start) {}

SoundClock::time_point BlockPacer::fillTime(int64_t block, int64_t framesWritten,
                                            int64_t framesPending, SoundClock::time_point now) {
  if (framesPending > 0) {
    heardFrom_ = now - durationOf(std::max<int64_t>(framesWritten - framesPending, 0));
  }
  return heardFrom_ + durationOf(std::max<int64_t>(block - 1, 0) * framesPerBlock_);
}

SoundClock::duration BlockPacer::durationOf(int64_t frames) const {
  // Whole seconds and the rest apart, exact in nanoseconds for any run time.
  using std::chrono::nanoseconds;
  constexpr int64_t kNanosPerSecond = 1'000'000'000;
  const nanoseconds exact{frames / rate_ * kNanosPerSecond +
                          frames % rate_ * kNanosPerSecond / rate_};
  return std::chrono::duration_cast<SoundClock::duration>(exact);
}
