#pragma once

#include <cstdint>

// Frames per second of the voice: one tick of every oscillator and of the
// envelope per frame.
constexpr int32_t kMixRate = 44100;
// Scale from oscillator output to 16-bit sample value.
constexpr float kSampleScale = 10000.0f;
// Frequency of note -11; note n has the pitch of MIDI note n + 11 (58 is 440 Hz).
constexpr double kNoteBaseHz = 8.1757989;

// Renders len >> 2 frames of 16-bit little-endian stereo (left = right) into
// buffer from the global voice, one frame per tick of every oscillator and of
// the envelope. Bytes past the last whole frame are left untouched, and a
// negative len renders nothing.
void renderFrames(void* buffer, int32_t len);

// kNoteBaseHz * 2^((note + 11) / 12), stored as float.
float noteFrequency(int32_t note);
