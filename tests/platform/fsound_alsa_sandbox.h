#pragma once

#include <filesystem>
#include <string>

// A standalone ALSA configuration for this test process, in force from the
// first call on, which must come before PortAudio starts: "default" plays into
// a raw file over the null device, and "broken" into a folder that does not
// exist, so it opens and then fails on its first write. The folder is removed
// at exit.
struct AlsaSandbox {
  std::filesystem::path folder;
  std::filesystem::path capture;  // what "default" played, once it is closed
};

const AlsaSandbox& alsaSandbox();

// The index of the current output's driver with this name; -1 if none.
int driverIndex(const std::string& name);
