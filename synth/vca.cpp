#include "synth/vca.h"

#include <cstdio>

#include "synth/envelope_tick.h"

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
  EnvelopeRun run{time, level, appliedNote};
  tickEnvelope(run, gate, attack, peak, decay);
  time = run.time;
  level = run.level;
  appliedNote = run.appliedNote;
}

void Vca::printStatus() const {
  std::printf("VCA [%f][%f] \n", double{attack}, double{decay});
}
