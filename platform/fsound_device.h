#pragma once

#include <portaudio.h>

#include <cstdint>
#include <vector>

// How one block's write went.
enum class WriteResult { played, underflowed, failed };

// The FMOD_ERR_* code for a PortAudio error from opening a device.
int openErrorCode(PaError error);

// The output that the library plays on: a PortAudio device taking 16-bit
// stereo frames with blocking writes, or, when none is open, the silent output
// that takes every block at once.
class OutputDevice {
 public:
  OutputDevice() = default;
  OutputDevice(const OutputDevice&) = delete;
  OutputDevice& operator=(const OutputDevice&) = delete;
  ~OutputDevice() { close(); }

  // Opens `device` at `rate` and proves that it plays: starts it, writes a
  // little more silence than it can hold and stops it. Returns FMOD_ERR_NONE
  // or the error code.
  int open(PaDeviceIndex device, int rate);
  // Back to the silent output.
  void close();

  // Around a stream's blocks.
  bool start();
  void stop();

  WriteResult write(const int16_t* frames, int64_t frameCount);
  // Frames written that the device still holds, as far as it tells; 0 when
  // it does not.
  int64_t pendingFrames() const;

 private:
  bool playsSilence();
  PaError writeAsFloats(const int16_t* frames, int64_t frameCount);

  PaStream* stream_ = nullptr;
  int64_t bufferFrames_ = 0;
  // Set for a device that takes 32-bit float frames: a stretch of the block,
  // converted.
  std::vector<float> floatFrames_;
};
