#include "app/shutdown.h"

#include "package/workdir.h"
#include "platform/process.h"
#include "platform/ui.h"

void EndSetup(ExitCode code) {
  RemoveWorkDir();
  platform::EndProcess(static_cast<int>(code));
}

void FatalCorrupted() {
  platform::MessageBoxRequest box;
  box.text = "The setup file is corrupted.";
  box.caption = "Error";
  box.icon = platform::Icon::Error;
  platform::ShowMessageBox(box);
  EndSetup(ExitCode::Corrupted);
}
