#include "scope/screen.h"

SDL_Surface* screen = nullptr;
