// The installation run: the installation folder and program group the wizard holds, the
// uninstall log's header, every packaged file, the item handlers in a fixed order, the log
// completed, the product registered and the log left in the installation folder. Entered once
// per process, from the Install page or, in a silent installation, from start-up.
#pragma once

// Returns when every step has been attempted. A failure it cannot go on from (and the user's
// cancelling while a file is copied) ends the process instead: everything released, the work
// folder removed, exit code InstallFailed (or CancelledDuringInstall).
void RunInstall();
