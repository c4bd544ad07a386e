#pragma once

// The message for a sound library error code (FSOUND_GetError). The code is
// compared as unsigned, so a negative code gives "Unknown error" like any
// code above 18.
const char* soundErrorText(int code);
