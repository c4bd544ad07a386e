#include "platform/fsound_drivers.h"

#include <optional>

#include "platform/fsound.h"
#include "platform/fsound_portaudio.h"

namespace {

std::optional<PaHostApiTypeId> hostApiOf(int outputType) {
  switch (outputType) {
    case FSOUND_OUTPUT_WINMM:
    case FSOUND_OUTPUT_OSS:
      return paOSS;
    case FSOUND_OUTPUT_DSOUND:
    case FSOUND_OUTPUT_ALSA:
      return paALSA;
    case FSOUND_OUTPUT_ASIO:
      return paJACK;
    default:
      return std::nullopt;
  }
}

bool isOutputDevice(PaDeviceIndex device) {
  const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
  return info != nullptr && info->maxOutputChannels > 0;
}

void addDevice(std::vector<SoundDriver>& drivers, PaDeviceIndex device) {
  drivers.push_back({device, Pa_GetDeviceInfo(device)->name});
}

}  // namespace

std::vector<SoundDriver> listDrivers(int outputType) {
  if (outputType == FSOUND_OUTPUT_NOSOUND) {
    return {{paNoDevice, "NoSound"}};
  }
  const std::optional<PaHostApiTypeId> type = hostApiOf(outputType);
  if (!type || !startPortAudio()) {
    return {};
  }
  const PaHostApiIndex api = Pa_HostApiTypeIdToHostApiIndex(*type);
  const PaHostApiInfo* info = api < 0 ? nullptr : Pa_GetHostApiInfo(api);
  if (info == nullptr) {
    return {};
  }
  std::vector<SoundDriver> drivers;
  const PaDeviceIndex preferred = info->defaultOutputDevice;
  if (preferred != paNoDevice && isOutputDevice(preferred)) {
    addDevice(drivers, preferred);
  }
  for (int i = 0; i < info->deviceCount; ++i) {
    const PaDeviceIndex device = Pa_HostApiDeviceIndexToDeviceIndex(api, i);
    if (device != preferred && isOutputDevice(device)) {
      addDevice(drivers, device);
    }
  }
  return drivers;
}
