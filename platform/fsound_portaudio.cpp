#include "platform/fsound_portaudio.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <portaudio.h>

// PortAudio's hook for its own diagnostics ("Expression ... failed" on every
// failing host call). Its shared library hides it and its headers do not
// declare it, so the library is linked from its static archive.
extern "C" void PaUtil_SetDebugPrintFunction(void (*print)(const char* text));

namespace {

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void ignoreMessage(const char*) {}

bool initialise() {
  snd_lib_error_set_handler(ignoreAlsaMessage);
  jack_set_error_function(ignoreMessage);
  jack_set_info_function(ignoreMessage);
  PaUtil_SetDebugPrintFunction(ignoreMessage);
  return Pa_Initialize() == paNoError;
}

}  // namespace

bool startPortAudio() {
  static const bool running = initialise();
  return running;
}
