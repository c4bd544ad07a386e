#pragma once

#include <cstdint>

// Length of the stream's buffer: 8192 frames of 16-bit stereo, about 186 ms.
constexpr int32_t kStreamBytes = 32768;

// Waveform selectors of the console commands: 0 until their key is first
// pressed, then 1 to 5. Main thread only.
extern int32_t osc1WaveSel;
extern int32_t lfo1WaveSel;
extern int32_t lfo2WaveSel;
extern int32_t lfo3WaveSel;
extern int32_t lfo4WaveSel;
