#include "platform/fsound_device.h"

#include <algorithm>
#include <vector>

#include "platform/fsound.h"

namespace {

constexpr int kChannels = 2;
// Room for a whole 8192-frame block at 44100 Hz and more, so that the next
// block is filled while the one before it is heard.
constexpr double kLatencySeconds = 0.4;
// What FSOUND_Init writes beyond what the device can hold, so that it must
// play (or pass on) some of it: about 23 ms at 44100 Hz.
constexpr int64_t kProofFrames = 1024;
// Frames converted to floats at a time, for JACK.
constexpr int64_t kFloatStretchFrames = 1024;

// PortAudio 19.6 overruns a buffer of its own when a JACK stream that is
// written to takes anything but JACK's own 32-bit float samples.
PaSampleFormat sampleFormatFor(const PaDeviceInfo& info) {
  const PaHostApiInfo* api = Pa_GetHostApiInfo(info.hostApi);
  return api != nullptr && api->type == paJACK ? paFloat32 : paInt16;
}

}  // namespace

int openErrorCode(PaError error) {
  switch (error) {
    case paNoError:
      return FMOD_ERR_NONE;
    case paDeviceUnavailable:
      return FMOD_ERR_ALLOCATED;
    case paInvalidSampleRate:
    case paSampleFormatNotSupported:
    case paInvalidChannelCount:
      return FMOD_ERR_OUTPUT_FORMAT;
    default:
      return FMOD_ERR_INIT;
  }
}

int OutputDevice::open(PaDeviceIndex device, int rate) {
  close();
  const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
  if (info == nullptr) {
    return FMOD_ERR_INIT;
  }
  const PaSampleFormat format = sampleFormatFor(*info);
  const PaStreamParameters parameters{device, kChannels, format,
                                      std::max(info->defaultHighOutputLatency, kLatencySeconds),
                                      nullptr};
  const PaError error = Pa_OpenStream(&stream_, nullptr, &parameters, rate,
                                      paFramesPerBufferUnspecified, paNoFlag, nullptr, nullptr);
  if (error != paNoError) {
    stream_ = nullptr;
    return openErrorCode(error);
  }
  if (format == paFloat32) {
    floatFrames_.resize(kFloatStretchFrames * kChannels);
  }
  // Before the first write the whole buffer is free.
  bufferFrames_ = std::max<int64_t>(Pa_GetStreamWriteAvailable(stream_), 0);
  if (!playsSilence()) {
    close();
    return FMOD_ERR_INIT;
  }
  return FMOD_ERR_NONE;
}

bool OutputDevice::playsSilence() {
  const int64_t frames = bufferFrames_ + kProofFrames;
  const std::vector<int16_t> silence(frames * kChannels);
  if (Pa_StartStream(stream_) != paNoError) {
    return false;
  }
  const WriteResult written = write(silence.data(), frames);
  // The rest of the silence need not be heard.
  const PaError stopped = Pa_AbortStream(stream_);
  return written != WriteResult::failed && stopped == paNoError;
}

void OutputDevice::close() {
  if (stream_ != nullptr) {
    Pa_CloseStream(stream_);
    stream_ = nullptr;
  }
  floatFrames_.clear();
}

bool OutputDevice::start() {
  return stream_ == nullptr || Pa_StartStream(stream_) == paNoError;
}

void OutputDevice::stop() {
  if (stream_ != nullptr && Pa_StopStream(stream_) != paNoError) {
    Pa_AbortStream(stream_);
  }
}

WriteResult OutputDevice::write(const int16_t* frames, int64_t frameCount) {
  if (stream_ == nullptr) {
    return WriteResult::played;
  }
  const PaError error = floatFrames_.empty() ? Pa_WriteStream(stream_, frames, frameCount)
                                             : writeAsFloats(frames, frameCount);
  switch (error) {
    case paNoError:
      return WriteResult::played;
    case paOutputUnderflowed:
      return WriteResult::underflowed;
    default:
      return WriteResult::failed;
  }
}

PaError OutputDevice::writeAsFloats(const int16_t* frames, int64_t frameCount) {
  PaError result = paNoError;
  for (int64_t done = 0; done < frameCount; done += kFloatStretchFrames) {
    const int64_t count = std::min(kFloatStretchFrames, frameCount - done);
    const int16_t* samples = frames + done * kChannels;
    for (int64_t i = 0; i < count * kChannels; ++i) {
      floatFrames_[i] = samples[i] / 32768.0f;
    }
    const PaError error = Pa_WriteStream(stream_, floatFrames_.data(), count);
    if (error != paNoError && error != paOutputUnderflowed) {
      return error;
    }
    if (error == paOutputUnderflowed) {
      result = error;
    }
  }
  return result;
}

int64_t OutputDevice::pendingFrames() const {
  if (stream_ == nullptr) {
    return 0;
  }
  const int64_t available = Pa_GetStreamWriteAvailable(stream_);
  return available < 0 ? 0 : std::max<int64_t>(bufferFrames_ - available, 0);
}
