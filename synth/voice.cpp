#include "synth/voice.h"

Oscillator* osc1 = nullptr;
Oscillator* lfo1 = nullptr;
Oscillator* lfo2 = nullptr;
Oscillator* lfo3 = nullptr;
Oscillator* lfo4 = nullptr;
Vca* vca = nullptr;
Relaxed<int32_t> note{58};

void createVoice() {
  osc1 = new Oscillator(1.0f, 440.0f, 1);
  lfo1 = new Oscillator(1.0f, 0.0f, 1);
  lfo2 = new Oscillator(1.0f, 0.0f, 1);
  lfo3 = new Oscillator(1.0f, 0.0f, 1);
  lfo4 = new Oscillator(1.0f, 0.0f, 1);
  vca = new Vca();
}
