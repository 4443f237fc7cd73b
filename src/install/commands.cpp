#include "install/commands.h"

#include <vector>

#include "install/uninstall_log.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/process.h"
#include "platform/ui.h"
#include "script/list_entry.h"
#include "script/placeholders.h"

namespace {

constexpr size_t kCommandLineLimit = 255;

// The window-show values of the system (SW_...).
int ShowValue(const std::string& showMode) {
  if (showMode == "Maximize") return 3;
  if (showMode == "Minimize") return 2;
  if (showMode == "Hide") return 0;
  return 1;
}

void StartCommand(const std::string& program, const std::string& parameters, const std::string& wait, int show) {
  if (wait == "Yes") {
    RunAndWait(program, parameters, show);
  } else if (platform::FileExists(program)) {
    const size_t slash = program.find_last_of('\\');
    platform::ShellOpen(slash == std::string::npos ? program : program.substr(slash + 1), parameters,
                        path::FolderOf(program), show);
  } else {
    // An address, a document known by name, a program on the search path: opened as it is.
    platform::ShellOpen(program, "", "", show);
  }
}

}  // namespace

std::string CommandLineOf(const std::string& program, const std::string& parameters) {
  std::string line = "\"" + program.substr(0, kCommandLineLimit) + "\" " + parameters.substr(0, kCommandLineLimit);
  return line.substr(0, kCommandLineLimit);
}

std::string CurrentFolderOf(const std::string& program) {
  const std::string cut = program.substr(0, kCommandLineLimit);
  const size_t slash = cut.find_last_of("\\:");
  return slash == std::string::npos ? "" : cut.substr(0, slash + 1);
}

bool RunAndWait(const std::string& program, const std::string& parameters, int show) {
  return platform::StartProcessAndWait(CommandLineOf(program, parameters), CurrentFolderOf(program), show);
}

void RunCommand(CommandPhase phase, const std::string& entry) {
  std::vector<std::string> fields = SplitEntry(entry, kListSeparator);
  if (fields.empty()) return;
  if (fields.size() >= 5) {
    const std::string program = ExpandPlaceholders(fields[0]), parameters = ExpandPlaceholders(fields[1]);
    const std::string &showMode = fields[2], &when = fields[3], &wait = fields[4];
    if (phase == CommandPhase::StartUp) {
      if (when == "Before Installation") StartCommand(program, parameters, wait, ShowValue(showMode));
    } else if (when == "After Installation") {
      StartCommand(program, parameters, wait, ShowValue(showMode));
    } else if (when == "Before Uninstallation" || when == "After Uninstallation") {
      LogUninstallItem(when == "Before Uninstallation" ? "ExecBeforeUninstall" : "ExecAfterUninstall",
                       program + "*?" + parameters + "*?" + showMode + "*?" + wait);
    }
  }
  platform::ProcessMessages();
}
