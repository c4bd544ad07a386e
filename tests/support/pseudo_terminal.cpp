#include "tests/support/pseudo_terminal.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

// Every field of the settings, by name, so that a difference shows as such.
std::string describe(const termios& settings) {
  std::string text =
      "iflag=" + std::to_string(settings.c_iflag) + " oflag=" + std::to_string(settings.c_oflag) +
      " cflag=" + std::to_string(settings.c_cflag) + " lflag=" + std::to_string(settings.c_lflag) +
      " line=" + std::to_string(settings.c_line) + " cc=";
  for (const cc_t c : settings.c_cc) {
    text += std::to_string(c) + ",";
  }
  return text + " ispeed=" + std::to_string(cfgetispeed(&settings)) +
         " ospeed=" + std::to_string(cfgetospeed(&settings));
}

void writeAll(int fd, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t count = write(fd, bytes.data() + done, bytes.size() - done);
    ASSERT_GT(count, 0) << "write";
    done += count;
  }
}

bool readable(int fd, int timeoutMs) {
  pollfd waiting{fd, POLLIN, 0};
  return poll(&waiting, 1, timeoutMs) > 0;
}

PseudoTerminal::PseudoTerminal() {
  if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
    ADD_FAILURE() << "openpty";
    return;
  }
  termios settings{};
  tcgetattr(slave_, &settings);
  settings.c_iflag ^= IXANY;
  settings.c_lflag &= ~ECHOE;
  settings.c_cc[VKILL] = 'K';
  settings.c_cc[VMIN] = 4;
  settings.c_cc[VTIME] = 7;
  cfsetspeed(&settings, B9600);
  tcsetattr(slave_, TCSANOW, &settings);
  tcgetattr(slave_, &initial_);
}

PseudoTerminal::~PseudoTerminal() {
  hangUp();
  close(slave_);
}

termios PseudoTerminal::settings() const {
  termios now{};
  EXPECT_EQ(tcgetattr(slave_, &now), 0);
  return now;
}

void PseudoTerminal::type(const std::string& keys) {
  writeAll(master_, keys);
}

bool PseudoTerminal::keysReady() const {
  return readable(slave_, kPatienceMs);
}

std::string PseudoTerminal::shown() const {
  std::string text;
  char buffer[256];
  while (readable(master_, 0)) {
    const ssize_t count = read(master_, buffer, sizeof buffer);
    if (count <= 0) {
      break;
    }
    text.append(buffer, count);
  }
  return text;
}

void PseudoTerminal::hangUp() {
  if (master_ >= 0) {
    close(master_);
    master_ = -1;
  }
}
