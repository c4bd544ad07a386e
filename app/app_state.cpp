#include "app/app_state.h"

int32_t osc1WaveSel = 0;
int32_t lfo1WaveSel = 0;
int32_t lfo2WaveSel = 0;
int32_t lfo3WaveSel = 0;
int32_t lfo4WaveSel = 0;
