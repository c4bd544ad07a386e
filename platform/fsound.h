#pragma once

// Our sound library: the FSOUND_* functions the program calls, played through
// PortAudio on the machine's audio systems.
//
// Output codes: 0 "NoSound" (a silent output that still runs the stream in
// real time), 1 OSS, 2 ALSA (its "default" device also reaches PulseAudio or
// PipeWire), 7 JACK; 4 and 6 also select OSS and ALSA. Any other code offers
// no drivers. Until FSOUND_SetOutput the output is 2, with driver 0.
//
// The drivers of an output are its host API's output devices by PortAudio's
// names, the default device first; JACK's are there only while a JACK server
// runs. PortAudio starts with the first call that lists drivers.
//
// FSOUND_Init opens the driver's device and plays a little silence on it; once
// it succeeds, the output, the driver and FSOUND_Init itself are refused
// (FMOD_ERR_BUSY) until FSOUND_Close. A stream plays at the rate given to
// FSOUND_Init and no other, one stream at a time, on channel 0. Its fill
// function is called on the library's thread, one call at a time, a block
// ahead of what is heard; a result of 0 ends the calls. A device that fails
// while playing leaves the calls going on in time. FSOUND_Stream_Close
// and FSOUND_Close may be called again: a closed or unknown stream is refused
// with FMOD_ERR_INVALID_PARAM. FSOUND_Close also closes the streams left open.
// A driver index outside the list is refused with FMOD_ERR_INVALID_PARAM
// (FSOUND_GetDriverName returns null). How the play thread fared is in
// fsound_stats.h.

#include <cstdint>

struct FSOUND_STREAM;

// The fill function: fills `length` bytes of 16-bit signed stereo frames and
// returns nonzero to go on.
using FSOUND_STREAMCALLBACK = signed char (*)(FSOUND_STREAM* stream, void* buffer, int length,
                                              void* userdata);

// Error codes (FSOUND_GetError).
enum : int {
  FMOD_ERR_NONE = 0,
  FMOD_ERR_BUSY = 1,           // command not allowed after FSOUND_Init
  FMOD_ERR_UNINITIALIZED = 2,  // FSOUND_Init was not called
  FMOD_ERR_INIT = 3,           // the output device cannot be opened or cannot play
  FMOD_ERR_ALLOCATED = 4,      // the output device is in use
  FMOD_ERR_PLAY = 5,           // playing failed
  FMOD_ERR_OUTPUT_FORMAT = 6,  // no 16-bit stereo at the asked rate
  FMOD_ERR_INVALID_PARAM = 14,
};

// Output codes (FSOUND_SetOutput).
enum : int {
  FSOUND_OUTPUT_NOSOUND = 0,
  FSOUND_OUTPUT_WINMM = 1,
  FSOUND_OUTPUT_DSOUND = 2,
  FSOUND_OUTPUT_OSS = 4,
  FSOUND_OUTPUT_ALSA = 6,
  FSOUND_OUTPUT_ASIO = 7,
};

// Stream mode bits (FSOUND_Stream_Create).
enum : unsigned int {
  FSOUND_16BITS = 0x10,
  FSOUND_STEREO = 0x40,
  FSOUND_SIGNED = 0x100,
  FSOUND_2D = 0x1000000,
};

float FSOUND_GetVersion();
signed char FSOUND_SetOutput(int outputType);
int FSOUND_GetOutput();
int FSOUND_GetNumDrivers();
const char* FSOUND_GetDriverName(int driver);
signed char FSOUND_SetDriver(int driver);
signed char FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int flags);
int FSOUND_GetError();
FSOUND_STREAM* FSOUND_Stream_Create(FSOUND_STREAMCALLBACK callback, int length, unsigned int mode,
                                    int sampleRate, void* userdata);
int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream);
signed char FSOUND_Stream_Close(FSOUND_STREAM* stream);
void FSOUND_Close();
