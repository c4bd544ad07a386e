#pragma once

// Handles every waiting window event: the note keys z x c v b n play their
// note, releasing any other key than Escape (and any user event) starts a
// random note from 53 to 62, Escape ends the program with exit code 0.
void pumpWindowEvents();

// While no note sounds, posts the event that starts a random note and prints
// "MIAM".
void autoPlayCheck();
