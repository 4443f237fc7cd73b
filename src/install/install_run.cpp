#include "install/install_run.h"

#include <string>

#include "app/shutdown.h"
#include "form/form1.h"
#include "install/commands.h"
#include "install/install_files.h"
#include "install/run_state.h"
#include "install/uninstall_entry.h"
#include "install/uninstall_log.h"
#include "package/workdir.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "script/display_text.h"
#include "script/languages.h"
#include "script/setup_ini.h"

namespace {

// The installation folder as typed, without blanks around it and without one trailing
// backslash.
std::string NormalisedFolder(const std::string& typed) {
  std::string folder = text::Trim(typed);
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

// The item handlers, in the order the run calls them. A kind whose handler is not part of this
// build has its step and status line all the same.
struct HandlerStep {
  int status;           // [Install] text of the status line; 0: unchanged
  const char* section;  // of setup.ini
  void (*handler)(const std::string& entry);
};

void RunInstallCommand(const std::string& entry) { RunCommand(CommandPhase::InstallRun, entry); }

const HandlerStep kHandlerSteps[] = {
    {3, "Shortcuts", nullptr},  {4, "Registry", nullptr},  {5, "INI", nullptr},
    {6, "Extensions", nullptr}, {10, "Others", nullptr},   {0, "Commands", RunInstallCommand},
};

void RunHandlerSteps() {
  for (const HandlerStep& step : kHandlerSteps) {
    if (step.status) Form1.Label8.Caption = LangText("Install", step.status);
    if (step.status == 10) platform::ProcessMessages();
    std::vector<std::string> keys = SetupIni.ReadSection(step.section);
    if (step.handler) {
      // The registry handler reads the other entries of its section from the scratch list.
      Form1.ListBox1.Items = keys;
      for (const std::string& key : keys) step.handler(SetupIni.ReadString(step.section, key, ""));
      Form1.ListBox1.Items.clear();
    }
    if (step.status) Form1.Label14.Caption.clear();
  }
}

// Writes the log out; a log that cannot be written is reported as a failed item.
void SaveLog(const std::string& path) {
  if (UninstallIni.SaveAs(path)) return;
  platform::MessageBoxRequest box;
  box.owner = platform::Owner::MainWindow;
  box.text = FormatMessage("Error creating file:<#>%s<#><#>Access is denied.", path);
  box.caption = "Setup";
  box.icon = platform::Icon::Error;
  platform::ShowMessageBox(box);
  InstallErrors = true;
}

// The end of a run that cannot go on. A log opened in the installation folder keeps what was
// recorded so far; one in the work folder goes with it.
[[noreturn]] void EndRun(platform::File& package, ExitCode code) {
  package.Close();
  UninstallIni.Save();
  UninstallIni.Release();
  EndSetup(code);
}

}  // namespace

void RunInstall() {
  InstallErrors = AbortRequested = false;
  const std::string installFolder = Form1.Edit1.Text = NormalisedFolder(Form1.Edit1.Text);
  Form1.ProgressBar1.Position = 0;
  Form1.Label8.Caption = LangText("Install", 2);

  const std::string installedLog = installFolder + "\\Uninstall.ini";
  UninstallIni.Open(platform::FileExists(installedLog) ? installedLog : WorkDir + "\\uninstall.ini");
  WriteLogHeader(installFolder);

  platform::File package;
  package.Open(platform::ProgramPath(), platform::File::Mode::Read);
  const int count = SetupInteger("FilesCount");
  FileLists lists;
  for (int index = 0; index < count; ++index) {
    switch (InstallPackagedFile(package, index, count, lists)) {
      case FileOutcome::Done: break;
      case FileOutcome::Fatal: EndRun(package, ExitCode::InstallFailed);
      case FileOutcome::Aborted: EndRun(package, ExitCode::CancelledDuringInstall);
    }
  }
  package.Close();
  if (UninstallEnabled) LogUninstallItem("Files", installedLog);
  platform::ProcessMessages();

  RunHandlerSteps();

  Form1.ProgressBar1.Position = 100;
  Form1.Label8.Caption = LangText("Install", 10);
  platform::ProcessMessages();
  LogCreatedFolders(lists.createdFolders);
  LogInstalledFiles(lists.installedFiles);
  if (UninstallEnabled && SetupBool("ShowAddRemove")) RegisterUninstallEntry(installFolder);

  // A first installation's log, built in the work folder, goes into the installation folder too.
  SaveLog(UninstallIni.Path());
  if (UninstallEnabled && !platform::FileExists(installedLog)) SaveLog(installedLog);
  UninstallIni.Release();
  platform::ProcessMessages();
}
