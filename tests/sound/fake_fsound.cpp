#include "tests/sound/fake_fsound.h"

#include <initializer_list>
#include <string>

#include "platform/fsound.h"

FakeSound fakeSound;

namespace {

void record(const std::string& call) {
  fakeSound.calls.push_back(call);
}

std::string withArgs(const char* name, std::initializer_list<long long> args) {
  std::string call = name;
  call += '(';
  const char* separator = "";
  for (const long long arg : args) {
    call += separator + std::to_string(arg);
    separator = ", ";
  }
  return call + ')';
}

}  // namespace

float FSOUND_GetVersion() {
  record("GetVersion");
  return fakeSound.version;
}

signed char FSOUND_SetOutput(int outputType) {
  record(withArgs("SetOutput", {outputType}));
  fakeSound.output = outputType;
  return 1;
}

int FSOUND_GetOutput() {
  record("GetOutput");
  return fakeSound.reportedOutput.value_or(fakeSound.output);
}

int FSOUND_GetNumDrivers() {
  record("GetNumDrivers");
  const std::vector<int>& counts = fakeSound.driverCounts;
  if (counts.empty()) {
    return 0;
  }
  const std::size_t asked = fakeSound.driverCountsAsked++;
  return counts[asked < counts.size() ? asked : counts.size() - 1];
}

const char* FSOUND_GetDriverName(int driver) {
  record(withArgs("GetDriverName", {driver}));
  const std::vector<std::string>& names = fakeSound.driverNames;
  return driver >= 0 && static_cast<std::size_t>(driver) < names.size() ? names[driver].c_str()
                                                                        : "";
}

signed char FSOUND_SetDriver(int driver) {
  record(withArgs("SetDriver", {driver}));
  return 1;
}

signed char FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int flags) {
  record(withArgs("Init", {mixRate, maxSoftwareChannels, flags}));
  return fakeSound.initSucceeds ? 1 : 0;
}

int FSOUND_GetError() {
  record("GetError");
  return fakeSound.error;
}

FSOUND_STREAM* FSOUND_Stream_Create(FSOUND_STREAMCALLBACK, int length, unsigned int mode,
                                    int sampleRate, void*) {
  record(withArgs("Stream_Create", {length, mode, sampleRate}));
  return nullptr;
}

int FSOUND_Stream_Play(int channel, FSOUND_STREAM*) {
  record(withArgs("Stream_Play", {channel}));
  return -1;
}

signed char FSOUND_Stream_Close(FSOUND_STREAM*) {
  record("Stream_Close");
  return 1;
}

void FSOUND_Close() {
  record("Close");
}
