#pragma once

// Starts PortAudio once for the whole process, with the diagnostics of ALSA,
// JACK and PortAudio itself kept off the console. Returns whether it runs.
bool startPortAudio();
