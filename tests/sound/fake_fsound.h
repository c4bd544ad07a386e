#pragma once

// A scripted stand-in for the sound library, linked into tests in its place.
// Every FSOUND_* function answers from `fakeSound` and appends itself, with
// its arguments, to `fakeSound.calls`, e.g. "SetOutput(2)" or "GetNumDrivers".
// The stream calls are refused: Stream_Create gives null, Stream_Play -1.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct FakeSound {
  float version = 3.74f;
  // What GetOutput answers; unset, the code that SetOutput set last.
  std::optional<int> reportedOutput;
  int output = 0;
  // Successive answers of GetNumDrivers; the last one repeats.
  std::vector<int> driverCounts = {1};
  std::size_t driverCountsAsked = 0;
  // GetDriverName(i) is driverNames[i], or "" beyond them.
  std::vector<std::string> driverNames = {"Default device"};
  bool initSucceeds = true;
  int error = 0;
  std::vector<std::string> calls;
};

extern FakeSound fakeSound;
