#pragma once

#include "scope/clear_surface.h"
#include "scope/plot_pixel.h"

// The scope pass: re-simulates 12802 steps of the voice from position 0 into
// `screen` (the LFOs, the voice, its applied amplitude and the centre line),
// then puts the oscillators' running positions back. The envelope is ticked on
// every step and not put back.
void drawScope();
