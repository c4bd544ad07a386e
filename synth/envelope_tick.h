#pragma once

#include "synth/gate.h"

// The envelope's running values, owned by the thread that ticks it.
struct EnvelopeRun {
  float time;
  float level;
  Gate::Word appliedNote;  // the note count whose restart has been applied
};

// One tick of 0.05 time units on plain values, reading the gate and the
// lengths as they are now. A note started since the last tick restarts the
// run at time 0 first; a note that runs out closes the gate unless another
// note has started meanwhile.
inline void tickEnvelope(EnvelopeRun& run, Gate& gate, float attack, float peak, float decay) {
  const Gate::Word seen = gate.load();
  if (Gate::noteCount(seen) != run.appliedNote) {
    run.appliedNote = Gate::noteCount(seen);
    run.time = 0.0f;
    run.level = 0.0f;
  }

  const float t = static_cast<float>(static_cast<double>(run.time) + 0.05);
  run.time = t;
  if (!Gate::isOpen(seen)) {
    run.level = 0.0f;
    return;
  }
  const float end = static_cast<float>(static_cast<double>(attack) + decay);
  if (t >= end) {  // wins over the attack test when decay is negative
    run.level = 0.0f;
    gate.closeIfStill(seen);
  } else if (t < attack) {
    run.level = static_cast<float>(static_cast<double>(t) * peak / attack);
  } else {
    run.level = static_cast<float>(peak - (static_cast<double>(t) - attack) * peak / decay);
  }
}
