#include "script/setup_ini.h"

#include <cstdlib>

#include "platform/text.h"

IniFile SetupIni;

namespace {

constexpr SetupKeyType B = SetupKeyType::Boolean;
constexpr SetupKeyType S = SetupKeyType::String;
constexpr SetupKeyType I = SetupKeyType::Integer;

const char kSection[] = "Setup";

// The key must be in the table with this type: anything else is a mistake of the program.
const SetupKey& KnownKey(const char* name, SetupKeyType type) {
  const SetupKey* key = FindSetupKey(name);
  if (!key || key->type != type) std::abort();
  return *key;
}

}  // namespace

const std::vector<SetupKey>& SetupKeys() {
  static const std::vector<SetupKey> keys = {
      // Product identity
      {"AppName", S, ""}, {"AppVersion", S, ""}, {"CompanyName", S, ""}, {"WebSite", S, ""},
      {"SupportLink", S, ""}, {"BuildDate", S, ""},
      // System families allowed; "WinUnknow" is read on a family the program does not know
      {"Win9x", B, "1"}, {"WinNT", B, "1"}, {"Win2000", B, "1"}, {"WinXP", B, "1"},
      {"WinSrv2003", B, "1"}, {"WinVista", B, "1"}, {"Win7", B, "1"}, {"WinUnknow", B, "1"},
      // Other requirements
      {"x64", B, "0"}, {"Admin", B, "0"}, {"Internet", B, "0"}, {"CloseApp", B, "0"},
      {"CloseAppFile", S, ""}, {"CloseAppText", S, ""},
      // Prerequisites
      {"dotNET", B, "0"}, {"dotNETVersion", S, "1.0"}, {"LinkDN", S, ""},
      {"IE", B, "0"}, {"IEVersion", S, "3.0"}, {"LinkIE", S, ""},
      {"AR", B, "0"}, {"ARVersion", S, "5.0"}, {"LinkAR", S, ""},
      {"Java", B, "0"}, {"JavaVersion", S, "1.2"}, {"LinkJR", S, ""},
      // Destination and group
      {"InstallationPath", S, ""}, {"ProgramGroup", S, ""}, {"AllUsersMenu", B, "0"},
      // Files
      {"FilesCount", I, "0"}, {"FilesSize", I, "0"},
      // Uninstallation
      {"Uninstall", B, "0"}, {"ShowAddRemove", B, "0"}, {"MainExecutable", S, ""},
      {"UninstallForce", B, "0"}, {"UninstallRestart", B, "0"}, {"VisitUninstallPage", B, "0"},
      {"UninstallURL", S, ""}, {"Updater", B, "0"}, {"UpdateURL", S, ""},
      // Earlier installation
      {"UpgradeMode", I, "0"}, {"PromptUninstall", B, "1"},
      // Silent installation
      {"SilentInstall", B, "0"},
      // Wizard pages
      {"DialogWelcome", B, "0"}, {"DialogLicense", B, "0"}, {"DialogReadme", B, "0"},
      {"DialogUserInfo", B, "0"}, {"DialogDestinationFolder", B, "0"}, {"DialogProgramGroup", B, "0"},
      {"DialogReady", B, "0"}, {"DialogFinish", B, "0"},
      // Languages
      {"DefaultLanguage", S, "English"}, {"AutoDetectLanguage", B, "0"},
      // Licence page
      {"AcceptAgreement", B, "0"},
      // User information page
      {"InfoUserName", B, "0"}, {"InfoUserNameReq", B, "0"}, {"InfoCompany", B, "0"},
      {"InfoCompanyReq", B, "0"}, {"InfoCustom", B, "0"}, {"InfoCustomReq", B, "0"},
      {"InfoCustomName", S, ""},
      // Finish page
      {"RestartComputer", B, "0"}, {"LaunchFile", B, "0"}, {"LaunchFileName", S, ""},
      {"LaunchFileChecked", B, "0"}, {"ViewReadme", B, "0"}, {"ViewReadmeFile", S, ""},
      {"ViewReadmeChecked", B, "0"}, {"CustomAction", B, "0"}, {"CustomActionName", S, ""},
      {"CustomActionCommand", S, ""}, {"CustomActionChecked", B, "0"},
  };
  return keys;
}

const SetupKey* FindSetupKey(const std::string& name) {
  for (const SetupKey& key : SetupKeys())
    if (text::SameText(key.name, name)) return &key;
  return nullptr;
}

std::string SetupString(const char* key) {
  return SetupIni.ReadString(kSection, key, KnownKey(key, S).defaultValue);
}

int32_t SetupInteger(const char* key) {
  return SetupIni.ReadInteger(kSection, key, *ParseInteger(KnownKey(key, I).defaultValue));
}

bool SetupBool(const char* key) {
  return SetupIni.ReadBool(kSection, key, KnownKey(key, B).defaultValue[0] == '1');
}
