#include "../contract/contract.h"
#include "platform/files.h"
#include "platform/sim/sim.h"

std::string ContractFolder() {
  static int tests = 0;
  sim::Reset();
  std::string folder = "C:\\Temp\\contract" + std::to_string(++tests);
  platform::CreateFolder(folder);
  return folder;
}

bool ReadOnlyRefusesWrites() { return true; }

uint32_t ReportedAttributes(uint32_t set) { return set ? set : platform::kAttrNormal; }
