// The running process: its file, its arguments, the clock, and ending it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

std::string ProgramPath();                  // full path of the running program's file
std::vector<std::string> CommandLineArgs(); // the arguments after the program name
uint32_t ClockSeed();                       // a value from the clock, for seeding the random generator

// Ends the process with the exit code. The caller has released everything first.
[[noreturn]] void EndProcess(int exitCode);

}  // namespace platform
