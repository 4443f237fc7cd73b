// Tests that run unchanged against the simulated Windows (host) and the real one (Wine), so
// that the simulation is held to what Windows does.
#pragma once
#include <string>

// A fresh, empty folder for one test, as a Windows path without a trailing backslash.
std::string ContractFolder();
