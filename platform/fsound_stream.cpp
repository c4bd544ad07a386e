#include "platform/fsound_stream.h"

#include <pthread.h>

#include <csignal>
#include <system_error>

#include "platform/fsound_counters.h"

namespace {

constexpr int kBytesPerFrame = 4;

void count(WriteResult result) {
  if (result == WriteResult::underflowed) {
    countUnderflow();
  } else if (result == WriteResult::failed) {
    countFailedWrite();
  }
}

}  // namespace

FSOUND_STREAM::FSOUND_STREAM(FSOUND_STREAMCALLBACK callback, int length, int rate, void* userdata)
    : callback_(callback),
      length_(length),
      rate_(rate),
      userdata_(userdata),
      block_(static_cast<size_t>(length) / sizeof(int16_t)) {}

bool FSOUND_STREAM::play(OutputDevice& device) {
  if (playing() || !device.start()) {
    return false;
  }
  device_ = &device;
  try {
    thread_ = std::jthread([this](std::stop_token stop) { run(stop); });
  } catch (const std::system_error&) {
    device.stop();
    device_ = nullptr;
    return false;
  }
  return true;
}

void FSOUND_STREAM::stop() {
  if (!playing()) {
    return;
  }
  thread_.request_stop();
  thread_.join();
  device_->stop();
  device_ = nullptr;
}

bool FSOUND_STREAM::sleepUntil(std::stop_token stop, SoundClock::time_point deadline) {
  std::unique_lock lock(sleepMutex_);
  wakeUp_.wait_until(lock, stop, deadline, [] { return false; });
  return !stop.stop_requested();
}

void FSOUND_STREAM::run(std::stop_token stop) {
  // The play thread takes no asynchronous signal: a signal handler never
  // interrupts a fill call, and the program's other threads receive them.
  sigset_t asynchronous;
  sigfillset(&asynchronous);
  for (const int synchronous : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS}) {
    sigdelset(&asynchronous, synchronous);
  }
  pthread_sigmask(SIG_BLOCK, &asynchronous, nullptr);
  const int64_t framesPerBlock = length_ / kBytesPerFrame;
  BlockPacer pacer(framesPerBlock, rate_, SoundClock::now());
  int64_t framesWritten = 0;
  for (int64_t block = 0;; ++block) {
    const SoundClock::time_point now = SoundClock::now();
    if (!sleepUntil(stop, pacer.fillTime(block, framesWritten, device_->pendingFrames(), now))) {
      return;
    }
    countFillCall();
    const bool goOn = callback_(this, block_.data(), length_, userdata_) != 0;
    // A failed write leaves the block unheard; the stream goes on in time.
    count(device_->write(block_.data(), framesPerBlock));
    framesWritten += framesPerBlock;
    if (!goOn) {
      return;
    }
  }
}
