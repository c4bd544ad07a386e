#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/support/pseudo_terminal.h"

// The real synth program, run with a pseudo-terminal as its controlling
// terminal, standard input, output and error, as a user would run it. SDL's
// window goes to the dummy video driver unless the environment says otherwise.
class SynthProcess {
 public:
  // `environment` adds NAME=value entries to the test's own environment.
  explicit SynthProcess(PseudoTerminal& terminal, std::vector<std::string> environment = {});
  ~SynthProcess();
  SynthProcess(const SynthProcess&) = delete;
  SynthProcess& operator=(const SynthProcess&) = delete;

  pid_t pid() const { return pid_; }

  void type(const std::string& keys) { terminal_.type(keys); }

  // Waits until the output holds `text` (after position `from`); false when
  // it has not come within the patience.
  bool waitFor(const std::string& text, size_t from = 0, int timeoutMs = kPatienceMs);

  // Everything the program has printed so far, lines ending in "\n" (the
  // terminal shows them with "\r\n").
  const std::string& output();

  // Whether the program has not ended yet. Once it has, waitForExit returns
  // its status at once.
  bool running();

  // Waits for the program to end; its wait status, or -1 when it did not end
  // within the timeout (it is then killed).
  int waitForExit(int timeoutMs = kPatienceMs);

 private:
  void collect(int timeoutMs);

  PseudoTerminal& terminal_;
  pid_t pid_ = -1;
  std::string output_;
  bool exited_ = false;
  int status_ = -1;
};

// The path of the synth program under test.
std::string synthProgram();
