#pragma once

// Opens the 640 x 800 window with 32-bit pixels and sets `screen`. A window
// that cannot be opened prints why and ends the process with exit code 1.
void openWindow();
