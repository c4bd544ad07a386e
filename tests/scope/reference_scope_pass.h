#pragma once

#include <cstdint>
#include <vector>

#include "synth/oscillator.h"
#include "synth/vca.h"

// The scope pass written out step by step over a voice of its own, with the
// modulation routing spelt out and the rows checked in double: the pass must
// leave the same picture and the same voice state to the last bit.
namespace scope_test {

struct ReferenceVoice {
  Oscillator osc1{1.0f, 440.0f, 1};
  Oscillator lfo1{1.0f, 0.0f, 1};
  Oscillator lfo2{1.0f, 0.0f, 1};
  Oscillator lfo3{1.0f, 0.0f, 1};
  Oscillator lfo4{1.0f, 0.0f, 1};
  Vca vca;
};

class ReferenceImage {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 800;

  ReferenceImage() : words_(kWidth * kHeight, 0) {}

  void point(int32_t column, double row, uint32_t colour) {
    if (row >= 1.0 && row < 800.0) {
      words_[static_cast<int>(row) * kWidth + column] = colour;
    }
  }

  const std::vector<uint32_t>& words() const { return words_; }

 private:
  std::vector<uint32_t> words_;
};

inline void refreshApplied(Oscillator& osc) {
  osc.aFreq = osc.freq;
  osc.aPhase = osc.phase;
  osc.aAmpl = osc.ampl;
}

inline float deviated(float value, float output) {
  return static_cast<float>(double{output} * double{value} + double{value});
}

inline bool modulates(const Oscillator& lfo) {
  return lfo.aAmpl != 0.0f && lfo.aFreq != 0.0f;
}

inline void referencePass(ReferenceVoice& v, ReferenceImage& image) {
  Oscillator* const all[] = {&v.osc1, &v.lfo1, &v.lfo2, &v.lfo3, &v.lfo4};
  float saved[5];
  for (int i = 0; i < 5; ++i) {
    saved[i] = all[i]->pos;
    all[i]->pos = 0.0f;
  }

  for (float x = 0.0f; x < 640.0f; x = static_cast<float>(double{x} + 0.05)) {
    refreshApplied(v.lfo4);
    v.lfo4.tick();
    const float p4 = v.lfo4.output();
    refreshApplied(v.lfo3);
    v.lfo3.tick();
    const float p3 = v.lfo3.output();
    refreshApplied(v.lfo2);
    v.lfo2.tick();
    const float p2 = v.lfo2.output();
    refreshApplied(v.lfo1);
    v.lfo1.tick();
    const float p1 = v.lfo1.output();

    refreshApplied(v.osc1);
    if (modulates(v.lfo1)) {
      v.osc1.aAmpl = deviated(v.osc1.aAmpl, p1);
    }
    if (modulates(v.lfo2)) {
      v.osc1.aFreq = deviated(v.osc1.aFreq, p2);
    }
    if (modulates(v.lfo3)) {
      v.osc1.aPhase = deviated(v.osc1.aPhase, p3);
    }
    if (modulates(v.lfo4)) {
      v.osc1.aFreq = deviated(v.osc1.aFreq, p4);
    }

    v.vca.tick();
    v.osc1.aAmpl = static_cast<float>(double{v.vca.level} * double{v.osc1.aAmpl});
    v.osc1.tick();
    const float o = static_cast<float>(double{v.osc1.output()} * 10000.0);
    const float a = v.osc1.aAmpl;

    const auto column = static_cast<int32_t>(x);
    image.point(column, 100.0 * double{p4} + 120.0, 0xFF0000);
    image.point(column, 100.0 * double{p3} + 120.0, 0xFF0000);
    image.point(column, 100.0 * double{p2} + 120.0, 0x00FF00);
    image.point(column, 100.0 * double{p1} + 120.0, 0x0000FF);
    image.point(column, double{o} / 200.0 + 120.0, 0xFFFFFF);
    image.point(column, double{a} / 200.0 + 240.0, 0xF0F0F0);
    image.point(column, 120.0, 0xFF00FF);
    image.point(column, double{o} / 300.0 + 450.0, 0xFFFFFF);
  }

  for (int i = 0; i < 5; ++i) {
    all[i]->pos = saved[i];
  }
}

}  // namespace scope_test
