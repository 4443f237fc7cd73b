#include <windows.h>

#include <string>

#include "../contract/contract.h"

// A new, empty folder under the temporary folder for every test (Wine reuses process ids, so
// a name left by an earlier run is passed over); they are left to the prefix's clean-up.
std::string ContractFolder() {
  static unsigned tests = 0;
  char temp[MAX_PATH + 1];
  GetTempPathA(MAX_PATH, temp);
  for (;;) {
    std::string folder = std::string(temp) + "contract-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++tests);
    if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
  }
}

namespace {
bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }
}  // namespace

bool ReadOnlyRefusesWrites() { return !UnderWine(); }

uint32_t ReportedAttributes(uint32_t set) {
  if (UnderWine()) return set | FILE_ATTRIBUTE_ARCHIVE;
  return set ? set : FILE_ATTRIBUTE_NORMAL;
}
