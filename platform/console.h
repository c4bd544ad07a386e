#pragma once

// The console keyboard on standard input: one byte per key press, unechoed,
// without Enter.
//
// consoleOpen() puts a terminal into raw input mode (no echo, no line
// editing; output processing and Ctrl-C stay on) and makes sure it is put
// back exactly as it was on every way out: at exit, and on SIGINT, SIGTERM
// and SIGHUP, after which the process still dies by that signal. When standard
// input is not a terminal the bytes are read from it all the same.

// Call once, before anything else installs signal handlers.
void consoleOpen();

// Restores the terminal settings saved by consoleOpen(). Idempotent and
// async-signal-safe; does nothing when standard input is not a terminal.
void consoleRestore();

// True when a key byte can be read at once. Waits up to timeoutMs for one
// (0: a pure test). At end of input it is false and still waits the timeout,
// so a loop that polls it does not spin.
bool consoleKeyWaiting(int timeoutMs);

// The next key byte (0 to 255), waiting for it; -1 at end of input.
int consoleReadKey();
