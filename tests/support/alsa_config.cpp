#include "tests/support/alsa_config.h"

std::string alsaFileDevice(const std::string& name, const std::filesystem::path& file) {
  return "pcm." + name + " {\n  type file\n  slave { pcm { type null } }\n  file \"" +
         file.string() + "\"\n  format \"raw\"\n}\n";
}
