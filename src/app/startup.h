// The start-up of the stub: the program entry, the window's creation handler that performs
// the whole start-up in a fixed order, and its first activation.
#pragma once
#include <string>

extern bool FirstActivation;
extern std::string AppTitle;  // [Setup] AppName and AppVersion joined by one blank

// The program entry: the application titled "Setup", the window created (its creation runs
// FormCreate), then the window's life. Ends the process.
[[noreturn]] void RunSetup();

// The start-up sequence. Returns only when the wizard is to be shown; every other end of the
// start-up ends the process.
void FormCreate();

// The first activation shows the first page that is on; later activations change nothing.
void FormActivate();

// Back to the state before start-up: a fresh window and no work folder (for tests).
void ResetSetupState();
