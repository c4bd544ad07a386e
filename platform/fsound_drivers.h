#pragma once

#include <portaudio.h>

#include <vector>

// One driver of an output: a PortAudio output device, or, for the silent
// output, no device at all.
struct SoundDriver {
  PaDeviceIndex device;
  const char* name;
};

// The drivers that an output code offers: the output devices of its host API,
// the host API's default device first, in PortAudio's order after it. The
// silent output (0) has one driver, "NoSound"; an unknown code has none.
std::vector<SoundDriver> listDrivers(int outputType);
