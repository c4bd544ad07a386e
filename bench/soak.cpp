// Soak of the real synth program: runs it in a pseudo-terminal again and again
// for a long while, one run a minute, each through ALSA's file device (ALSA,
// driver "default"), typing random console keys at 50 a second and quitting
// with ".". Every run must end with exit code 0 and the terminal as it was,
// every key must get its status report, and the captured sound must be whole
// 16-bit stereo blocks, left equal to right, as many as the time played asks.
//
//   soak [seconds [run seconds]]      (default 600 and 60)
//
// SYNTH_PROGRAM names the program; by default the one of this build.
//
// The program prints no counters. A file device takes every write at once, so
// the stream's pace is all there is to see of an underflow: a fill call late
// by a block or more would show as a block count behind the time played.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/fsound.h"
#include "tests/support/alsa_config.h"
#include "tests/support/synth_process.h"

namespace {

using Clock = std::chrono::steady_clock;

double soakSeconds = 600.0;
double runSeconds = 60.0;

constexpr auto kKeyInterval = std::chrono::milliseconds(20);  // 50 keys a second
constexpr int64_t kBlockFrames = 8192;
constexpr double kBlockSeconds = kBlockFrames / 44100.0;
// Blocks the count may be off by: the stream starts somewhere between the
// help and our reading of it, and the device may drop the block it was
// playing when the stream stops.
constexpr int64_t kBlockSlack = 1;

const char kConsoleKeys[] = "aqxcvbn,;:=zsedrftgyhujikolpm+7894";
const char kLastHelpLine[] = "[wxcvbn,;] pour les notes (foireuxmaismarche)\n";

double secondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

size_t count(const std::string& text, const std::string& part, size_t from) {
  size_t n = 0;
  for (size_t at = text.find(part, from); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

// The captured sound: the silence FSOUND_Init plays to prove the device, of
// the same length in every run, then the stream's blocks.
std::vector<int16_t> readCapture(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  if (bytes.size() % 4 != 0) {
    samples.push_back(0);  // a torn frame shows as a size that is no whole frame
  }
  return samples;
}

// One start of the program: its keys, its end and its sound.
struct SynthRun {
  int status = -1;
  bool terminalRestored = false;
  int64_t keys = 0;
  size_t reports = 0;     // status reports after the help
  size_t autoNotes = 0;   // notes started by the auto-play
  double quitAfter = 0;   // seconds from the help to "."
  double endedAfter = 0;  // seconds from the help to the end
  std::vector<int16_t> samples;
  bool complete = false;  // got as far as reading the sound

  // The file device keeps what has been played, whole blocks of it: fewer
  // than the blocks played until ".", no more than the blocks filled in the
  // time played, two at once and then one every block.
  int64_t fewestBlocks() const { return static_cast<int64_t>(quitAfter / kBlockSeconds); }
  int64_t mostBlocks() const { return 2 + static_cast<int64_t>(endedAfter / kBlockSeconds); }
};

class Soak : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "synth_soak.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    capture_ = folder_ / "capture.raw";
    std::ofstream config(folder_ / "asound.conf");
    config << alsaFileDevice("!default", capture_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Starts the program on ALSA's default device, types `seconds` of keys,
  // then ".".
  void play(double seconds, SynthRun& run) {
    std::filesystem::remove(capture_);
    PseudoTerminal terminal;
    SynthProcess synth(terminal, {"ALSA_CONFIG_PATH=" + (folder_ / "asound.conf").string()});
    ASSERT_TRUE(synth.waitFor("Output Type\n")) << synth.output();
    synth.type("1");
    ASSERT_TRUE(synth.waitFor("Direct Sound Driver list\n")) << synth.output();
    ASSERT_TRUE(synth.waitFor("1 - default\n")) << synth.output();
    synth.type("1");
    ASSERT_TRUE(synth.waitFor(kLastHelpLine)) << synth.output();
    const Clock::time_point playing = Clock::now();
    const size_t afterHelp = synth.output().find(kLastHelpLine) + sizeof kLastHelpLine - 1;

    for (Clock::time_point next = playing + kKeyInterval; secondsBetween(playing, next) < seconds;
         next += kKeyInterval) {
      std::this_thread::sleep_until(next);
      ASSERT_TRUE(synth.running()) << "ended after " << run.keys << " keys";
      synth.type(std::string(1, kConsoleKeys[random_() % (sizeof kConsoleKeys - 1)]));
      ++run.keys;
      synth.output();  // keeps the terminal from filling up
    }
    run.quitAfter = secondsBetween(playing, Clock::now());
    synth.type(".");
    run.status = synth.waitForExit();
    run.endedAfter = secondsBetween(playing, Clock::now());
    run.terminalRestored = describe(terminal.settings()) == describe(terminal.initial());
    run.reports = count(synth.output(), "Note [", afterHelp);
    run.autoNotes = count(synth.output(), "MIAM\n", afterHelp);
    run.samples = readCapture(capture_);
    run.complete = true;
  }

  // What FSOUND_Init alone leaves in the capture file: the program's runs
  // start with the same.
  void measureProofSilence() {
    setenv("ALSA_CONFIG_PATH", (folder_ / "asound.conf").c_str(), 1);
    ASSERT_TRUE(FSOUND_SetOutput(FSOUND_OUTPUT_ALSA));
    ASSERT_TRUE(FSOUND_SetDriver(0));  // "default", listed first
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0)) << FSOUND_GetError();
    FSOUND_Close();
    proofFrames_ = static_cast<int64_t>(readCapture(capture_).size() / 2);
    std::printf("proof silence: %lld frames\n", static_cast<long long>(proofFrames_));
  }

  void check(int index, const SynthRun& run) {
    const int64_t frames = static_cast<int64_t>(run.samples.size() / 2);
    const int64_t blocks = (frames - proofFrames_) / kBlockFrames;
    const int64_t torn = (frames - proofFrames_) % kBlockFrames;
    int64_t loudProof = 0;
    int64_t unequal = 0;
    int64_t sounding = 0;
    for (int64_t i = 0; i < frames; ++i) {
      const int16_t left = run.samples[2 * i];
      unequal += left != run.samples[2 * i + 1] ? 1 : 0;
      (i < proofFrames_ ? loudProof : sounding) += left != 0 ? 1 : 0;
    }
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0)
        << "wait status " << run.status;
    EXPECT_TRUE(run.terminalRestored);
    EXPECT_EQ(run.reports, static_cast<size_t>(run.keys + 1)) << "a status report for every key";
    EXPECT_EQ(run.samples.size() % 2, 0u) << "whole frames";
    EXPECT_EQ(torn, 0) << "whole blocks after the proof silence";
    EXPECT_EQ(loudProof, 0) << "the proof silence is silent";
    EXPECT_EQ(unequal, 0) << "left equals right";
    EXPECT_GE(blocks, run.fewestBlocks() - kBlockSlack) << "blocks behind the time played";
    EXPECT_LE(blocks, run.mostBlocks() + kBlockSlack) << "blocks ahead of the time played";
    EXPECT_GT(sounding, 0) << "the synth was heard";

    std::printf(
        "run %d: %.1f s, %lld keys, %zu reports, %zu auto-play notes, exit %s, terminal %s; "
        "%lld frames = proof silence + %lld blocks%s (time played: %lld to %lld), "
        "%lld sounding frames, %lld with left != right\n",
        index, run.endedAfter, static_cast<long long>(run.keys), run.reports, run.autoNotes,
        WIFEXITED(run.status) ? std::to_string(WEXITSTATUS(run.status)).c_str() : "abnormal",
        run.terminalRestored ? "restored" : "CHANGED", static_cast<long long>(frames),
        static_cast<long long>(blocks), torn != 0 ? " and a torn one" : "",
        static_cast<long long>(run.fewestBlocks()), static_cast<long long>(run.mostBlocks()),
        static_cast<long long>(sounding), static_cast<long long>(unequal));
    std::fflush(stdout);
  }

  std::filesystem::path folder_;
  std::filesystem::path capture_;
  int64_t proofFrames_ = 0;
  uint32_t seed_ = std::random_device{}();
  std::mt19937 random_{seed_};
};

TEST_F(Soak, KeysAtFiftyASecondAndARestartEveryRun) {
  std::printf("keys drawn from seed %u\n", seed_);
  measureProofSilence();
  ASSERT_FALSE(HasFatalFailure());
  auto failures = [] {
    return testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
  };
  const Clock::time_point start = Clock::now();
  int failedRuns = 0;
  int index = 1;
  for (;; ++index) {
    const double left = soakSeconds - secondsBetween(start, Clock::now());
    if (left < 1.0) {
      break;
    }
    SCOPED_TRACE("run " + std::to_string(index));
    const int before = failures();
    SynthRun run;
    play(std::min(left, runSeconds), run);
    if (run.complete) {
      check(index, run);
    }
    failedRuns += failures() > before ? 1 : 0;
  }
  std::printf("%d runs in %.0f s, %d with a failure\n", index - 1,
              secondsBetween(start, Clock::now()), failedRuns);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) {
    soakSeconds = std::atof(argv[1]);
  }
  if (argc > 2) {
    runSeconds = std::atof(argv[2]);
  }
  return RUN_ALL_TESTS();
}
