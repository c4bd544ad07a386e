#include "synth/oscillator.h"

#include <bit>
#include <cmath>
#include <cstdio>

#include "platform/random.h"
#include "synth/truncate.h"

namespace {
constexpr double kTwoPi = 6.2831853;  // the decimal constant, not 2*pi in full
constexpr double kFrameRate = 44100.0;
constexpr double kWrap = 10.0;
}  // namespace

Oscillator::Oscillator(float ampl_, float freq_, int32_t wave_)
    : out(0.0f),
      pos(0.0f),
      phase(1.0f),
      ampl(ampl_),
      freq(freq_),
      aPhase(1.0f),
      aAmpl(ampl_),
      aFreq(freq_),
      wave(wave_) {}

double Oscillator::sineOf(float position, float phaseOffset) {
  const uint64_t key =
      (uint64_t{std::bit_cast<uint32_t>(position)} << 32) | std::bit_cast<uint32_t>(phaseOffset);
  if (key != sineKey_) {
    sineKey_ = key;
    sineValue_ = std::sin((double{position} + double{phaseOffset}) * kTwoPi);
  }
  return sineValue_;
}

void Oscillator::tick() {
  const float amplitude = aAmpl;
  float p = static_cast<float>(double{pos} + double{aFreq} / kFrameRate);
  if (p > kWrap) {
    p = static_cast<float>(double{p} - kWrap);
  }
  pos = p;

  switch (wave) {
    case 1:
      out = static_cast<float>(sineOf(p, aPhase) * double{amplitude});
      break;
    case 2:
      out = static_cast<float>(double{p} * double{amplitude});
      break;
    case 3:
      out = static_cast<float>(double{p} * double{amplitude} - 0.5);
      break;
    case 4: {
      const float s = static_cast<float>(sineOf(p, aPhase));
      out = s > 0.5f ? amplitude : (s < -0.5f ? -amplitude : 0.0f);
      break;
    }
    case 5: {
      if (amplitude == 0.0f) {
        out = 0.0f;
        break;
      }
      // A zero divisor (or a NaN input) counts as no hit.
      int64_t v = 0;
      const int32_t r1 = nextRandom();
      const int64_t n1 = truncateToInt32(double{aFreq} - 439.0) + 1;
      if (n1 != 0 && r1 % n1 == 1) {
        const int32_t r2 = nextRandom();
        const int64_t n2 = truncateToInt32(double{amplitude} * 100.0) + 111;
        v = n2 != 0 ? r2 % n2 : 0;
      }
      out = static_cast<float>((static_cast<double>(v) - 50.0 * double{amplitude}) / 100.0);
      break;
    }
    default:
      break;  // out keeps its previous value
  }
}

void Oscillator::printStatus() const {
  std::printf(
      "Freq [%3.3f] Ampl [%3.3f] Phase [%3.3f] - AFreq [%3.3f] AAmpl [%3.3f] APhase [%3.3f]  \n",
      double{freq}, double{ampl}, double{phase}, double{aFreq}, double{aAmpl}, double{aPhase});
}
