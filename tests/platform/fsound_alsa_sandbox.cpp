#include "tests/platform/fsound_alsa_sandbox.h"

#include <cstdlib>
#include <fstream>

#include "platform/fsound.h"

namespace {

void writeConfig(const AlsaSandbox& sandbox) {
  const auto device = [](const std::string& name, const std::filesystem::path& file) {
    return "pcm." + name + " {\n  type file\n  slave { pcm { type null } }\n  file \"" +
           file.string() + "\"\n  format \"raw\"\n}\n";
  };
  std::ofstream config(sandbox.folder / "asound.conf");
  config << device("!default", sandbox.capture)
         << device("broken", sandbox.folder / "missing" / "broken.raw");
}

struct OwnedSandbox : AlsaSandbox {
  OwnedSandbox() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fsound_test.XXXXXX").string();
    folder = mkdtemp(pattern.data());
    capture = folder / "default.raw";
    writeConfig(*this);
    setenv("ALSA_CONFIG_PATH", (folder / "asound.conf").c_str(), 1);
  }
  ~OwnedSandbox() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

}  // namespace

const AlsaSandbox& alsaSandbox() {
  static const OwnedSandbox sandbox;
  return sandbox;
}

int driverIndex(const std::string& name) {
  for (int i = 0; i < FSOUND_GetNumDrivers(); ++i) {
    if (name == FSOUND_GetDriverName(i)) {
      return i;
    }
  }
  return -1;
}
