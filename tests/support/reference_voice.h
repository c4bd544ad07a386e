#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

// The voice written out plainly, operation by operation, with no caching and
// no atomics: the renderer must produce the same samples to the last bit.
namespace reference {

struct Osc {
  float out = 0, pos = 0, phase = 1, ampl, freq, aPhase = 1, aAmpl, aFreq;
  int32_t wave;
  Osc(float a, float f, int32_t w) : ampl(a), freq(f), aAmpl(a), aFreq(f), wave(w) {}

  // `draw` supplies the random source for the sparse noise.
  template <typename Draw>
  void tick(Draw&& draw) {
    pos = static_cast<float>(static_cast<double>(pos) + static_cast<double>(aFreq) / 44100.0);
    if (pos > 10.0) {
      pos = static_cast<float>(static_cast<double>(pos) - 10.0);
    }
    const double angle = (static_cast<double>(pos) + static_cast<double>(aPhase)) * 6.2831853;
    switch (wave) {
      case 1:
        out = static_cast<float>(std::sin(angle) * static_cast<double>(aAmpl));
        break;
      case 2:
        out = static_cast<float>(static_cast<double>(pos) * static_cast<double>(aAmpl));
        break;
      case 3:
        out = static_cast<float>(static_cast<double>(pos) * static_cast<double>(aAmpl) - 0.5);
        break;
      case 4: {
        const float s = static_cast<float>(std::sin(angle));
        out = s > 0.5 ? aAmpl : (s < -0.5 ? -aAmpl : 0.0f);
        break;
      }
      case 5: {
        if (aAmpl == 0) {
          out = 0;
          break;
        }
        int32_t v = 0;
        const int32_t n1 = static_cast<int32_t>(static_cast<double>(aFreq) - 439.0) + 1;
        if (draw() % n1 == 1) {
          const int32_t r2 = draw();
          v = r2 % (static_cast<int32_t>(static_cast<double>(aAmpl) * 100.0) + 111);
        }
        out = static_cast<float>((v - 50.0 * static_cast<double>(aAmpl)) / 100.0);
        break;
      }
      default:
        break;
    }
  }
};

struct Env {
  float time = 0, level = 0, attack = 100, peak = 1, decay = 2400;
  int32_t gate = 0;
  void noteOn() {
    level = 0;
    gate = 1;
    time = 0;
  }
  void tick() {
    time = static_cast<float>(static_cast<double>(time) + 0.05);
    if (gate != 1) {
      level = 0;
      return;
    }
    const float end = static_cast<float>(static_cast<double>(attack) + static_cast<double>(decay));
    if (time >= end) {
      level = 0;
      gate = 0;
    } else if (time < attack) {
      level = static_cast<float>(static_cast<double>(time) * peak / attack);
    } else {
      level = static_cast<float>(peak - (static_cast<double>(time) - attack) * peak / decay);
    }
  }
};

// The C library's generator from state 1, as the audio thread has it.
struct Lcg {
  uint32_t state = 1;
  int32_t operator()() {
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7fff);
  }
};

struct Voice {
  Osc osc1{1, 440, 1};
  Osc lfo[4] = {{1, 0, 1}, {1, 0, 1}, {1, 0, 1}, {1, 0, 1}};  // lfo1 to lfo4
  Env vca;
  int32_t note = 58;
  Lcg random;

  static void refresh(Osc& o) {
    o.aFreq = o.freq;
    o.aPhase = o.phase;
    o.aAmpl = o.ampl;
  }
  static bool active(const Osc& o) { return o.aAmpl != 0 && o.aFreq != 0; }
  static float deviate(float value, float by) {
    return static_cast<float>(static_cast<double>(by) * value + static_cast<double>(value));
  }

  // One frame: the sample written to both channels.
  int16_t frame() {
    float p[4];
    for (int i = 3; i >= 0; --i) {
      refresh(lfo[i]);
      lfo[i].tick(random);
      p[i] = lfo[i].out;
    }
    refresh(osc1);
    osc1.freq = static_cast<float>(8.1757989 * std::pow(2.0, (note + 11) / 12.0));
    if (active(lfo[0]))
      osc1.aAmpl = deviate(osc1.aAmpl, p[0]);
    if (active(lfo[1]))
      osc1.aFreq = deviate(osc1.aFreq, p[1]);
    if (active(lfo[2]))
      osc1.aPhase = deviate(osc1.aPhase, p[2]);
    if (active(lfo[3]))
      osc1.aFreq = deviate(osc1.aFreq, p[3]);
    vca.tick();
    osc1.tick(random);
    const float s = static_cast<float>(static_cast<double>(osc1.out) * 10000.0);
    const float v = static_cast<float>(static_cast<double>(s) * vca.level);
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int32_t>(v)));
  }
};

}  // namespace reference
