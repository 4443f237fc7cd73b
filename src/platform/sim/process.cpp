#include "platform/process.h"
#include "platform/sim/sim.h"

namespace platform {

std::string ProgramPath() { return sim::Machine().programPath; }
std::vector<std::string> CommandLineArgs() { return sim::Machine().args; }
uint32_t ClockSeed() { return sim::Machine().clockSeed; }
void EndProcess(int exitCode) { throw sim::ProcessEnded{exitCode}; }

}  // namespace platform
