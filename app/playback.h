#pragma once

// Creates the voice's stream with streamCallback and plays it. A stream that
// cannot be created or played prints "Error!" and the library's error text and
// ends the process with exit code 1.
void startPlayback();

// Closes the stream, waiting for a running fill call to return, then the
// sound library. Safe to call more than once.
void stopPlayback();
