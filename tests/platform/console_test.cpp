#include "platform/console.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/pseudo_terminal.h"

namespace {

// The child's side of the pipes between the test and the child.
class ChildSide {
 public:
  ChildSide(int report, int go) : report_(report), go_(go) {}
  void say(const std::string& line) { writeAll(report_, line + "\n"); }
  void say(long long number) { say(std::to_string(number)); }
  void awaitGo() {
    char byte;
    while (read(go_, &byte, 1) < 0 && errno == EINTR) {
    }
  }

 private:
  int report_;
  int go_;
};

struct ChildInput {
  int fd;                    // becomes standard input
  int closeInChild = -1;     // e.g. the terminal's master
  bool controlling = false;  // the terminal becomes the child's controlling one
};

// A child process that runs `body` with `input` as standard input and then
// exits normally with code 0.
class ConsoleChild {
 public:
  ConsoleChild(ChildInput input, const std::function<void(ChildSide&)>& body) {
    int report[2], go[2];
    if (pipe(report) != 0 || pipe(go) != 0) {
      ADD_FAILURE() << "pipe";
      return;
    }
    fflush(stdout);
    fflush(stderr);
    pid_ = fork();
    if (pid_ == 0) {
      close(report[0]);
      close(go[1]);
      if (input.closeInChild >= 0) {
        close(input.closeInChild);
      }
      if (input.controlling) {
        setsid();
        ioctl(input.fd, TIOCSCTTY, 0);
      }
      dup2(input.fd, 0);
      ChildSide side(report[1], go[0]);
      body(side);
      exit(0);
    }
    close(report[1]);
    close(go[0]);
    report_ = report[0];
    go_ = go[1];
  }
  ~ConsoleChild() {
    if (pid_ > 0 && status_ < 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(report_);
    close(go_);
  }
  ConsoleChild(const ConsoleChild&) = delete;
  ConsoleChild& operator=(const ConsoleChild&) = delete;

  pid_t pid() const { return pid_; }

  std::string nextLine() {
    std::string line;
    char byte;
    while (readable(report_, kPatienceMs) && read(report_, &byte, 1) == 1) {
      if (byte == '\n') {
        return line;
      }
      line += byte;
    }
    return line + "<no more lines>";
  }

  std::vector<std::string> nextLines(std::size_t count) {
    std::vector<std::string> lines;
    while (lines.size() < count) {
      lines.push_back(nextLine());
    }
    return lines;
  }

  void go() { writeAll(go_, "g"); }

  // The wait status, once the child has ended.
  int wait() {
    if (status_ < 0) {
      waitpid(pid_, &status_, 0);
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int report_ = -1;
  int go_ = -1;
  int status_ = -1;
};

ChildInput onTerminal(const PseudoTerminal& terminal) {
  return {terminal.slave(), terminal.master(), true};
}

TEST(ConsoleTest, RawModeKeepsOutputProcessingAndSignals) {
  PseudoTerminal terminal;
  ConsoleChild child(onTerminal(terminal), [](ChildSide& side) {
    consoleOpen();
    side.say("open");
    consoleReadKey();
  });
  ASSERT_EQ(child.nextLine(), "open");

  const termios raw = terminal.settings();
  EXPECT_FALSE(raw.c_lflag & ECHO);
  EXPECT_FALSE(raw.c_lflag & ICANON);
  EXPECT_TRUE(raw.c_oflag & OPOST);
  EXPECT_TRUE(raw.c_lflag & ISIG);
  EXPECT_EQ(raw.c_cc[VMIN], 1);
  EXPECT_EQ(raw.c_cc[VTIME], 0);
  termios expected = terminal.initial();
  expected.c_lflag &= ~(ECHO | ICANON);
  expected.c_cc[VMIN] = 1;
  expected.c_cc[VTIME] = 0;
  EXPECT_EQ(describe(raw), describe(expected)) << "nothing else changes";

  terminal.type("q");
  EXPECT_TRUE(testing::ExitedWithCode(0)(child.wait()));
  EXPECT_EQ(describe(terminal.settings()), describe(terminal.initial()));
}

TEST(ConsoleTest, KeysArriveOneBytePerReadWithoutEnterAndUnechoed) {
  PseudoTerminal terminal;
  ConsoleChild child(onTerminal(terminal), [](ChildSide& side) {
    consoleOpen();
    side.say(consoleKeyWaiting(0));
    side.awaitGo();
    side.say(consoleKeyWaiting(0));
    for (int i = 0; i < 5; ++i) {
      side.say(consoleReadKey());
    }
    side.say(consoleKeyWaiting(0));
  });
  EXPECT_EQ(child.nextLine(), "0") << "nothing typed yet";
  // Two letters and the cursor-up key, and no Enter.
  terminal.type("ab\x1b[A");
  ASSERT_TRUE(terminal.keysReady());
  child.go();
  EXPECT_EQ(child.nextLines(7), (std::vector<std::string>{"1", "97", "98", "27", "91", "65", "0"}));
  EXPECT_TRUE(testing::ExitedWithCode(0)(child.wait()));
  EXPECT_EQ(terminal.shown(), "");
}

TEST(ConsoleTest, KeyWaitingWaitsForAKeyUpToItsTimeout) {
  PseudoTerminal terminal;
  ConsoleChild child(onTerminal(terminal), [](ChildSide& side) {
    consoleOpen();
    const auto start = std::chrono::steady_clock::now();
    side.say(consoleKeyWaiting(50));
    side.say(std::chrono::duration_cast<std::chrono::milliseconds>(
                 std::chrono::steady_clock::now() - start)
                 .count());
    side.say("waiting");
    side.say(consoleKeyWaiting(kPatienceMs));
    side.say(consoleReadKey());
  });
  EXPECT_EQ(child.nextLine(), "0");
  EXPECT_GE(std::stoi(child.nextLine()), 50);
  ASSERT_EQ(child.nextLine(), "waiting");
  terminal.type("k");
  EXPECT_EQ(child.nextLines(2), (std::vector<std::string>{"1", "107"}));
  EXPECT_TRUE(testing::ExitedWithCode(0)(child.wait()));
}

struct WayOut {
  const char* name;
  // Makes the child, waiting for a key, leave.
  std::function<void(PseudoTerminal&, pid_t)> leave;
  std::function<bool(int)> endedAsExpected;
};

void PrintTo(const WayOut& way, std::ostream* os) {
  *os << way.name;
}

std::function<void(PseudoTerminal&, pid_t)> typing(std::string keys) {
  return [keys](PseudoTerminal& terminal, pid_t) { terminal.type(keys); };
}

std::function<void(PseudoTerminal&, pid_t)> sending(int signalNumber) {
  return [signalNumber](PseudoTerminal&, pid_t pid) { kill(pid, signalNumber); };
}

const WayOut kWaysOut[] = {
    {"NormalEnd", typing("0"), testing::ExitedWithCode(0)},
    {"ExitOne", typing("1"), testing::ExitedWithCode(1)},
    {"Sigint", sending(SIGINT), testing::KilledBySignal(SIGINT)},
    {"CtrlC", typing("\x03"), testing::KilledBySignal(SIGINT)},
    {"Sigterm", sending(SIGTERM), testing::KilledBySignal(SIGTERM)},
    {"Sighup", sending(SIGHUP), testing::KilledBySignal(SIGHUP)},
};

class ConsoleWayOutTest : public testing::TestWithParam<WayOut> {};

TEST_P(ConsoleWayOutTest, PutsTheTerminalBackExactly) {
  PseudoTerminal terminal;
  ConsoleChild child(onTerminal(terminal), [](ChildSide& side) {
    consoleOpen();
    side.say("open");
    for (;;) {
      const int key = consoleReadKey();
      if (key == '0' || key < 0) {
        return;
      }
      if (key == '1') {
        exit(1);
      }
    }
  });
  ASSERT_EQ(child.nextLine(), "open");
  ASSERT_NE(describe(terminal.settings()), describe(terminal.initial()));

  GetParam().leave(terminal, child.pid());
  const int status = child.wait();
  EXPECT_TRUE(GetParam().endedAsExpected(status)) << "wait status " << status;
  EXPECT_EQ(describe(terminal.settings()), describe(terminal.initial()));
}

INSTANTIATE_TEST_SUITE_P(Ways, ConsoleWayOutTest, testing::ValuesIn(kWaysOut),
                         [](const testing::TestParamInfo<WayOut>& info) {
                           return std::string(info.param.name);
                         });

TEST(ConsoleTest, RestoreIsRepeatable) {
  PseudoTerminal terminal;
  ConsoleChild child(onTerminal(terminal), [](ChildSide& side) {
    consoleOpen();
    consoleRestore();
    consoleRestore();
    side.say("restored");
    side.awaitGo();
  });
  ASSERT_EQ(child.nextLine(), "restored");
  EXPECT_EQ(describe(terminal.settings()), describe(terminal.initial()));
  child.go();
  EXPECT_TRUE(testing::ExitedWithCode(0)(child.wait()));
}

TEST(ConsoleTest, ASignalStartedIgnoredStaysIgnored) {
  PseudoTerminal terminal;
  ConsoleChild child(onTerminal(terminal), [](ChildSide& side) {
    signal(SIGHUP, SIG_IGN);
    consoleOpen();
    struct sigaction hangUp {};
    sigaction(SIGHUP, nullptr, &hangUp);
    side.say(hangUp.sa_handler == SIG_IGN ? "ignored" : "handled");
  });
  EXPECT_EQ(child.nextLine(), "ignored");
  EXPECT_TRUE(testing::ExitedWithCode(0)(child.wait()));
  EXPECT_EQ(describe(terminal.settings()), describe(terminal.initial()));
}

class Pipe {
 public:
  Pipe() { EXPECT_EQ(pipe(ends_), 0); }
  ~Pipe() {
    close(ends_[0]);
    closeWriteEnd();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  int readEnd() const { return ends_[0]; }
  int writeEnd() const { return ends_[1]; }
  void closeWriteEnd() {
    if (ends_[1] >= 0) {
      close(ends_[1]);
      ends_[1] = -1;
    }
  }

 private:
  int ends_[2] = {-1, -1};
};

TEST(ConsoleTest, ReadsAPipeAllTheSame) {
  Pipe keys;
  writeAll(keys.writeEnd(), "xyz");
  keys.closeWriteEnd();
  ConsoleChild child({keys.readEnd()}, [](ChildSide& side) {
    consoleOpen();
    struct sigaction interrupt {};
    sigaction(SIGINT, nullptr, &interrupt);
    side.say(interrupt.sa_handler == SIG_DFL ? "no handler" : "handler");
    side.say(consoleKeyWaiting(0));
    for (int i = 0; i < 5; ++i) {
      side.say(consoleReadKey());
    }
    side.say(consoleKeyWaiting(0));
  });
  EXPECT_EQ(child.nextLines(8),
            (std::vector<std::string>{"no handler", "1", "120", "121", "122", "-1", "-1", "0"}));
  EXPECT_TRUE(testing::ExitedWithCode(0)(child.wait()));
}

TEST(ConsoleTest, EachLinePrintedReachesAPipeAtOnce) {
  PseudoTerminal terminal;
  Pipe output;
  ConsoleChild child(onTerminal(terminal), [&output](ChildSide& side) {
    // A stdout not used yet, as at the start of the program: the test
    // process has printed to it before.
    dup2(output.writeEnd(), 1);
    if (freopen(nullptr, "w", stdout) == nullptr) {
      side.say("freopen");
    }
    consoleOpen();
    printf("status\n");
    side.say("printed");
    side.awaitGo();
  });
  output.closeWriteEnd();
  ASSERT_EQ(child.nextLine(), "printed");
  ASSERT_TRUE(readable(output.readEnd(), kPatienceMs));
  char line[16] = {};
  EXPECT_EQ(read(output.readEnd(), line, sizeof line - 1), 7);
  EXPECT_STREQ(line, "status\n");
  child.go();
  EXPECT_TRUE(testing::ExitedWithCode(0)(child.wait()));
}

// Standard inputs that have reached their end.
struct EndedInput {
  const char* name;
  std::function<ChildInput(Pipe&, PseudoTerminal&)> make;
  // Run once the child has opened the console.
  std::function<void(Pipe&, PseudoTerminal&)> end;
};

void PrintTo(const EndedInput& input, std::ostream* os) {
  *os << input.name;
}

const EndedInput kEndedInputs[] = {
    {"ClosedPipe",
     [](Pipe& pipe, PseudoTerminal&) {
       return ChildInput{pipe.readEnd(), pipe.writeEnd()};
     },
     [](Pipe& pipe, PseudoTerminal&) { pipe.closeWriteEnd(); }},
    {"DevNull",
     [](Pipe&, PseudoTerminal&) { return ChildInput{open("/dev/null", O_RDONLY | O_CLOEXEC)}; },
     [](Pipe&, PseudoTerminal&) {}},
    // Not the child's controlling terminal, so the hang-up sends no SIGHUP.
    {"HungUpTerminal",
     [](Pipe&, PseudoTerminal& terminal) {
       return ChildInput{terminal.slave(), terminal.master(), false};
     },
     [](Pipe&, PseudoTerminal& terminal) { terminal.hangUp(); }},
};

class ConsoleEndOfInputTest : public testing::TestWithParam<EndedInput> {};

TEST_P(ConsoleEndOfInputTest, NoKeysAndKeyWaitingStillWaits) {
  constexpr int kCalls = 50;
  Pipe pipe;
  PseudoTerminal terminal;
  ConsoleChild child(GetParam().make(pipe, terminal), [](ChildSide& side) {
    consoleOpen();
    side.say("open");
    side.awaitGo();
    side.say(consoleReadKey());
    int waiting = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
      waiting += consoleKeyWaiting(1);
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    side.say(waiting);
    side.say(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    side.say(consoleReadKey());
  });
  ASSERT_EQ(child.nextLine(), "open");
  GetParam().end(pipe, terminal);
  child.go();
  EXPECT_EQ(child.nextLine(), "-1");
  EXPECT_EQ(child.nextLine(), "0") << "no key waiting at the end of input";
  EXPECT_GE(std::stoi(child.nextLine()), kCalls) << "each call waits its 1 ms";
  EXPECT_EQ(child.nextLine(), "-1");
  EXPECT_TRUE(testing::ExitedWithCode(0)(child.wait()));
}

INSTANTIATE_TEST_SUITE_P(Inputs, ConsoleEndOfInputTest, testing::ValuesIn(kEndedInputs),
                         [](const testing::TestParamInfo<EndedInput>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
