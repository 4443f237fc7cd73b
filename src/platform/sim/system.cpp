#include "platform/sim/sim.h"
#include "platform/system.h"

namespace platform {

std::string WindowsFolder() { return sim::Machine().windowsFolder; }
std::string SystemFolder() { return sim::Machine().systemFolder; }

std::string ShellFolder(int csidl) {
  const auto& folders = sim::Machine().shellFolders;
  auto found = folders.find(csidl);
  return found == folders.end() ? std::string() : found->second;
}

unsigned SystemDefaultLanguageId() { return sim::Machine().systemLanguageId; }
std::string ShortDateToday() { return sim::Machine().shortDate; }
LocalDate Today() { return sim::Machine().today; }
DateTimeFormat UserDateTimeFormat() { return sim::Machine().dateTimeFormat; }

}  // namespace platform
