// The ways the process ends. Every one removes the work folder first.
#pragma once
#include "app/exit_codes.h"

// Releases the script, the language file and the user variables, removes the work folder and
// ends the process.
[[noreturn]] void EndSetup(ExitCode code);

// "The setup file is corrupted." (caption "Error", error icon, no owner window: no language may
// be loaded yet), then the end with ExitCode::Corrupted.
[[noreturn]] void FatalCorrupted();
