#include "app/startup.h"

#include "app/shutdown.h"
#include "form/form1.h"
#include "install/commands.h"
#include "install/install_run.h"
#include "install/run_state.h"
#include "package/cabinet.h"
#include "package/locator.h"
#include "package/workdir.h"
#include "platform/files.h"
#include "platform/process.h"
#include "script/languages.h"
#include "script/placeholders.h"
#include "script/setup_ini.h"
#include "script/variables.h"
#include "wizard/page_flow.h"

bool FirstActivation = false;
std::string AppTitle;

namespace {

constexpr int kCopyBlock = 2048;

// Copies the configuration cabinet out of the package in whole blocks: the last block may
// reach into the next cabinet, so the copy is cut to its length afterwards.
bool CopyConfigurationCabinet(platform::File& stub, int32_t length, const std::string& target) {
  platform::File cabinet;
  if (!cabinet.Open(target, platform::File::Mode::Create)) return false;
  char block[kCopyBlock];
  int64_t count = 0, read;
  do {
    read = stub.Read(block, kCopyBlock);
    if (read < 0 || !cabinet.Write(block, read)) return false;
    count += read;
  } while (count <= length && read == kCopyBlock);
  return count >= length && cabinet.Seek(length) && cabinet.Truncate();
}

// Start-up steps 3 to 5: the package found in the stub's own file, its configuration cabinet
// copied into the new work folder and extracted there, the two pictures loaded.
bool LoadPackageConfiguration() {
  platform::File stub;
  PackageLocation package;
  if (!stub.Open(platform::ProgramPath(), platform::File::Mode::Read) || !LocatePackage(stub, package) ||
      !stub.Seek(int64_t(package.offset) + kSizeFieldLength) || !CreateWorkDir())
    return false;
  std::string cabinet = WorkDir + "\\setup.cab";
  if (!CopyConfigurationCabinet(stub, package.configLength, cabinet)) return false;
  PackageOffset = package.offset + kSizeFieldLength + package.configLength;
  stub.Close();
  return ExtractCabinet(cabinet, WorkDir) && LoadBitmapFile(WorkDir + "\\zxwizard.bmp", Form1.Image1.Picture) &&
         LoadBitmapFile(WorkDir + "\\zxheader.bmp", Form1.Image2.Picture);
}

void FillPageEnabled() {
  PageEnabled[kLanguagePage] = Form1.ComboLng.Items.size() > 1;
  static const char* const kKeys[] = {"DialogWelcome",           "DialogLicense",      "DialogReadme",
                                      "DialogUserInfo",          "DialogDestinationFolder",
                                      "DialogProgramGroup",      "DialogReady",        "DialogFinish"};
  for (int entry = 2; entry <= 9; ++entry) PageEnabled[entry] = SetupBool(kKeys[entry - 2]);
}

// The desktop and Quick Launch check boxes appear when a shortcut asks for them; the raw
// entries are searched, with case.
void ShowShortcutCheckBoxes() {
  for (const std::string& key : SetupIni.ReadSection("Shortcuts")) {
    std::string entry = SetupIni.ReadString("Shortcuts", key, "");
    if (entry.find("<Desktop>") != std::string::npos) {
      Form1.CheckBox3.Visible = true;
      Form1.CheckBox3.Checked = true;
    }
    if (entry.find("<QuickLaunch>") != std::string::npos) {
      Form1.CheckBox4.Visible = true;
      Form1.CheckBox4.Checked = true;
    }
  }
}

bool SilentInstallRequested() {
  std::vector<std::string> args = platform::CommandLineArgs();
  return SetupBool("SilentInstall") || (!args.empty() && args[0] == "/s");
}

}  // namespace

void FormCreate() {
  FirstActivation = true;
  DrawWorkDir();
  if (!LoadPackageConfiguration()) FatalCorrupted();
  SetupIni = IniFile(WorkDir + "\\setup.ini");
  AppTitle = PlaceholderValue(28) + " " + PlaceholderValue(29);
  UserVariables.clear();
  if (!LoadLanguages()) {
    SetupIni = IniFile();
    UserVariables.clear();
    FatalCorrupted();
  }
  for (const std::string& key : SetupIni.ReadSection("Commands"))
    RunCommand(CommandPhase::StartUp, SetupIni.ReadString("Commands", key, ""));
  for (const std::string& key : SetupIni.ReadSection("Variables"))
    DefineVariable(SetupIni.ReadString("Variables", key, ""));
  FillPageEnabled();
  Form1.Edit1.Text = ExpandPlaceholders(SetupString("InstallationPath"));
  UninstallEnabled = SetupBool("Uninstall");
  ShowShortcutCheckBoxes();
  if (SilentInstallRequested()) {
    RunInstall();
    EndSetup(InstallErrors ? ExitCode::InstalledWithErrors : ExitCode::Completed);
  }
}

void FormActivate() {
  if (!FirstActivation) return;
  FirstActivation = false;
  ShowPage(1, true);
}

void RunSetup() {
  Application.Title = "Setup";
  Form1.OnActivate = FormActivate;
  Form1.ComboLng.OnChange = ComboLngChange;
  Form1.ComboLng.OnKeyPress = ComboLngKeyPress;
  FormCreate();
  // Without the wizard window there is nothing to show: the setup ends as a closed wizard does.
  EndSetup(ExitCode::Completed);
}

void ResetSetupState() {
  Form1 = TForm1();
  Application = TApplication();
  ResetWorkDir();
  PackageOffset = 0;
  SetupIni = IniFile();
  LangIni = IniFile();
  AppTitle.clear();
  UserVariables.clear();
  FirstActivation = false;
  for (bool& entry : PageEnabled) entry = false;
  CurrentPage = 0;
  UninstallEnabled = InstallErrors = AbortRequested = false;
}
