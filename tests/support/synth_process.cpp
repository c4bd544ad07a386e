#include "tests/support/synth_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

int msSince(Clock::time_point start) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

}  // namespace

std::string synthProgram() {
  const char* path = std::getenv("SYNTH_PROGRAM");
  return path != nullptr ? path : SYNTH_PROGRAM_PATH;
}

SynthProcess::SynthProcess(PseudoTerminal& terminal, std::vector<std::string> environment)
    : terminal_(terminal) {
  std::vector<std::string> entries = {"SDL_VIDEODRIVER=dummy", "TERM=dumb"};
  for (char** e = environ; *e != nullptr; ++e) {
    entries.emplace_back(*e);
  }
  // Later entries override earlier ones of the same name: the test's own last.
  entries.insert(entries.end(), environment.begin(), environment.end());
  std::vector<std::string> unique;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    const std::string name = it->substr(0, it->find('='));
    bool seen = false;
    for (const std::string& kept : unique) {
      seen = seen || kept.substr(0, kept.find('=')) == name;
    }
    if (!seen) {
      unique.push_back(*it);
    }
  }
  std::vector<char*> envp;
  for (std::string& entry : unique) {
    envp.push_back(entry.data());
  }
  envp.push_back(nullptr);
  const std::string program = synthProgram();
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};

  pid_ = fork();
  if (pid_ == 0) {
    setsid();
    const int slave = terminal.slave();
    ioctl(slave, TIOCSCTTY, 0);
    // The master goes first: when the test runs with its standard input
    // closed, the master may sit on fd 0, and closing it after the dup2s
    // would close the program's standard input.
    close(terminal.master());
    dup2(slave, STDIN_FILENO);
    dup2(slave, STDOUT_FILENO);
    dup2(slave, STDERR_FILENO);
    if (slave > STDERR_FILENO) {
      close(slave);
    }
    execve(argv[0], argv, envp.data());
    _exit(127);
  }
  EXPECT_GT(pid_, 0) << "fork";
}

SynthProcess::~SynthProcess() {
  if (pid_ > 0 && !exited_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

void SynthProcess::collect(int timeoutMs) {
  if (!readable(terminal_.master(), timeoutMs)) {
    return;
  }
  std::string text = terminal_.shown();
  for (char c : text) {
    if (c != '\r') {
      output_ += c;
    }
  }
}

bool SynthProcess::waitFor(const std::string& text, size_t from, int timeoutMs) {
  const Clock::time_point start = Clock::now();
  while (output_.find(text, from) == std::string::npos) {
    const int left = timeoutMs - msSince(start);
    if (left <= 0) {
      return false;
    }
    collect(std::min(left, 50));
  }
  return true;
}

const std::string& SynthProcess::output() {
  collect(0);
  return output_;
}

bool SynthProcess::running() {
  if (!exited_ && waitpid(pid_, &status_, WNOHANG) == pid_) {
    exited_ = true;
  }
  return !exited_;
}

int SynthProcess::waitForExit(int timeoutMs) {
  const Clock::time_point start = Clock::now();
  while (!exited_) {
    collect(0);
    const pid_t done = waitpid(pid_, &status_, WNOHANG);
    if (done == pid_) {
      exited_ = true;
      break;
    }
    if (msSince(start) > timeoutMs) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      exited_ = true;
      status_ = -1;
      break;
    }
    usleep(2000);
  }
  collect(50);
  return status_;
}
