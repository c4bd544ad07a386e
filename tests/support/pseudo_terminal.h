#pragma once

#include <termios.h>

#include <string>

// Test helpers around a pseudo-terminal: the test holds the master side, the
// program under test gets the slave side as its terminal.

// How long a test waits for something that should happen at once.
constexpr int kPatienceMs = 10000;

// Every field of the settings, by name, so that a difference shows as such.
std::string describe(const termios& settings);

void writeAll(int fd, const std::string& bytes);

bool readable(int fd, int timeoutMs);

// A pseudo-terminal whose starting settings are unlike anything a program
// would set by chance, so that "put back" cannot pass as "reset to defaults".
class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  int master() const { return master_; }
  int slave() const { return slave_; }
  const termios& initial() const { return initial_; }

  termios settings() const;

  void type(const std::string& keys);

  // Waits until typed keys are ready to be read from the terminal.
  bool keysReady() const;

  // What the terminal has shown so far and not yet taken.
  std::string shown() const;

  void hangUp();

 private:
  int master_ = -1;
  int slave_ = -1;
  termios initial_{};
};
