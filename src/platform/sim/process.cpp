#include "platform/process.h"
#include "platform/sim/sim.h"

namespace platform {

std::string ProgramPath() { return sim::Machine().programPath; }
std::vector<std::string> CommandLineArgs() { return sim::Machine().args; }
uint32_t ClockSeed() { return sim::Machine().clockSeed; }
// A start that fails is not recorded: the record lists the programs that ran.
bool StartProcessAndWait(const std::string& commandLine, const std::string& currentFolder, int show) {
  sim::State& machine = sim::Machine();
  if (!machine.processesStart) return false;
  sim::ProcessRecord record{commandLine, currentFolder, show};
  machine.processes.push_back(record);
  if (machine.onProcess) machine.onProcess(record);  // the program "runs" before the wait returns
  return true;
}

void ShellOpen(const std::string& file, const std::string& parameters, const std::string& folder, int show) {
  sim::Machine().shellOpens.push_back(sim::ShellOpenRecord{file, parameters, folder, show});
}

void EndProcess(int exitCode) { throw sim::ProcessEnded{exitCode}; }

}  // namespace platform
