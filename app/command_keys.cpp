#include "app/command_keys.h"

#include <cstdio>

#include "app/app_state.h"
#include "synth/voice.h"

namespace {

void add(Relaxed<float>& field, double step) {
  field = static_cast<float>(static_cast<double>(field) + step);
}

// `note` has no bound; it wraps at the ends of its range rather than overflow.
void shiftNote(int32_t by) {
  note = static_cast<int32_t>(static_cast<uint32_t>(int32_t{note}) + static_cast<uint32_t>(by));
}

void playNote(int32_t n) {
  note = n;
  vca->noteOn();
}

// Keys that change a value, taken before the wave selection.
void firstKeys(unsigned char key) {
  switch (key) {
    case 'a':
      shiftNote(1);
      break;
    case 'q':
      shiftNote(-1);
      break;
    case ',':
      add(vca->attack, 100.0);
      break;
    case ';':
      add(vca->attack, -100.0);
      break;
    case ':':
      add(vca->decay, 100.0);
      break;
    case '=':
      add(vca->decay, -100.0);
      break;
    case '+':
      ++osc1WaveSel;
      break;
    case '7':
      ++lfo1WaveSel;
      break;
    case '8':
      ++lfo2WaveSel;
      break;
    case '9':
      ++lfo3WaveSel;
      break;
    case '4':
      ++lfo4WaveSel;
      break;
    default:
      break;
  }
}

void selectWaves() {
  struct Selection {
    int32_t& selector;
    Oscillator* osc;
  };
  const Selection selections[] = {{osc1WaveSel, osc1},
                                  {lfo1WaveSel, lfo1},
                                  {lfo2WaveSel, lfo2},
                                  {lfo3WaveSel, lfo3},
                                  {lfo4WaveSel, lfo4}};
  for (const Selection& s : selections) {
    if (s.selector > 5) {
      s.selector = 1;
    }
  }
  for (const Selection& s : selections) {
    if (s.selector >= 1 && s.selector <= 5) {
      s.osc->wave = s.selector;
    }
  }
}

// Note keys, then the amplitude and frequency keys. ',' and ';' changed the
// attack above and start a note here as well.
void secondKeys(unsigned char key) {
  switch (key) {
    case 'x':
      playNote(63);
      break;
    case 'c':
      playNote(65);
      break;
    case 'v':
      playNote(66);
      break;
    case 'b':
      playNote(68);
      break;
    case 'n':
      playNote(70);
      break;
    case ',':
      playNote(71);
      break;
    case ';':
      playNote(72);
      break;
    case 'z':
      add(osc1->ampl, 0.01);
      break;
    case 's':
      add(osc1->ampl, -0.01);
      break;
    case 'e':
      add(lfo1->freq, 0.5);
      break;
    case 'd':
      add(lfo1->freq, -0.5);
      break;
    case 'r':
      add(lfo1->ampl, 0.01);
      break;
    case 'f':
      add(lfo1->ampl, -0.01);
      break;
    case 't':
      add(lfo2->freq, 0.1);
      break;
    case 'g':
      add(lfo2->freq, -0.1);
      break;
    case 'y':
      add(lfo2->ampl, 0.01);
      break;
    case 'h':
      add(lfo2->ampl, -0.01);
      break;
    case 'u':
      add(lfo3->freq, 1.0);
      break;
    case 'j':
      add(lfo3->freq, -1.0);
      break;
    case 'i':
      add(lfo3->ampl, 0.01);
      break;
    case 'k':
      add(lfo3->ampl, -0.01);
      break;
    case 'o':
      add(lfo4->freq, 1.0);
      break;
    case 'l':
      add(lfo4->freq, -1.0);
      break;
    case 'p':
      add(lfo4->ampl, 0.01);
      break;
    case 'm':
      add(lfo4->ampl, -0.01);
      break;
    default:
      break;
  }
}

// A value not above 0.0001, NaN included, becomes exactly 0.
void clamp(Relaxed<float>& field) {
  if (!(static_cast<double>(field) > 0.0001)) {
    field = 0.0f;
  }
}

void clampAll() {
  Oscillator* const oscillators[] = {osc1, lfo1, lfo2, lfo3, lfo4};
  for (Oscillator* o : oscillators) {
    clamp(o->ampl);
  }
  for (Oscillator* o : oscillators) {
    clamp(o->freq);
  }
  for (Oscillator* o : oscillators) {
    clamp(o->phase);
  }
}

void printStatusReport() {
  std::printf("Note [%d] -> [%f]\n", int32_t{note}, static_cast<double>(osc1->freq));
  for (const Oscillator* o : {osc1, lfo1, lfo2, lfo3, lfo4}) {
    o->printStatus();
  }
  vca->printStatus();
}

}  // namespace

void handleCommandKey(unsigned char key) {
  firstKeys(key);
  selectWaves();
  secondKeys(key);
  clampAll();
  printStatusReport();
}
