#include "sound/setup_sound.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "tests/sound/fake_fsound.h"

namespace {

const std::string kSeparator = std::string(57, '-') + "\n";
const std::string kPrompt = "Press a corresponding number or ESC to quit\n";
const std::string kOutputMenu = kSeparator + "Output Type\n" + kSeparator + "1 - Direct Sound\n" +
                                "2 - Windows Multimedia Waveout\n" + "3 - ASIO\n" +
                                "4 - NoSound\n" + kSeparator + kPrompt;
const std::string kVersionRefused =
    "Error : You are using the wrong DLL version!  You should be using FMOD 3.74\n";
const std::string kInit = "Init(44100, 32, 0)";

std::string driverMenu(const std::string& outputName, const std::vector<std::string>& drivers) {
  std::string menu = kSeparator + outputName + " Driver list\n" + kSeparator;
  for (std::size_t i = 0; i < drivers.size(); ++i) {
    menu += std::to_string(i + 1) + " - " + drivers[i] + "\n";
  }
  return menu + kSeparator + kPrompt;
}

std::vector<std::string> deviceNames(int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) {
    names.push_back("Device " + std::to_string(i));
  }
  return names;
}

FakeSound withDrivers(int count) {
  FakeSound script;
  script.driverCounts = {count};
  script.driverNames = deviceNames(count);
  return script;
}

FakeSound withVersion(float version) {
  FakeSound script;
  script.version = version;
  return script;
}

FakeSound reportingOutput(int code) {
  FakeSound script;
  script.reportedOutput = code;
  return script;
}

FakeSound failingInit(int error) {
  FakeSound script;
  script.initSucceeds = false;
  script.error = error;
  return script;
}

// The exit code of a child whose setupSound() returned.
constexpr int kReturnedCode = 77;

struct Dialogue {
  std::string output;
  std::vector<std::string> calls;
  int status = 0;  // as waitpid gives it

  bool returned() const { return WIFEXITED(status) && WEXITSTATUS(status) == kReturnedCode; }
  bool exitedWithZero() const { return testing::ExitedWithCode(0)(status); }

  // The calls that change the library: SetOutput, SetDriver, Init.
  std::vector<std::string> commands() const {
    std::vector<std::string> found;
    for (const std::string& call : calls) {
      if (call.starts_with("Set") || call.starts_with("Init")) {
        found.push_back(call);
      }
    }
    return found;
  }
};

int callLogFd = -1;

void writeCallLog() {
  std::string log;
  for (const std::string& call : fakeSound.calls) {
    log += call + "\n";
  }
  for (std::size_t done = 0; done < log.size();) {
    const ssize_t count = write(callLogFd, log.data() + done, log.size() - done);
    if (count <= 0) {
      return;
    }
    done += count;
  }
}

// Reads every fd to its end.
std::vector<std::string> readToEnd(const std::vector<int>& fds) {
  std::vector<std::string> texts(fds.size());
  std::vector<pollfd> open;
  for (const int fd : fds) {
    open.push_back({fd, POLLIN, 0});
  }
  std::size_t ended = 0;
  while (ended < fds.size()) {
    if (poll(open.data(), open.size(), 10000) <= 0) {
      ADD_FAILURE() << "the dialogue hangs";
      break;
    }
    for (std::size_t i = 0; i < open.size(); ++i) {
      if (open[i].fd < 0 || open[i].revents == 0) {
        continue;
      }
      char buffer[4096];
      const ssize_t count = read(open[i].fd, buffer, sizeof buffer);
      if (count > 0) {
        texts[i].append(buffer, count);
      } else {
        open[i].fd = -1;
        ++ended;
      }
    }
  }
  return texts;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// Runs setupSound() in a child process against `script`, with `keys` and then
// the end of input on standard input.
Dialogue runDialogue(const FakeSound& script, const std::string& keys) {
  int input[2], output[2], log[2];
  if (pipe(input) != 0 || pipe(output) != 0 || pipe(log) != 0) {
    ADD_FAILURE() << "pipe";
    return {};
  }
  // The keys fit in the pipe's buffer.
  EXPECT_EQ(write(input[1], keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  close(input[1]);

  fflush(stdout);
  fflush(stderr);
  const pid_t child = fork();
  if (child == 0) {
    dup2(input[0], 0);
    dup2(output[1], 1);
    close(input[0]);
    close(output[0]);
    close(output[1]);
    close(log[0]);
    callLogFd = log[1];
    fakeSound = script;
    atexit(writeCallLog);
    setupSound();
    exit(kReturnedCode);
  }
  close(input[0]);
  close(output[1]);
  close(log[1]);

  const std::vector<std::string> texts = readToEnd({output[0], log[0]});
  close(output[0]);
  close(log[0]);
  Dialogue dialogue;
  dialogue.output = texts[0];
  dialogue.calls = splitLines(texts[1]);
  waitpid(child, &dialogue.status, 0);
  return dialogue;
}

enum class End { kReturned, kExitedWithZero };

struct DialogueCase {
  const char* name;
  FakeSound script;
  std::string keys;
  std::string output;
  End end;
  std::vector<std::string> commands;
};

void PrintTo(const DialogueCase& row, std::ostream* os) {
  *os << row.name;
}

std::string allBytesFrom128() {
  std::string bytes;
  for (int byte = 128; byte <= 255; ++byte) {
    bytes += static_cast<char>(byte);
  }
  return bytes;
}

std::vector<DialogueCase> dialogueCases() {
  const std::vector<std::string> defaultDriver = {"Default device"};
  const std::vector<std::string> chooseNoSound = {"SetOutput(0)", "SetDriver(0)", kInit};
  return {
      {"Version373Refused", withVersion(3.73f), "41", kVersionRefused, End::kReturned, {}},
      {"VersionNaNRefused",
       withVersion(std::numeric_limits<float>::quiet_NaN()),
       "41",
       kVersionRefused,
       End::kReturned,
       {}},
      {"VersionJustBelow374Refused",
       withVersion(std::nextafter(3.74f, 0.0f)),
       "41",
       kVersionRefused,
       End::kReturned,
       {}},
      {"Version374Accepted", withVersion(3.74f), "41",
       kOutputMenu + driverMenu("NoSound", defaultDriver), End::kReturned, chooseNoSound},
      {"Key1SelectsDirectSound",
       {},
       "11",
       kOutputMenu + driverMenu("Direct Sound", defaultDriver),
       End::kReturned,
       {"SetOutput(2)", "SetDriver(0)", kInit}},
      {"Key2SelectsWaveout",
       {},
       "21",
       kOutputMenu + driverMenu("Windows Multimedia Waveout", defaultDriver),
       End::kReturned,
       {"SetOutput(1)", "SetDriver(0)", kInit}},
      {"Key3SelectsAsio",
       {},
       "31",
       kOutputMenu + driverMenu("ASIO", defaultDriver),
       End::kReturned,
       {"SetOutput(7)", "SetDriver(0)", kInit}},
      {"Output4Named", reportingOutput(4), "41",
       kOutputMenu + driverMenu("Open Sound System", defaultDriver), End::kReturned, chooseNoSound},
      {"Output5Named", reportingOutput(5), "41",
       kOutputMenu + driverMenu("Enlightment Sound Daemon", defaultDriver), End::kReturned,
       chooseNoSound},
      {"Output6Named", reportingOutput(6), "41", kOutputMenu + driverMenu("Alsa", defaultDriver),
       End::kReturned, chooseNoSound},
      {"Output3Unnamed", reportingOutput(3), "41", kOutputMenu + driverMenu("", defaultDriver),
       End::kReturned, chooseNoSound},
      {"Output8Unnamed", reportingOutput(8), "41", kOutputMenu + driverMenu("", defaultDriver),
       End::kReturned, chooseNoSound},
      {"NegativeOutputUnnamed", reportingOutput(-1), "41",
       kOutputMenu + driverMenu("", defaultDriver), End::kReturned, chooseNoSound},
      {"OtherKeysIgnoredInOutputMenu",
       {},
       std::string{'0', '5', 'a', '\r', '\n', ' ', '\0', '\x80', '\xff'} + "41",
       kOutputMenu + driverMenu("NoSound", defaultDriver),
       End::kReturned,
       chooseNoSound},
      {"NoDriversOnlyEscapeLeaves",
       withDrivers(0),
       "41290:\x1b"
       "1",
       kOutputMenu + driverMenu("NoSound", {}),
       End::kExitedWithZero,
       {"SetOutput(0)"}},
      {"TenthDriverChosenWithColon",
       withDrivers(12),
       "4:",
       kOutputMenu + driverMenu("NoSound", deviceNames(12)),
       End::kReturned,
       {"SetOutput(0)", "SetDriver(9)", kInit}},
      {"DriverOutOfRangeIgnored",
       withDrivers(3),
       "440:3",
       kOutputMenu + driverMenu("NoSound", deviceNames(3)),
       End::kReturned,
       {"SetOutput(0)", "SetDriver(2)", kInit}},
      // With 300 drivers the bytes from 128 on would all be valid choices if
      // they counted as unsigned.
      {"BytesFrom128IgnoredInDriverChoice",
       withDrivers(300),
       std::string("4").append(allBytesFrom128()).append("2"),
       kOutputMenu + driverMenu("NoSound", deviceNames(300)),
       End::kReturned,
       {"SetOutput(0)", "SetDriver(1)", kInit}},
      {"EscapeInOutputMenu",
       {},
       "\x1b"
       "41",
       kOutputMenu,
       End::kExitedWithZero,
       {}},
      {"EscapeInOutputMenuAfterIgnoredKeys",
       {},
       "x9\x1b"
       "41",
       kOutputMenu,
       End::kExitedWithZero,
       {}},
      {"EscapeInDriverMenu",
       withDrivers(2),
       "1\x1b"
       "1",
       kOutputMenu + driverMenu("Direct Sound", deviceNames(2)),
       End::kExitedWithZero,
       {"SetOutput(2)"}},
      {"EscapeInDriverMenuAfterIgnoredKeys",
       withDrivers(2),
       "130\xff\x1b"
       "1",
       kOutputMenu + driverMenu("Direct Sound", deviceNames(2)),
       End::kExitedWithZero,
       {"SetOutput(2)"}},
      {"EndOfInputInOutputMenuLeavesLikeEscape", {}, "x", kOutputMenu, End::kExitedWithZero, {}},
      {"EndOfInputInDriverMenuLeavesLikeEscape",
       withDrivers(2),
       "19",
       kOutputMenu + driverMenu("Direct Sound", deviceNames(2)),
       End::kExitedWithZero,
       {"SetOutput(2)"}},
      {"InitFailurePrintsTheErrorOnce", failingInit(4), "4111",
       kOutputMenu + driverMenu("NoSound", defaultDriver) + "Error!\n" +
           "The output device is already in use and cannot be reused.\n",
       End::kReturned, chooseNoSound},
      {"InitFailureWithUnknownCode", failingInit(-1), "41",
       kOutputMenu + driverMenu("NoSound", defaultDriver) + "Error!\nUnknown error\n",
       End::kReturned, chooseNoSound},
  };
}

class SetupSoundTest : public testing::TestWithParam<DialogueCase> {};

TEST_P(SetupSoundTest, PrintsEndsAndCommandsAsScripted) {
  const DialogueCase& row = GetParam();
  const Dialogue dialogue = runDialogue(row.script, row.keys);
  EXPECT_EQ(dialogue.output, row.output);
  if (row.end == End::kReturned) {
    EXPECT_TRUE(dialogue.returned()) << "wait status " << dialogue.status;
  } else {
    EXPECT_TRUE(dialogue.exitedWithZero()) << "wait status " << dialogue.status;
  }
  EXPECT_EQ(dialogue.commands(), row.commands);
}

INSTANTIATE_TEST_SUITE_P(Dialogues, SetupSoundTest, testing::ValuesIn(dialogueCases()),
                         [](const testing::TestParamInfo<DialogueCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(SetupSoundDriverCountTest, AskedAgainBeforeEachLineAndForEachKey) {
  // Two lines listed, then the count drops to 1 for two keys and comes back.
  FakeSound script = withDrivers(2);
  script.driverCounts = {2, 2, 2, 1, 1, 2};
  const Dialogue dialogue = runDialogue(script, "1222");
  EXPECT_EQ(dialogue.output, kOutputMenu + driverMenu("Direct Sound", deviceNames(2)));
  EXPECT_TRUE(dialogue.returned());
  const std::vector<std::string> expected = {
      "GetVersion",    "SetOutput(2)",     "GetOutput",     "GetNumDrivers", "GetDriverName(0)",
      "GetNumDrivers", "GetDriverName(1)", "GetNumDrivers", "GetNumDrivers", "GetNumDrivers",
      "GetNumDrivers", "SetDriver(1)",     kInit,
  };
  EXPECT_EQ(dialogue.calls, expected);
}

TEST(SetupSoundDriverCountTest, ListEndsWhenTheCountDrops) {
  FakeSound script = withDrivers(3);
  script.driverCounts = {3, 1};
  const Dialogue dialogue = runDialogue(script, "4321");
  EXPECT_EQ(dialogue.output, kOutputMenu + driverMenu("NoSound", {"Device 1"}));
  EXPECT_TRUE(dialogue.returned());
  EXPECT_EQ(dialogue.commands(), (std::vector<std::string>{"SetOutput(0)", "SetDriver(0)", kInit}));
}

TEST(SetupSoundInitTest, FailureAsksForTheErrorAfterInit) {
  const Dialogue dialogue = runDialogue(failingInit(3), "41");
  ASSERT_GE(dialogue.calls.size(), 2u);
  EXPECT_EQ(dialogue.calls[dialogue.calls.size() - 2], kInit);
  EXPECT_EQ(dialogue.calls.back(), "GetError");
  EXPECT_TRUE(dialogue.output.ends_with("Error!\nError initializing output device.\n"));
}

}  // namespace
