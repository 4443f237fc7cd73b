// The exit codes of the stub, one per way the process can end. A number, once given, is never
// reused for something else.
#pragma once

enum class ExitCode : int {
  Completed = 0,               // installed; or the wizard closed from its finish page
  Corrupted = 1,               // the setup file is corrupted
  RequirementNotMet = 2,       // a requirement of the script is not met
  CancelledBeforeInstall = 3,  // the user cancelled or declined before the installation began
  InstallFailed = 4,           // a fatal error of the installation run
  CancelledDuringInstall = 5,  // the user cancelled during the installation
  InstalledWithErrors = 6,     // installed, but items failed and the user chose to go on
};
