#include <windows.h>

#include <string>

#include "../contract/contract.h"

// A new folder under the temporary folder for every test; earlier ones of the run are left to
// the prefix's clean-up.
std::string ContractFolder() {
  static int tests = 0;
  char temp[MAX_PATH + 1];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "contract-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(++tests);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}
