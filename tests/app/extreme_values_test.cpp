#include <SDL.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/stream_callback.h"
#include "platform/random.h"
#include "scope/screen.h"
#include "synth/frame_renderer.h"
#include "synth/voice.h"
#include "tests/support/fresh_voice.h"
#include "tests/support/guarded_buffer.h"
#include "tests/support/guarded_surface.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kMax = std::numeric_limits<float>::max();

struct FloatValue {
  const char* name;
  float value;
};

// Huge, tiny, negative, infinite and NaN values, and those where the noise's
// divisors reach 0: a frequency of 438 and an amplitude of -1.11.
const FloatValue kFloatValues[] = {
    {"nan", std::numeric_limits<float>::quiet_NaN()},
    {"inf", kInf},
    {"minus_inf", -kInf},
    {"max", kMax},
    {"minus_max", -kMax},
    {"1e30", 1.0e30f},
    {"minus_1e30", -1.0e30f},
    {"3e9", 3.0e9f},
    {"minus_3e9", -3.0e9f},
    {"2_pow_31", 2147483648.0f},
    {"below_minus_2_pow_31", -2147483904.0f},
    {"ten_cycles_a_frame", 441000.0f},
    {"smallest_subnormal", std::numeric_limits<float>::denorm_min()},
    {"minus_smallest_subnormal", -std::numeric_limits<float>::denorm_min()},
    {"smallest_normal", std::numeric_limits<float>::min()},
    {"1e_minus_5", 1.0e-5f},
    {"zero", 0.0f},
    {"minus_zero", -0.0f},
    {"minus_1", -1.0f},
    {"minus_1_11", -1.11f},
    {"438", 438.0f},
};

const int32_t kIntValues[] = {INT_MIN, INT_MIN + 1, -1000000, -12, -1, 7, 1000, 2000, INT_MAX};

std::string intName(int32_t value) {
  if (value == INT_MIN) {
    return "int_min";
  }
  if (value == INT_MAX) {
    return "int_max";
  }
  return value < 0 ? "minus_" + std::to_string(-int64_t{value}) : std::to_string(value);
}

// One row: a field a user can move, set to one value.
struct Extreme {
  std::string name;
  std::function<void()> set;
};

void PrintTo(const Extreme& extreme, std::ostream* os) {
  *os << extreme.name;
}

using FloatField = std::function<Relaxed<float>&()>;
using Osc = std::function<Oscillator*()>;

std::vector<Extreme> extremes() {
  const std::pair<const char*, Osc> oscillators[] = {{"osc1", [] { return osc1; }},
                                                     {"lfo1", [] { return lfo1; }},
                                                     {"lfo2", [] { return lfo2; }},
                                                     {"lfo3", [] { return lfo3; }},
                                                     {"lfo4", [] { return lfo4; }}};
  std::vector<std::pair<std::string, FloatField>> floatFields;
  for (const auto& [name, osc] : oscillators) {
    floatFields.emplace_back(std::string(name) + "_ampl",
                             [osc]() -> Relaxed<float>& { return osc()->ampl; });
    floatFields.emplace_back(std::string(name) + "_freq",
                             [osc]() -> Relaxed<float>& { return osc()->freq; });
    floatFields.emplace_back(std::string(name) + "_phase",
                             [osc]() -> Relaxed<float>& { return osc()->phase; });
  }
  floatFields.emplace_back("attack", []() -> Relaxed<float>& { return vca->attack; });
  floatFields.emplace_back("decay", []() -> Relaxed<float>& { return vca->decay; });

  std::vector<Extreme> rows;
  for (const auto& [fieldName, field] : floatFields) {
    for (const FloatValue& v : kFloatValues) {
      rows.push_back({fieldName + "_" + v.name, [field, v] { field() = v.value; }});
    }
  }
  // Every float field at once.
  for (const FloatValue& v : kFloatValues) {
    rows.push_back({std::string("every_field_") + v.name, [floatFields, v] {
                      for (const auto& field : floatFields) {
                        field.second() = v.value;
                      }
                    }});
  }
  for (const int32_t n : kIntValues) {
    rows.push_back({"note_" + intName(n), [n] { note = n; }});
    for (const auto& [name, osc] : oscillators) {
      rows.push_back({std::string(name) + "_wave_" + intName(n), [osc, n] { osc()->wave = n; }});
    }
  }
  return rows;
}

// Blocks of a playing voice, with one field at an extreme value, rendered on
// their own and by the stream callback into guarded memory.
class ExtremeValueTest : public testing::TestWithParam<Extreme> {
 protected:
  void SetUp() override {
    freshVoice();
    seedRandom(1);
    ASSERT_NE(surface_.get(), nullptr) << SDL_GetError();
    screen = surface_.get();
    // Every LFO modulates, so the value reaches osc1 through each of them.
    const float lfoFreqs[] = {3.0f, 5.0f, 7.0f, 11.0f};
    Oscillator* const lfos[] = {lfo1, lfo2, lfo3, lfo4};
    for (int i = 0; i < 4; ++i) {
      lfos[i]->freq = lfoFreqs[i];
      lfos[i]->ampl = 0.5f;
    }
    vca->noteOn();
  }
  void TearDown() override { screen = nullptr; }

  // Whole frames into a buffer that ends where they end: the bytes past
  // the last whole frame lie in the guard.
  void renderOddLength() {
    constexpr int32_t kFrames = 1023;
    audio_.resize(kFrames * 4);
    renderFrames(audio_.data(), kFrames * 4 + 3);
    EXPECT_TRUE(audio_.guardsIntact()) << "a frame beyond the length";
  }

  void streamBlock() {
    audio_.resize(kStreamBytes);
    EXPECT_EQ(streamCallback(nullptr, audio_.data(), kStreamBytes, nullptr), 1);
    EXPECT_TRUE(audio_.guardsIntact()) << "a write outside the audio buffer";
    EXPECT_TRUE(surface_.guardsIntact()) << "a write outside the surface";
    for (int32_t i = 0; i < kStreamBytes; i += 4) {
      ASSERT_EQ(std::memcmp(audio_.data() + i, audio_.data() + i + 2, 2), 0) << "frame " << i / 4;
    }
  }

  GuardedBuffer audio_{kStreamBytes};
  GuardedSurface surface_;
};

// Every waveform and the unknown ones either side: osc1 takes wave w and
// the LFOs 6 - w, so each oscillator meets each wave once, in a different
// pairing. The row's own value is set again before each block, as the
// running voice may have moved it.
TEST_P(ExtremeValueTest, StaysInsideItsMemoryWithEveryWave) {
  for (int32_t w = 0; w <= 6; ++w) {
    osc1->wave = w;
    for (Oscillator* lfo : {lfo1, lfo2, lfo3, lfo4}) {
      lfo->wave = 6 - w;
    }
    GetParam().set();
    SCOPED_TRACE("osc1 wave " + std::to_string(w));
    renderOddLength();
    streamBlock();
  }
}

INSTANTIATE_TEST_SUITE_P(Fields, ExtremeValueTest, testing::ValuesIn(extremes()),
                         [](const testing::TestParamInfo<Extreme>& info) {
                           return info.param.name;
                         });

// The callback on the window's own surface of SDL's dummy video driver, whose
// flip is a real one, with every field beyond any range.
TEST(ExtremeValueWindowTest, CallbackReturnsOneOnTheVideoSurface) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Surface* const window = SDL_SetVideoMode(640, 800, 32, SDL_SWSURFACE);
  ASSERT_NE(window, nullptr) << SDL_GetError();
  screen = window;
  const float values[] = {std::numeric_limits<float>::quiet_NaN(), kInf, -kInf, kMax, -kMax};
  GuardedBuffer audio(kStreamBytes);
  for (const float v : values) {
    freshVoice();
    for (Oscillator* o : {osc1, lfo1, lfo2, lfo3, lfo4}) {
      o->ampl = v;
      o->freq = v;
      o->phase = v;
    }
    vca->attack = v;
    vca->decay = v;
    vca->noteOn();
    for (int32_t w = 1; w <= 5; ++w) {
      for (Oscillator* o : {osc1, lfo1, lfo2, lfo3, lfo4}) {
        o->wave = w;
      }
      EXPECT_EQ(streamCallback(nullptr, audio.data(), kStreamBytes, nullptr), 1);
      EXPECT_TRUE(audio.guardsIntact());
    }
  }
  screen = nullptr;
  SDL_Quit();
}

}  // namespace
