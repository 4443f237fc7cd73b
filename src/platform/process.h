// The running process: its file, its arguments, the clock, and ending it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

std::string ProgramPath();                  // full path of the running program's file
std::vector<std::string> CommandLineArgs(); // the arguments after the program name
uint32_t ClockSeed();                       // a value from the clock, for seeding the random generator

// Starts a program from a command line, no handles inherited, with a console of its own and
// normal priority, the caller's environment, `currentFolder` as its current folder ("" the
// caller's) and its window shown as `show` (an SW_ value). When it started, waits for its end
// without a time limit. False when it could not be started.
bool StartProcessAndWait(const std::string& commandLine, const std::string& currentFolder, int show);

// Opens a file, program or address through the shell's "open" verb, without an owner window;
// `parameters` and `folder` may be "". Whether it opened is not reported.
void ShellOpen(const std::string& file, const std::string& parameters, const std::string& folder, int show);

// Ends the process with the exit code. The caller has released everything first.
[[noreturn]] void EndProcess(int exitCode);

}  // namespace platform
