// Tests that run unchanged against the simulated Windows (host) and the real one (Wine), so
// that the simulation is held to what Windows does.
#pragma once
#include <string>

// A fresh, empty folder for one test, as a Windows path without a trailing backslash.
std::string ContractFolder();

// Whether opening a read-only file for writing, or moving another file over it, fails. Both do
// on Windows and in the simulation; Wine run by root cannot refuse them, since root passes the
// Unix permissions it maps the attribute to.
bool ReadOnlyRefusesWrites();
