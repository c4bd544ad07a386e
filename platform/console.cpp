#include "platform/console.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kStdin = 0;

// Written once by consoleOpen() before any handler that reads them is
// installed; read by consoleRestore(), also from a signal handler.
termios savedSettings;
volatile sig_atomic_t haveSavedSettings = 0;

// A byte that consoleKeyWaiting() had to read to tell a byte from the end of
// input; consoleReadKey() hands it out first. Keys are taken on one thread.
int pendingKey = -1;

void restoreAndDie(int signalNumber) {
  const int savedErrno = errno;
  consoleRestore();
  // The handler was installed with SA_RESETHAND, so the default action is back
  // in force; the signal stays blocked until the handler returns and then
  // ends the process as if no handler had been there.
  raise(signalNumber);
  errno = savedErrno;
}

void restoreAtExit() {
  consoleRestore();
}

void sleepMs(int ms) {
  timespec rest{ms / 1000, (ms % 1000) * 1000000L};
  while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
  }
}

// One byte from standard input: 0 to 255, or -1 at end of input (end of file,
// or an error such as EIO after the terminal hung up).
int readByte() {
  unsigned char byte = 0;
  for (;;) {
    const ssize_t count = read(kStdin, &byte, 1);
    if (count == 1) {
      return byte;
    }
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // Someone made standard input non-blocking: wait for the byte.
      pollfd input{kStdin, POLLIN, 0};
      poll(&input, 1, -1);
      continue;
    }
    return -1;
  }
}

}  // namespace

void consoleOpen() {
  // Each status line reaches a pipe reader as soon as it is printed, as it
  // does on a terminal. This has to come before the first output on stdout.
  setvbuf(stdout, nullptr, _IOLBF, 0);

  if (!isatty(kStdin) || tcgetattr(kStdin, &savedSettings) != 0) {
    return;
  }
  haveSavedSettings = 1;

  // The handlers go in before the terminal changes, so that from the first
  // raw moment on every way out puts it back. A signal that the process was
  // started with ignored (nohup, a background job) stays ignored.
  constexpr int kLeavingSignals[] = {SIGINT, SIGTERM, SIGHUP};
  struct sigaction action {};
  action.sa_handler = restoreAndDie;
  sigemptyset(&action.sa_mask);
  for (const int signalNumber : kLeavingSignals) {
    sigaddset(&action.sa_mask, signalNumber);
  }
  action.sa_flags = SA_RESETHAND;
  for (const int signalNumber : kLeavingSignals) {
    struct sigaction previous {};
    sigaction(signalNumber, nullptr, &previous);
    if (previous.sa_handler != SIG_IGN) {
      sigaction(signalNumber, &action, nullptr);
    }
  }
  atexit(restoreAtExit);

  termios raw = savedSettings;
  raw.c_lflag &= ~(ECHO | ICANON);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(kStdin, TCSANOW, &raw);
}

void consoleRestore() {
  if (haveSavedSettings) {
    // TCSANOW: never wait for output to drain, which could block forever
    // inside a signal handler when nobody reads the terminal.
    tcsetattr(kStdin, TCSANOW, &savedSettings);
  }
}

bool consoleKeyWaiting(int timeoutMs) {
  if (pendingKey >= 0) {
    return true;
  }
  if (timeoutMs < 0) {
    timeoutMs = 0;
  }
  pollfd input{kStdin, POLLIN, 0};
  const int ready = poll(&input, 1, timeoutMs);
  if (ready <= 0) {
    return false;
  }
  // Readable also means "at end of input" (POLLHUP, or a file that always
  // polls readable): only a read tells the two apart.
  pendingKey = readByte();
  if (pendingKey >= 0) {
    return true;
  }
  sleepMs(timeoutMs);
  return false;
}

int consoleReadKey() {
  if (pendingKey >= 0) {
    const int key = pendingKey;
    pendingKey = -1;
    return key;
  }
  return readByte();
}
