// The real program showing its scope in a real X window: an Xvfb of the test's
// own, a screenshot read back through Xlib, and Escape typed into the window.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/synth_process.h"

// Xlib's macros (None, Bool, Status) would clash with GoogleTest's names.
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 800;
// An X server reads its keyboard maps and fonts as it starts, which takes
// long on a loaded machine.
constexpr int kServerStartMs = 60000;

// A virtual X server on a display number it picks itself.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int ready[2];
    if (pipe(ready) != 0) {
      return;
    }
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      const std::string fd = std::to_string(ready[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x900x24", "-nolisten",
             "tcp", "-nolisten", "unix", "-noreset", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ready[1]);
    std::string number;
    char c;
    while (readable(ready[0], kServerStartMs) && read(ready[0], &c, 1) == 1 && c != '\n') {
      number += c;
    }
    close(ready[0]);
    if (!number.empty()) {
      name_ = ":" + number;
    }
  }
  ~VirtualDisplay() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  const std::string& name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

using DisplayPtr = std::unique_ptr<Display, int (*)(Display*)>;
struct ImageDeleter {
  void operator()(XImage* image) const { XDestroyImage(image); }
};
using ImagePtr = std::unique_ptr<XImage, ImageDeleter>;

// The program's 640 x 800 window, searched among the top-level windows.
Window findWindow(Display* display) {
  Window root = DefaultRootWindow(display);
  Window parent;
  Window* children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(display, root, &root, &parent, &children, &count) != 0) {
    for (unsigned int i = 0; i < count && found == 0; ++i) {
      XWindowAttributes attributes;
      if (XGetWindowAttributes(display, children[i], &attributes) != 0 &&
          attributes.width == kWidth && attributes.height == kHeight &&
          attributes.map_state == IsViewable) {
        found = children[i];
      }
    }
    XFree(children);
  }
  return found;
}

class Screenshot {
 public:
  Screenshot(Display* display, Window window)
      : image_(XGetImage(display, window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap)) {}
  bool valid() const { return image_ != nullptr; }
  uint32_t at(int x, int y) const {
    return static_cast<uint32_t>(XGetPixel(image_.get(), x, y)) & 0xFFFFFF;
  }
  // Columns of row y holding `colour`.
  int countInRow(int y, uint32_t colour) const {
    int n = 0;
    for (int x = 0; x < kWidth; ++x) {
      n += at(x, y) == colour ? 1 : 0;
    }
    return n;
  }
  // Pixels of rows [top, bottom) holding `colour`.
  int countInRows(int top, int bottom, uint32_t colour) const {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
      n += countInRow(y, colour);
    }
    return n;
  }

 private:
  ImagePtr image_;
};

// What the test checks of one screenshot, counted once, so that a mismatch
// shows every figure at once.
struct ScopePicture {
  // The magenta centre line across row 120, over whatever crosses it.
  int centreLine = 0;
  // The applied amplitude in light grey near row 240, on every column.
  int amplitude = 0;
  // The sounding voice in white around row 120 (within +-50 rows), off the
  // centre line, and around row 450 (+-34), where a silent voice would lie
  // flat on row 450 alone.
  int voiceNearCentre = 0;
  int voiceLow = 0;
  int voiceLowFlat = 0;
  // Black everywhere else.
  int blackBelow = 0;
  int blackTopRow = 0;

  explicit ScopePicture(const Screenshot& shot)
      : centreLine(shot.countInRow(120, 0xFF00FF)),
        amplitude(shot.countInRows(230, 241, 0xF0F0F0)),
        voiceNearCentre(shot.countInRows(70, 120, 0xFFFFFF) + shot.countInRows(121, 171, 0xFFFFFF)),
        voiceLow(shot.countInRows(416, 485, 0xFFFFFF)),
        voiceLowFlat(shot.countInRow(450, 0xFFFFFF)),
        blackBelow(shot.countInRows(500, kHeight, 0x000000)),
        blackTopRow(shot.countInRow(0, 0x000000)) {}

  bool showsASoundingNote() const {
    return centreLine >= 600 && amplitude >= kWidth && voiceNearCentre >= 100 &&
           voiceLow >= kWidth && voiceLowFlat < kWidth && blackBelow == (kHeight - 500) * kWidth &&
           blackTopRow == kWidth;
  }

  friend std::ostream& operator<<(std::ostream& out, const ScopePicture& p) {
    return out << "centre line " << p.centreLine << ", amplitude " << p.amplitude
               << ", voice near the centre " << p.voiceNearCentre << ", voice low " << p.voiceLow
               << " (on row 450 " << p.voiceLowFlat << "), black below row 500 " << p.blackBelow
               << ", black on row 0 " << p.blackTopRow;
  }
};

// Runs a shell command; its exit status and what it printed.
std::pair<int, std::string> runCommand(const std::string& command) {
  std::string printed;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    return {-1, "popen failed"};
  }
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    printed += buffer;
  }
  return {pclose(pipe), printed};
}

TEST(WindowTest, ShowsTheScopeAndQuitsOnEscape) {
  VirtualDisplay x;
  ASSERT_FALSE(x.name().empty()) << "Xvfb did not start";

  PseudoTerminal terminal;
  std::vector<std::string> environment = {"SDL_VIDEODRIVER=x11", "DISPLAY=" + x.name()};
#if defined(__SANITIZE_ADDRESS__)
  // SDL unloads the X libraries it opened when the program quits, and the
  // leak check that runs after that cannot name the blocks they keep for the
  // life of the process, nor suppress them as theirs. Leaving SDL's video up
  // at exit keeps the libraries mapped for the check.
  environment.emplace_back("SDL12COMPAT_NO_QUIT_VIDEO=1");
#endif
  SynthProcess synth(terminal, environment);
  ASSERT_TRUE(synth.waitFor("Press a corresponding number or ESC to quit\n")) << synth.output();
  synth.type("4");
  ASSERT_TRUE(synth.waitFor("NoSound Driver list")) << synth.output();
  synth.type("1");
  ASSERT_TRUE(synth.waitFor("MIAM\n")) << synth.output();
  // A decay of 92400 keeps the note of "x" sounding for about sixteen
  // seconds, long past the screenshots even on a machine that stalls.
  synth.type(std::string(900, ':') + "x");
  ASSERT_TRUE(synth.waitFor("VCA [100.000000][92400.000000] \nNote [63]")) << synth.output();

  DisplayPtr display(XOpenDisplay(x.name().c_str()), XCloseDisplay);
  ASSERT_NE(display, nullptr);
  Window window = 0;
  for (int tries = 0; tries < 100 && window == 0; ++tries) {
    window = findWindow(display.get());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_NE(window, 0u) << "no 640 x 800 window";

  // The window shows the note from the next flip on: the first screenshot
  // that shows it ends the wait, the last one taken tells what was wrong.
  std::optional<ScopePicture> picture;
  for (int tries = 0; tries < kPatienceMs / 50 && !(picture && picture->showsASoundingNote());
       ++tries) {
    const Screenshot shot(display.get(), window);
    ASSERT_TRUE(shot.valid());
    picture.emplace(shot);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(picture && picture->showsASoundingNote()) << *picture;

  setenv("DISPLAY", x.name().c_str(), 1);
  const auto [keyStatus, keyPrinted] =
      runCommand("xdotool windowfocus --sync " + std::to_string(window) + " key Escape");
  ASSERT_EQ(keyStatus, 0) << keyPrinted;
  const int status = synth.waitForExit();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << synth.output();
  EXPECT_EQ(describe(terminal.settings()), describe(terminal.initial()));
}

}  // namespace
