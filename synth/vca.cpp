#include "synth/vca.h"

#include <cstdio>

namespace {
constexpr double kTimeStep = 0.05;
}

void Vca::noteOn() {
  // The main thread's own view is restarted at once; the ticking thread
  // restarts again when it sees the new note count, so a tick racing with
  // these stores cannot leave the note with the previous note's time.
  level = 0.0f;
  time = 0.0f;
  gate.openNewNote();
}

void Vca::noteOff() {
  gate.close();
}

void Vca::tick() {
  const Gate::Word seen = gate.load();
  if (Gate::noteCount(seen) != appliedNote_) {
    appliedNote_ = Gate::noteCount(seen);
    time = 0.0f;
    level = 0.0f;
  }

  const float t = static_cast<float>(double{time} + kTimeStep);
  time = t;
  if (!Gate::isOpen(seen)) {
    level = 0.0f;
    return;
  }

  const float a = attack;
  const float d = decay;
  const float p = peak;
  const float end = static_cast<float>(double{a} + double{d});
  if (t >= end) {
    level = 0.0f;
    gate.closeIfStill(seen);
  } else if (t < a) {
    level = static_cast<float>(double{t} * double{p} / double{a});
  } else {
    level = static_cast<float>(double{p} - (double{t} - double{a}) * double{p} / double{d});
  }
}

void Vca::printStatus() const {
  std::printf("VCA [%f][%f] \n", double{attack}, double{decay});
}
