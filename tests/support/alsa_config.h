#pragma once

#include <filesystem>
#include <string>

// The text of an ALSA PCM device that plays into a raw file over the null
// device: 16-bit frames as the program writes them, and no sound card. A file
// in a folder that does not exist gives a device that opens and then fails on
// its first write.
std::string alsaFileDevice(const std::string& name, const std::filesystem::path& file);
