// Prints every built-in placeholder as the Windows build computes it on this system, one
// "<Name>=value" line each, so that a test can hold them against what the system itself
// reports. The program's own folder stands in for the work folder.
#include <cstdio>

#include "package/workdir.h"
#include "platform/path.h"
#include "platform/process.h"
#include "script/placeholders.h"

int main() {
  WorkDir = path::FolderOf(platform::ProgramPath());
  for (int number = 1; number <= kPlaceholderCount; ++number) {
    std::string name = PlaceholderName(number);
    std::printf("%s=%s\n", name.c_str(), ExpandPlaceholders(name).c_str());
  }
  return 0;
}
