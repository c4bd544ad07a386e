// The real stream on the silent output, filled by the program's own fill
// function into a 640 x 800 window surface, while the main thread hammers the
// voice with console keys, note events and window events. Between storms notes
// are started on a known voice, at points spread over a running fill call, and
// each must be heard from the next call on, its envelope rising from zero.
#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <stop_token>
#include <string>
#include <thread>

#include "app/command_keys.h"
#include "app/stream_callback.h"
#include "app/window_events.h"
#include "platform/fsound.h"
#include "scope/screen.h"
#include "synth/voice.h"
#include "tests/support/fresh_voice.h"

namespace {

using std::chrono::milliseconds;

#if defined(__SANITIZE_THREAD__)
constexpr bool kThreadSanitizer = true;
#elif defined(__has_feature)
constexpr bool kThreadSanitizer = __has_feature(thread_sanitizer);
#else
constexpr bool kThreadSanitizer = false;
#endif

constexpr int kRate = 44100;
constexpr int kBlockBytes = 32768;
constexpr unsigned int kMode = 0x1000150;

// Each storm lasts at least this many fill calls and sends at least its share
// of the bytes. Release builds send more bytes than the share in that time;
// under ThreadSanitizer a key costs several times as much.
constexpr int kStorms = 4;
constexpr int kMinimumBytes = 100000;
constexpr int64_t kCallsPerStorm = 2;
constexpr int kNotesPerCheck = 3;
// Where in a fill call a checked note starts, as shares of the last call's
// length: in the clear, the frames, the scope pass or the flip.
constexpr double kNoteOffsets[] = {0.05, 0.3, 0.55, 0.8};

// Envelope time per fill call: 8192 frames, then the scope's 12802 steps,
// 0.05 each. A float time gathers rounding error on every one of those ticks.
constexpr double kTimePerCall = (8192 + 12802) * 0.05;
constexpr double kTimeSlack = 10.0;
// The check's attack is longer than two calls, so its level is still rising.
constexpr float kCheckAttack = 10000.0f;
constexpr float kCheckDecay = 1.0e6f;

// How long anything may take before the test counts it as stuck.
constexpr auto kCallPatience = std::chrono::seconds(30);
constexpr auto kWholeTestLimit = std::chrono::seconds(kThreadSanitizer ? 300 : 120);

const char kConsoleKeys[] = "aqxcvbn,;:=zsedrftgyhujikolpm+7894";

// Ends the process when the test has not finished in time, so that a deadlock
// fails rather than hangs.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit)
      : thread_([this, limit](std::stop_token stop) {
          std::unique_lock lock(mutex_);
          wakeUp_.wait_for(lock, stop, limit, [] { return false; });
          if (!stop.stop_requested()) {
            std::fprintf(stderr, "stream stress test stuck for %lld s\n",
                         static_cast<long long>(limit.count()));
            std::abort();
          }
        }) {}

 private:
  std::mutex mutex_;
  std::condition_variable_any wakeUp_;
  std::jthread thread_;  // last: stops and joins before the rest goes
};

// Standard output goes to /dev/null while it lives: the status report of
// every key would otherwise take most of the run.
class QuietStdout {
 public:
  QuietStdout() {
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    close(null);
  }
  ~QuietStdout() {
    std::fflush(stdout);
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
  }
  QuietStdout(const QuietStdout&) = delete;
  QuietStdout& operator=(const QuietStdout&) = delete;

 private:
  int saved_ = -1;
};

// What the audio thread left behind at the end of one fill call.
struct CallRecord {
  float time;
  float level;
  int32_t gate;
  int32_t peak;  // largest sample magnitude of the block
  bool leftIsRight;
  signed char result;
};

// The program's fill function, and a record of every call made of it.
class ListenedStream {
 public:
  static signed char fill(FSOUND_STREAM* stream, void* buffer, int length, void* userdata) {
    auto* self = static_cast<ListenedStream*>(userdata);
    self->started_.fetch_add(1);
    const auto start = std::chrono::steady_clock::now();
    const signed char result = streamCallback(stream, buffer, length, nullptr);
    self->lastLength_.store((std::chrono::steady_clock::now() - start).count());
    self->recordCall(buffer, length, result);
    return result;
  }

  int64_t started() const { return started_.load(); }
  int64_t completed() const { return completed_.load(std::memory_order_acquire); }
  std::chrono::steady_clock::duration lastCallLength() const {
    return std::chrono::steady_clock::duration(lastLength_.load());
  }

  // The record of call `index` (from 0), once completed() has passed it.
  const CallRecord& record(int64_t index) const { return records_.at(index); }

  // Waits until `calls` fill calls have completed; false when the stream
  // stalls.
  bool waitForCalls(int64_t calls) const {
    const auto start = std::chrono::steady_clock::now();
    while (completed() < calls) {
      if (std::chrono::steady_clock::now() - start > kCallPatience) {
        return false;
      }
      std::this_thread::sleep_for(milliseconds(5));
    }
    return true;
  }

  // Spins until `calls` fill calls have started, so as to act within the last
  // one; false when the stream stalls.
  bool waitForStart(int64_t calls) const {
    const auto start = std::chrono::steady_clock::now();
    while (started() < calls) {
      if (std::chrono::steady_clock::now() - start > kCallPatience) {
        return false;
      }
      std::this_thread::yield();
    }
    return true;
  }

 private:
  void recordCall(const void* buffer, int length, signed char result) {
    const int64_t call = completed_.load(std::memory_order_relaxed);
    if (call < static_cast<int64_t>(records_.size())) {
      CallRecord& r = records_[call];
      r = {vca->time, vca->level, vca->gate, 0, true, result};
      const auto* bytes = static_cast<const unsigned char*>(buffer);
      for (int i = 0; i + 4 <= length; i += 4) {
        int16_t frame[2];
        std::memcpy(frame, bytes + i, sizeof frame);
        r.peak = std::max(r.peak, std::abs(int32_t{frame[0]}));
        r.leftIsRight = r.leftIsRight && frame[0] == frame[1];
      }
    }
    completed_.store(call + 1, std::memory_order_release);
  }

  // About 5.4 calls a second: room for minutes of run.
  std::array<CallRecord, 4096> records_{};
  std::atomic<int64_t> started_{0};
  std::atomic<int64_t> completed_{0};
  std::atomic<std::chrono::steady_clock::rep> lastLength_{0};
};

class StreamStressTest : public testing::Test {
 protected:
  void SetUp() override {
    freshVoice();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    screen = SDL_SetVideoMode(640, 800, 32, SDL_SWSURFACE);
    ASSERT_NE(screen, nullptr) << SDL_GetError();
    ASSERT_EQ(screen->format->BytesPerPixel, 4);
  }

  void TearDown() override {
    SDL_Quit();
    screen = nullptr;
  }

  // Console keys, note events and window events as fast as they go, for at
  // least `bytes` keys and kCallsPerStorm fill calls.
  void storm(int bytes) {
    const QuietStdout quiet;
    const int64_t until = stream_.completed() + kCallsPerStorm;
    for (int sent = 0; sent < bytes || stream_.completed() < until; ++sent) {
      const uint32_t draw = random_();
      // One key in sixteen is any byte at all.
      const auto key = static_cast<unsigned char>(
          draw % 16 == 0 ? draw >> 8 : kConsoleKeys[(draw >> 8) % (sizeof kConsoleKeys - 1)]);
      handleCommandKey(key);
      ++bytesSent_;
      if (draw % 8 == 1) {
        noteEvent(draw >> 16);
      }
      if (draw % 64 == 2) {
        windowEvents(draw >> 16);
      }
    }
  }

  static void noteEvent(uint32_t draw) {
    switch (draw % 4) {
      case 0:
        vca->noteOn();
        break;
      case 1:
        vca->noteOff();
        break;
      case 2:
        note = 40 + static_cast<int32_t>(draw % 50);
        break;
      default:
        note = 40 + static_cast<int32_t>(draw % 50);
        vca->noteOn();
        break;
    }
  }

  // A few key presses and releases of the window's note keys and the
  // auto-play event, handled as the main loop handles them. Never Escape.
  static void windowEvents(uint32_t draw) {
    const SDLKey keys[] = {SDLK_z, SDLK_x, SDLK_c, SDLK_v, SDLK_b, SDLK_n, SDLK_a};
    for (uint32_t i = 0; i <= draw % 3; ++i) {
      SDL_Event e{};
      const uint32_t kind = (draw >> (4 * i)) % 3;
      e.type = kind == 0 ? SDL_KEYDOWN : kind == 1 ? SDL_KEYUP : SDL_USEREVENT;
      if (e.type != SDL_USEREVENT) {
        e.key.type = e.type;
        e.key.state = e.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = keys[(draw >> (4 * i + 2)) % 7];
      }
      SDL_PushEvent(&e);
    }
    pumpWindowEvents();
    autoPlayCheck();
  }

  // A voice whose notes neither end nor are modulated while it is checked,
  // at full amplitude, with an attack longer than the check.
  static void checkVoice() {
    osc1->ampl = 1.0f;
    osc1->wave = 1;
    for (Oscillator* lfo : {lfo1, lfo2, lfo3, lfo4}) {
      lfo->ampl = 0.0f;
    }
    note = 58;
    vca->attack = kCheckAttack;
    vca->decay = kCheckDecay;
  }

  // A note started, with no key arriving meanwhile, at `offset` of a fill
  // call: the first call that starts after it ends with the gate open and the
  // envelope restarted from zero, still in its attack, and its block holds the
  // note rising with it. A note whose restart was lost would carry on from
  // the note before, which had sounded for at least a whole call.
  void expectNoteHeard(double offset) {
    ASSERT_TRUE(stream_.waitForStart(stream_.started() + 1));
    const auto into = std::chrono::steady_clock::now() +
                      std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                          stream_.lastCallLength() * offset);
    while (std::chrono::steady_clock::now() < into) {
    }
    vca->noteOn();
    // Calls from `first` on start after the note; `first` - 1 may be running.
    const int64_t first = stream_.started();
    notesInsideCalls_ += stream_.completed() < first ? 1 : 0;
    ASSERT_TRUE(stream_.waitForCalls(first + 1));
    const CallRecord& r = stream_.record(first);
    EXPECT_EQ(r.gate, 1);
    EXPECT_GE(r.time, kTimePerCall - kTimeSlack);
    EXPECT_LE(r.time, 2 * kTimePerCall + kTimeSlack);
    EXPECT_NEAR(r.level, r.time / kCheckAttack, 1e-4);
    // The block ends before the scope's 640.1 time units: a sine at 440 Hz
    // peaks within the last 100 frames at nearly the level reached there.
    const double levelAtBlockEnd = (r.time - 12802 * 0.05 - kTimeSlack) / kCheckAttack;
    EXPECT_GE(r.peak, 0.95 * 10000.0 * levelAtBlockEnd);
    EXPECT_LE(r.peak, 10000.0 * r.level + 1.0);
  }

  ListenedStream stream_;
  std::mt19937 random_{20240611};
  int64_t bytesSent_ = 0;
  int notesInsideCalls_ = 0;
};

TEST_F(StreamStressTest, KeysAndNotesRaceTheStreamAndNoNoteIsLost) {
  const Watchdog watchdog(kWholeTestLimit);
  ASSERT_TRUE(FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND));
  ASSERT_TRUE(FSOUND_SetDriver(0));
  ASSERT_TRUE(FSOUND_Init(kRate, 32, 0)) << FSOUND_GetError();
  FSOUND_STREAM* stream =
      FSOUND_Stream_Create(ListenedStream::fill, kBlockBytes, kMode, kRate, &stream_);
  ASSERT_NE(stream, nullptr) << FSOUND_GetError();
  ASSERT_EQ(FSOUND_Stream_Play(0, stream), 0) << FSOUND_GetError();

  int notes = 0;
  for (int s = 0; s < kStorms && !HasFatalFailure(); ++s) {
    storm(kMinimumBytes / kStorms);
    checkVoice();
    for (int n = 0; n < kNotesPerCheck && !HasFatalFailure(); ++n, ++notes) {
      SCOPED_TRACE("storm " + std::to_string(s) + ", note " + std::to_string(n));
      expectNoteHeard(kNoteOffsets[notes % std::size(kNoteOffsets)]);
    }
  }

  EXPECT_TRUE(FSOUND_Stream_Close(stream));
  FSOUND_Close();
  const int64_t calls = stream_.completed();
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(stream_.completed(), calls) << "a fill call after the stream was closed";

  EXPECT_GE(bytesSent_, kMinimumBytes);
  ASSERT_LE(calls, 4096);
  for (int64_t i = 0; i < calls; ++i) {
    EXPECT_EQ(stream_.record(i).result, 1) << "call " << i;
    EXPECT_TRUE(stream_.record(i).leftIsRight) << "call " << i;
  }
  std::printf("%lld bytes, %lld fill calls, %d checked notes, %d of them started inside a call\n",
              static_cast<long long>(bytesSent_), static_cast<long long>(calls), notes,
              notesInsideCalls_);
}

}  // namespace
