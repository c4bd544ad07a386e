#pragma once

// The start-up dialogue on the console: checks the sound library's version,
// lets the user pick the output type and then the driver, and initialises the
// library with them.
//
// Returns once the library is initialised, or once the message of a refused
// version or of a failed initialisation has been printed; the library is then
// left uninitialised. Escape in either menu ends the process with exit code
// 0, and so does the end of console input.
void setupSound();
