#include "tests/platform/fsound_alsa_sandbox.h"

#include <cstdlib>
#include <fstream>

#include "platform/fsound.h"
#include "tests/support/alsa_config.h"

namespace {

void writeConfig(const AlsaSandbox& sandbox) {
  std::ofstream config(sandbox.folder / "asound.conf");
  config << alsaFileDevice("!default", sandbox.capture)
         << alsaFileDevice("broken", sandbox.folder / "missing" / "broken.raw");
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
