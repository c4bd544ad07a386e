#pragma once

#include "platform/fsound.h"

// The stream's fill function: clears the window, renders len >> 2 frames of
// the voice into buffer, draws the scope and shows it. Always returns 1.
signed char streamCallback(FSOUND_STREAM* stream, void* buffer, int len, void* userdata);
