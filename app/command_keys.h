#pragma once

// Applies one console key byte: changes the note, the oscillators' amplitudes,
// frequencies and waveforms or the envelope's lengths, or starts a note; then
// clamps every amplitude, frequency and phase to 0 or above 0.0001 and prints
// the seven-line status report. Every byte prints the report, commands or not.
void handleCommandKey(unsigned char key);
