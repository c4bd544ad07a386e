// Console key bytes interleaved with audio blocks and scope passes.
//
// Every input byte goes to handleCommandKey. A byte from 0xF8 up, a key that
// changes nothing, also takes the action its low three bits select:
//
//   0xF8  render 1 frame             0xFC  render 8192 frames (a stream block)
//   0xF9  render 3 bytes: no frame   0xFD  scope pass: clear, then draw
//   0xFA  render 64 frames + 2 bytes 0xFE  the stream callback on 8192 frames
//   0xFB  render 1023 frames + 1     0xFF  render a negative length: nothing
//
// Each input starts from a fresh voice and ends with a block of kClosingFrames.
// An input takes one full block or scope pass (0xFC to 0xFE) for every whole
// kBytesPerHeavyAction of its length, the first ones it meets: a pass costs
// as much as some hundreds of keys, and a long run goes at the pace of the keys.
//
// After every key the base amplitude, frequency and phase of every oscillator
// are +0 or above 0.0001. (A block may leave less in osc1's frequency, which
// the renderer sets to the note's pitch: below 0.0001 from note -207 down.)
// The guard zones around the audio buffer and the
// surface are compared after every action and at the end of the input; they
// are poisoned as well, so a stray write in between is reported where it
// happens. Any failure aborts, which the fuzzer reports as a crash.
// At exit the bytes fed and the inputs run are printed on standard error.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/app_state.h"
#include "app/command_keys.h"
#include "app/stream_callback.h"
#include "platform/random.h"
#include "scope/draw_scope.h"
#include "scope/screen.h"
#include "synth/frame_renderer.h"
#include "synth/voice.h"
#include "tests/support/fresh_voice.h"
#include "tests/support/guarded_buffer.h"
#include "tests/support/guarded_surface.h"

namespace {

constexpr unsigned char kFirstActionByte = 0xF8;
constexpr size_t kBytesPerHeavyAction = 1024;
constexpr int32_t kClosingFrames = 256;

GuardedBuffer* audio = nullptr;
GuardedSurface* surface = nullptr;
uint64_t bytesFed = 0;
uint64_t inputsRun = 0;

[[noreturn]] void fail(const char* what, size_t at) {
  std::fprintf(stderr, "command_fuzzer: %s after byte %zu of the input\n", what, at);
  std::abort();
}

void checkField(const char* osc, const char* field, float value, size_t at) {
  if (!(value == 0.0f && !std::signbit(value)) && !(static_cast<double>(value) > 0.0001)) {
    std::fprintf(stderr, "command_fuzzer: %s %s = %g\n", osc, field, static_cast<double>(value));
    fail("a base field is neither +0 nor above 0.0001", at);
  }
}

void checkBaseFields(size_t at) {
  const struct {
    const char* name;
    const Oscillator* osc;
  } oscillators[] = {
      {"osc1", osc1}, {"lfo1", lfo1}, {"lfo2", lfo2}, {"lfo3", lfo3}, {"lfo4", lfo4}};
  for (const auto& o : oscillators) {
    if (o.osc == nullptr) {
      fail("an oscillator is missing", at);
    }
    checkField(o.name, "ampl", o.osc->ampl, at);
    checkField(o.name, "freq", o.osc->freq, at);
    checkField(o.name, "phase", o.osc->phase, at);
  }
}

void checkGuards(size_t at) {
  if (!audio->guardsIntact()) {
    fail("a write landed outside the audio buffer", at);
  }
  if (!surface->guardsIntact()) {
    fail("a write landed outside the surface", at);
  }
}

// The usable bytes are exactly the whole frames of `len`, so the bytes past
// the last whole frame lie in the back guard and must stay untouched.
void render(int32_t len) {
  audio->resize(len > 0 ? static_cast<size_t>(len >> 2) * 4 : 0);
  renderFrames(audio->data(), len);
}

void streamBlock() {
  audio->resize(kStreamBytes);
  if (streamCallback(nullptr, audio->data(), kStreamBytes, nullptr) != 1) {
    std::fprintf(stderr, "command_fuzzer: the stream callback did not return 1\n");
    std::abort();
  }
}

void scopePass() {
  clearSurface(screen);
  drawScope();
}

bool isHeavy(unsigned char byte) {
  return byte >= 0xFC && byte <= 0xFE;
}

void act(unsigned char byte) {
  switch (byte - kFirstActionByte) {
    case 0:
      render(4);
      break;
    case 1:
      render(3);
      break;
    case 2:
      render(64 * 4 + 2);
      break;
    case 3:
      render(1023 * 4 + 1);
      break;
    case 4:
      render(kStreamBytes);
      break;
    case 5:
      scopePass();
      break;
    case 6:
      streamBlock();
      break;
    default:
      render(-4);
      break;
  }
}

void report() {
  std::fprintf(stderr, "command_fuzzer: fed %llu bytes in %llu inputs\n",
               static_cast<unsigned long long>(bytesFed),
               static_cast<unsigned long long>(inputsRun));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Every key prints a seven-line report; the fuzzer would spend its time
  // writing them.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) {
    std::perror("command_fuzzer: /dev/null");
    std::abort();
  }
  audio = new GuardedBuffer(kStreamBytes);
  surface = new GuardedSurface();
  if (surface->get() == nullptr) {
    std::fprintf(stderr, "command_fuzzer: no surface: %s\n", SDL_GetError());
    std::abort();
  }
  std::atexit(report);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  freshVoice();
  osc1WaveSel = lfo1WaveSel = lfo2WaveSel = lfo3WaveSel = lfo4WaveSel = 0;
  seedRandom(1);
  screen = surface->get();

  size_t heavyLeft = size / kBytesPerHeavyAction;
  for (size_t i = 0; i < size; ++i) {
    const unsigned char byte = data[i];
    handleCommandKey(byte);
    checkBaseFields(i);
    if (byte >= kFirstActionByte && (!isHeavy(byte) || heavyLeft > 0)) {
      heavyLeft -= isHeavy(byte) ? 1 : 0;
      act(byte);
      checkGuards(i);
    }
  }
  render(kClosingFrames * 4);
  checkGuards(size);

  bytesFed += size;
  ++inputsRun;
  return 0;
}
