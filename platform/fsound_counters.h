#pragma once

// The play thread's counts behind fsoundStats(); safe from any thread.
void countFillCall();
void countUnderflow();
void countFailedWrite();
