#include "platform/fsound.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "platform/fsound_device.h"
#include "platform/fsound_drivers.h"
#include "platform/fsound_stream.h"

namespace {

constexpr unsigned int kStreamMode = FSOUND_16BITS | FSOUND_STEREO | FSOUND_SIGNED;
constexpr int kBytesPerFrame = 4;

struct Library {
  ~Library() { close(); }

  void close() {
    streams.clear();
    device.close();
    ready = false;
  }

  bool owns(const FSOUND_STREAM* stream) const {
    return std::any_of(streams.begin(), streams.end(),
                       [stream](const auto& owned) { return owned.get() == stream; });
  }

  bool anyPlaying() const {
    return std::any_of(streams.begin(), streams.end(),
                       [](const auto& owned) { return owned->playing(); });
  }

  int output = FSOUND_OUTPUT_DSOUND;
  int driver = 0;
  bool ready = false;
  int rate = 0;
  OutputDevice device;
  // Destroyed before the device: a stream stops before its device closes.
  std::vector<std::unique_ptr<FSOUND_STREAM>> streams;
};

Library& library() {
  static Library instance;
  return instance;
}

std::atomic<int> lastError{FMOD_ERR_NONE};

template <typename Result>
Result fail(int error, Result result) {
  lastError.store(error, std::memory_order_relaxed);
  return result;
}

}  // namespace

float FSOUND_GetVersion() {
  return 3.74f;
}

signed char FSOUND_SetOutput(int outputType) {
  Library& lib = library();
  if (lib.ready) {
    return fail<signed char>(FMOD_ERR_BUSY, 0);
  }
  lib.output = outputType;
  lib.driver = 0;
  return 1;
}

int FSOUND_GetOutput() {
  return library().output;
}

int FSOUND_GetNumDrivers() {
  return static_cast<int>(listDrivers(library().output).size());
}

const char* FSOUND_GetDriverName(int driver) {
  const std::vector<SoundDriver> drivers = listDrivers(library().output);
  if (driver < 0 || driver >= static_cast<int>(drivers.size())) {
    return fail<const char*>(FMOD_ERR_INVALID_PARAM, nullptr);
  }
  return drivers[driver].name;
}

signed char FSOUND_SetDriver(int driver) {
  Library& lib = library();
  if (lib.ready) {
    return fail<signed char>(FMOD_ERR_BUSY, 0);
  }
  if (driver < 0 || driver >= FSOUND_GetNumDrivers()) {
    return fail<signed char>(FMOD_ERR_INVALID_PARAM, 0);
  }
  lib.driver = driver;
  return 1;
}

signed char FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int /*flags*/) {
  Library& lib = library();
  if (lib.ready) {
    return fail<signed char>(FMOD_ERR_BUSY, 0);
  }
  if (mixRate <= 0 || maxSoftwareChannels < 0) {
    return fail<signed char>(FMOD_ERR_INVALID_PARAM, 0);
  }
  const std::vector<SoundDriver> drivers = listDrivers(lib.output);
  if (lib.driver >= static_cast<int>(drivers.size())) {
    return fail<signed char>(FMOD_ERR_INIT, 0);
  }
  const PaDeviceIndex device = drivers[lib.driver].device;
  if (device != paNoDevice) {
    if (const int error = lib.device.open(device, mixRate); error != FMOD_ERR_NONE) {
      return fail<signed char>(error, 0);
    }
  }
  lib.rate = mixRate;
  lib.ready = true;
  return 1;
}

int FSOUND_GetError() {
  return lastError.load(std::memory_order_relaxed);
}

FSOUND_STREAM* FSOUND_Stream_Create(FSOUND_STREAMCALLBACK callback, int length, unsigned int mode,
                                    int sampleRate, void* userdata) {
  Library& lib = library();
  if (!lib.ready) {
    return fail<FSOUND_STREAM*>(FMOD_ERR_UNINITIALIZED, nullptr);
  }
  const bool validMode = (mode & ~FSOUND_2D) == kStreamMode;
  // The stream plays at the device's rate: there is no resampling.
  if (callback == nullptr || length <= 0 || length % kBytesPerFrame != 0 || !validMode ||
      sampleRate != lib.rate) {
    return fail<FSOUND_STREAM*>(FMOD_ERR_INVALID_PARAM, nullptr);
  }
  lib.streams.push_back(std::make_unique<FSOUND_STREAM>(callback, length, sampleRate, userdata));
  return lib.streams.back().get();
}

int FSOUND_Stream_Play(int /*channel*/, FSOUND_STREAM* stream) {
  Library& lib = library();
  if (!lib.ready) {
    return fail(FMOD_ERR_UNINITIALIZED, -1);
  }
  if (!lib.owns(stream)) {
    return fail(FMOD_ERR_INVALID_PARAM, -1);
  }
  // One stream plays at a time, on channel 0 whatever channel is asked.
  if (lib.anyPlaying() || !stream->play(lib.device)) {
    return fail(FMOD_ERR_PLAY, -1);
  }
  return 0;
}

signed char FSOUND_Stream_Close(FSOUND_STREAM* stream) {
  Library& lib = library();
  const auto owned = std::find_if(lib.streams.begin(), lib.streams.end(),
                                  [stream](const auto& each) { return each.get() == stream; });
  if (owned == lib.streams.end()) {
    return fail<signed char>(FMOD_ERR_INVALID_PARAM, 0);
  }
  lib.streams.erase(owned);
  return 1;
}

void FSOUND_Close() {
  library().close();
}
