// The real synth program in a pseudo-terminal, driven by key presses as a user
// would drive it, with the silent output and SDL's dummy video driver.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/alsa_config.h"
#include "tests/support/synth_process.h"

namespace {

const std::string kRule = "---------------------------------------------------------\n";
const std::string kPress = "Press a corresponding number or ESC to quit\n";
const std::string kOutputMenu = kRule + "Output Type\n" + kRule + "1 - Direct Sound\n" +
                                "2 - Windows Multimedia Waveout\n" + "3 - ASIO\n" +
                                "4 - NoSound\n" + kRule + kPress;
const std::string kNoSoundMenu =
    kRule + "NoSound Driver list\n" + kRule + "1 - NoSound\n" + kRule + kPress;
const std::string kHelp =
    "[aqzs edrftg yhujik olpm our] modifier les trucs \n"
    "[+-] change type OSC1 [7894] le type des LFO1234\n"
    "[wxcvbn,;] pour les notes (foireuxmaismarche)\n";

bool exitedWith(int status, int code) {
  return WIFEXITED(status) && WEXITSTATUS(status) == code;
}

void expectRestored(const PseudoTerminal& terminal) {
  EXPECT_EQ(describe(terminal.settings()), describe(terminal.initial()));
}

size_t count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

// Starts the program and picks the silent output and its driver.
void startSilent(SynthProcess& synth) {
  ASSERT_TRUE(synth.waitFor(kOutputMenu)) << synth.output();
  synth.type("4");
  ASSERT_TRUE(synth.waitFor(kNoSoundMenu)) << synth.output();
  synth.type("1");
  ASSERT_TRUE(synth.waitFor(kHelp)) << synth.output();
}

TEST(SynthTest, PlaysTakesKeysAndQuitsWithDot) {
  PseudoTerminal terminal;
  SynthProcess synth(terminal);
  startSilent(synth);
  EXPECT_EQ(synth.output().find(kOutputMenu + kNoSoundMenu), 0u) << synth.output();

  // The envelope starts closed, so a note starts by itself.
  ASSERT_TRUE(synth.waitFor("MIAM\n")) << synth.output();

  size_t from = synth.output().size();
  synth.type("x");
  ASSERT_TRUE(synth.waitFor("VCA [100.000000][2400.000000] \n", from)) << synth.output();
  const std::string report = synth.output().substr(from);
  EXPECT_NE(report.find("Note [63] -> ["), std::string::npos) << report;
  EXPECT_NE(report.find("Freq [0.000] Ampl [1.000] Phase [1.000] - AFreq [0.000] AAmpl [1.000] "
                        "APhase [1.000]  \n"),
            std::string::npos)
      << report;

  from = synth.output().size();
  synth.type(".");
  EXPECT_TRUE(exitedWith(synth.waitForExit(), 0));
  // One more report for ".", then nothing but the end.
  const std::string last = synth.output().substr(from);
  EXPECT_EQ(count(last, "Note ["), 1u) << last;
  EXPECT_EQ(last.substr(last.size() - 31), "VCA [100.000000][2400.000000] \n") << last;
  expectRestored(terminal);
}

// The amplitude of osc1 in each status report, in order.
std::vector<std::string> osc1Amplitudes(const std::string& reports) {
  std::vector<std::string> values;
  for (size_t at = reports.find("Note ["); at != std::string::npos;
       at = reports.find("Note [", at + 1)) {
    const size_t ampl = reports.find("Ampl [", at);
    values.push_back(reports.substr(ampl + 6, 5));
  }
  return values;
}

TEST(SynthTest, KeysTypedAtOnceAreHandledOneByOne) {
  PseudoTerminal terminal;
  SynthProcess synth(terminal);
  startSilent(synth);
  const size_t from = synth.output().size();
  synth.type("zzszz.");
  EXPECT_TRUE(exitedWith(synth.waitForExit(), 0)) << synth.output().substr(from);
  EXPECT_EQ(osc1Amplitudes(synth.output().substr(from)),
            (std::vector<std::string>{"1.010", "1.020", "1.010", "1.020", "1.030", "1.030"}));
  expectRestored(terminal);
}

TEST(SynthTest, EscapeInTheOutputMenuEndsWithNothingMore) {
  PseudoTerminal terminal;
  SynthProcess synth(terminal);
  ASSERT_TRUE(synth.waitFor(kOutputMenu));
  synth.type("x9\x1b");
  EXPECT_TRUE(exitedWith(synth.waitForExit(), 0));
  EXPECT_EQ(synth.output(), kOutputMenu);
  expectRestored(terminal);
}

TEST(SynthTest, EscapeInTheDriverMenuEndsWithNothingMore) {
  PseudoTerminal terminal;
  SynthProcess synth(terminal);
  ASSERT_TRUE(synth.waitFor(kOutputMenu));
  synth.type("4");
  ASSERT_TRUE(synth.waitFor(kNoSoundMenu));
  synth.type("29\x1b");
  EXPECT_TRUE(exitedWith(synth.waitForExit(), 0));
  EXPECT_EQ(synth.output(), kOutputMenu + kNoSoundMenu);
  expectRestored(terminal);
}

// An ALSA whose default device is listed and opens, but cannot play: the set-up
// fails, the program goes on to its window and help, and the stream is refused.
TEST(SynthTest, RefusedStreamPrintsBothErrorsAndEndsWithCodeOne) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("synth_e2e_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  {
    std::ofstream config(folder / "asound.conf");
    config << alsaFileDevice("!default", folder / "missing" / "out.raw");
  }
  PseudoTerminal terminal;
  SynthProcess synth(terminal, {"ALSA_CONFIG_PATH=" + (folder / "asound.conf").string()});
  ASSERT_TRUE(synth.waitFor(kOutputMenu));
  synth.type("1");
  ASSERT_TRUE(synth.waitFor("Direct Sound Driver list\n" + kRule + "1 - default\n"))
      << synth.output();
  synth.type("1");
  EXPECT_TRUE(exitedWith(synth.waitForExit(), 1));
  const std::string& out = synth.output();
  EXPECT_NE(out.find("Error!\nError initializing output device.\n"), std::string::npos) << out;
  const std::string ending =
      kHelp + "Error!\nThis command failed because FSOUND_Init was not called\n";
  ASSERT_GE(out.size(), ending.size());
  EXPECT_EQ(out.substr(out.size() - ending.size()), ending) << out;
  expectRestored(terminal);
  std::filesystem::remove_all(folder);
}

TEST(SynthTest, WindowThatCannotOpenEndsWithCodeOne) {
  PseudoTerminal terminal;
  SynthProcess synth(terminal, {"SDL_VIDEODRIVER=no-such-driver"});
  ASSERT_TRUE(synth.waitFor(kOutputMenu));
  synth.type("41");
  EXPECT_TRUE(exitedWith(synth.waitForExit(), 1));
  EXPECT_NE(synth.output().find("Cannot open the window"), std::string::npos) << synth.output();
  expectRestored(terminal);
}

struct SignalCase {
  const char* name;
  int signal;
  bool typed;  // Ctrl-C at the terminal rather than kill()
};

class SynthSignalTest : public testing::TestWithParam<SignalCase> {};

TEST_P(SynthSignalTest, DiesByTheSignalWithTheTerminalPutBack) {
  PseudoTerminal terminal;
  SynthProcess synth(terminal);
  startSilent(synth);
  ASSERT_TRUE(synth.waitFor("MIAM\n"));
  if (GetParam().typed) {
    synth.type("\x03");
  } else {
    kill(synth.pid(), GetParam().signal);
  }
  const int status = synth.waitForExit();
  ASSERT_TRUE(WIFSIGNALED(status))
      << status
      << synth.output().substr(synth.output().size() > 3000 ? synth.output().size() - 3000 : 0);
  EXPECT_EQ(WTERMSIG(status), GetParam().signal);
  expectRestored(terminal);
}

INSTANTIATE_TEST_SUITE_P(Signals, SynthSignalTest,
                         testing::Values(SignalCase{"sigint", SIGINT, false},
                                         SignalCase{"ctrl_c", SIGINT, true},
                                         SignalCase{"sigterm", SIGTERM, false},
                                         SignalCase{"sighup", SIGHUP, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
