#include "sound/setup_sound.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "platform/console.h"
#include "platform/fsound.h"
#include "sound/sound_error_text.h"
#include "synth/frame_renderer.h"

namespace {

constexpr float kRequiredVersion = 3.74f;
constexpr int kSoftwareChannels = 32;
constexpr unsigned kInitFlags = 0;

constexpr int kEscape = 27;
constexpr const char* kSeparator = "---------------------------------------------------------\n";
constexpr const char* kMenuPrompt = "Press a corresponding number or ESC to quit\n";

// The output code of each menu key, '1' to '4'.
constexpr int kMenuOutputs[] = {FSOUND_OUTPUT_DSOUND, FSOUND_OUTPUT_WINMM, FSOUND_OUTPUT_ASIO,
                                FSOUND_OUTPUT_NOSOUND};

// Indexed by output code; code 3 has no name.
constexpr const char* kOutputNames[] = {
    "NoSound",           "Windows Multimedia Waveout", "Direct Sound", "",
    "Open Sound System", "Enlightment Sound Daemon",   "Alsa",         "ASIO",
};

const char* outputName(int code) {
  const unsigned index = static_cast<unsigned>(code);
  return index < std::size(kOutputNames) ? kOutputNames[index] : "";
}

// The next menu key. Escape leaves the program. So does the end of input:
// with no keys left the dialogue can never finish, and closing the input is
// the user leaving it, as Ctrl-D leaves a shell prompt.
int readMenuKey() {
  const int key = consoleReadKey();
  if (key == kEscape || key < 0) {
    exit(0);
  }
  return key;
}

void chooseOutput() {
  printf("%s", kSeparator);
  printf("Output Type\n");
  printf("%s", kSeparator);
  printf("1 - Direct Sound\n");
  printf("2 - Windows Multimedia Waveout\n");
  printf("3 - ASIO\n");
  printf("4 - NoSound\n");
  printf("%s", kSeparator);
  printf("%s", kMenuPrompt);

  for (;;) {
    const int key = readMenuKey();
    if (key >= '1' && key < '1' + static_cast<int>(std::size(kMenuOutputs))) {
      FSOUND_SetOutput(kMenuOutputs[key - '1']);
      return;
    }
  }
}

void chooseDriver() {
  printf("%s", kSeparator);
  printf("%s", outputName(FSOUND_GetOutput()));
  printf(" Driver list\n");
  printf("%s", kSeparator);
  for (int i = 0; i < FSOUND_GetNumDrivers(); ++i) {
    printf("%d - %s\n", i + 1, FSOUND_GetDriverName(i));
  }
  printf("%s", kSeparator);
  printf("%s", kMenuPrompt);

  for (;;) {
    // The key is a signed byte: codes 128 to 255 give negative indices.
    const int driver = static_cast<signed char>(readMenuKey()) - '1';
    if (driver >= 0 && driver < FSOUND_GetNumDrivers()) {
      FSOUND_SetDriver(driver);
      return;
    }
  }
}

}  // namespace

void setupSound() {
  // Written as "not at least" so that a version that is not a number is
  // refused too.
  if (!(FSOUND_GetVersion() >= kRequiredVersion)) {
    printf("Error : You are using the wrong DLL version!  You should be using FMOD %.02f\n",
           kRequiredVersion);
    return;
  }

  chooseOutput();
  chooseDriver();

  if (!FSOUND_Init(kMixRate, kSoftwareChannels, kInitFlags)) {
    printf("Error!\n");
    printf("%s\n", soundErrorText(FSOUND_GetError()));
  }
}
