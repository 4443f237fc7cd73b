// Flags of the installation run shared with the wizard.
#pragma once

extern bool UninstallEnabled;  // [Setup] Uninstall, read at start-up
extern bool InstallErrors;     // an item failed and the user chose to go on
extern bool AbortRequested;    // the user confirmed cancelling during the run
