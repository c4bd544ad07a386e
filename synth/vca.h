#pragma once

#include <cstdint>
#include <vector>

#include "platform/relaxed.h"
#include "synth/gate.h"

// The attack/decay loudness envelope. noteOn restarts it: level rises in a
// straight line from 0 to peak over `attack` time units, falls back to 0 over
// `decay`, and then the envelope closes its own gate. One tick is 0.05 time
// units. The main thread starts and stops notes and sets attack and decay
// while the audio thread ticks.
class Vca {
 public:
  Vca() = default;

  void noteOn();
  void noteOff();
  // Loads the lengths as they are now; see tickEnvelope.
  void tick();
  void printStatus() const;

  Relaxed<float> time{0.0f};
  Relaxed<int32_t> unusedIndex{-1};
  Gate gate;
  Relaxed<uint32_t> unusedWord{0};
  Relaxed<float> level{0.0f};
  Relaxed<float> attack{100.0f};
  Relaxed<float> peak{1.0f};
  Relaxed<float> decay{2400.0f};
  float unused[5] = {0.0f, 0.0f, 1.0f, 0.0f, 0.2f};
  std::vector<float> unusedArray;

  // The note count whose restart has been applied; ticking thread only.
  Gate::Word appliedNote = 0;
};
