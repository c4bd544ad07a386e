#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

#include "platform/fsound.h"
#include "platform/fsound_device.h"
#include "platform/fsound_pacer.h"

// A user stream: its fill function, its block, and while it plays the
// library's thread that fills each block and plays it on the device.
struct FSOUND_STREAM {
 public:
  FSOUND_STREAM(FSOUND_STREAMCALLBACK callback, int length, int rate, void* userdata);
  FSOUND_STREAM(const FSOUND_STREAM&) = delete;
  FSOUND_STREAM& operator=(const FSOUND_STREAM&) = delete;
  ~FSOUND_STREAM() { stop(); }

  // Starts the device and the thread; false when either cannot start.
  bool play(OutputDevice& device);
  // Ends the thread once a running fill call has returned (none follows),
  // then stops the device. Does nothing when the stream does not play.
  void stop();
  bool playing() const { return device_ != nullptr; }

 private:
  void run(std::stop_token stop);
  // Sleeps until `deadline`; false when a stop is asked for first.
  bool sleepUntil(std::stop_token stop, SoundClock::time_point deadline);

  FSOUND_STREAMCALLBACK callback_;
  int length_;
  int rate_;
  void* userdata_;
  std::vector<int16_t> block_;
  OutputDevice* device_ = nullptr;
  std::mutex sleepMutex_;
  std::condition_variable_any wakeUp_;
  std::jthread thread_;
};
