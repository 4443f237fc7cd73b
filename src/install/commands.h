// [Commands]: programs, documents or addresses opened before or after the installation, and
// the uninstallation commands recorded for the uninstaller. An entry is five fields separated
// by "*?": program, parameters, show mode, when, wait.
#pragma once
#include <string>

enum class CommandPhase { StartUp, InstallRun };

// Handles one entry for one phase: at start-up the "Before Installation" entries run; in the
// run the "After Installation" entries run and the two uninstallation kinds are recorded in
// the uninstall log. An empty entry is passed over without processing messages; one of fewer
// than five fields is ignored.
void RunCommand(CommandPhase phase, const std::string& entry);

// Starts a program and waits for its end: the program path and the parameters each cut to 255
// characters, the command line "\"program\" parameters" cut to 255, the program's folder (with
// its backslash) as the current folder. Returns whether the process was started.
bool RunAndWait(const std::string& program, const std::string& parameters, int show);

// The command line and current folder RunAndWait starts a program with.
std::string CommandLineOf(const std::string& program, const std::string& parameters);
std::string CurrentFolderOf(const std::string& program);
