#include "script/placeholders.h"

#include "form/form1.h"
#include "package/workdir.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/text.h"
#include "script/languages.h"
#include "script/setup_ini.h"
#include "script/variables.h"

using platform::RegistryRoot;

namespace {

const char* const kNames[kPlaceholderCount] = {
    "<ProgramFiles>",  "<CommonFiles>",     "<WindowsDir>",        "<SystemDir>",       "<TempDir>",
    "<FontsDir>",      "<MyDocuments>",     "<SystemDrive>",       "<CurrentDir>",      "<InstallDir>",
    "<SentTo>",        "<Favorites>",       "<CommonFavorites>",   "<Templates>",       "<AppData>",
    "<LocalSettings>", "<UserProfile>",     "<Desktop>",           "<StartMenu>",       "<ProgramsMenu>",
    "<StartUp>",       "<CommonDesktop>",   "<CommonStartMenu>",   "<CommonProgramsMenu>",
    "<CommonStartUp>", "<ProgramGroup>",    "<QuickLaunch>",       "<AppName>",         "<AppVersion>",
    "<CompanyName>",   "<WebSite>",         "<SupportLink>",       "<UserName>",        "<UserCompany>",
    "<Date>",          "<LocalAppData>",    "<CommonAppData>",     "<CommonMyDocuments>",
    "<CommonTemplates>", "<AllUserProfile>", "<CustomUserInfo>",   "<Language>",        "<Lng>",
    "<LngID>",         "<SetupTempDir>",    "<SystemLngID>",       "<BuildDate>",       "<SetupExe>"};

// The shell folder behind each placeholder that is one, by number; 0 for the others.
int ShellFolderId(int number) {
  switch (number) {
    case 6: return 20;    // CSIDL_FONTS
    case 7: return 5;     // CSIDL_PERSONAL
    case 11: return 9;    // CSIDL_SENDTO
    case 12: return 6;    // CSIDL_FAVORITES
    case 13: return 31;   // CSIDL_COMMON_FAVORITES
    case 14: return 21;   // CSIDL_TEMPLATES
    case 15: return 26;   // CSIDL_APPDATA
    case 18: return 0;    // CSIDL_DESKTOP
    case 19: return 11;   // CSIDL_STARTMENU
    case 20: return 2;    // CSIDL_PROGRAMS
    case 21: return 7;    // CSIDL_STARTUP
    case 22: return 25;   // CSIDL_COMMON_DESKTOPDIRECTORY
    case 23: return 22;   // CSIDL_COMMON_STARTMENU
    case 24: return 23;   // CSIDL_COMMON_PROGRAMS
    case 25: return 24;   // CSIDL_COMMON_STARTUP
    default: return -1;
  }
}

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kCommonShellFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A registry string: "" when the key or value is missing; a value of another type is an error.
bool RegistryString(RegistryRoot root, const char* key, const char* name, std::string& value) {
  platform::RegistryValue stored = platform::ReadRegistryValue(root, key, name);
  value = stored.text;
  return stored.type == platform::RegistryType::Missing || stored.type == platform::RegistryType::String ||
         stored.type == platform::RegistryType::ExpandString;
}

bool QuickLaunchFolder(std::string& value) {
  if (!RegistryString(RegistryRoot::CurrentUser, kUserShellFolders, "AppData", value)) return false;
  if (!value.empty()) value = path::Join(value, "Microsoft\\Internet Explorer\\Quick Launch");
  return true;
}

// The value before the trailing backslash is dropped; false when it cannot be computed.
bool ComputeValue(int number, std::string& value) {
  int csidl = ShellFolderId(number);
  if (csidl >= 0) {
    value = platform::ShellFolder(csidl);
    return true;
  }
  switch (number) {
    case 1: return RegistryString(RegistryRoot::LocalMachine, kCurrentVersion, "ProgramFilesDir", value);
    case 2: return RegistryString(RegistryRoot::LocalMachine, kCurrentVersion, "CommonFilesDir", value);
    case 3: value = platform::WindowsFolder(); break;
    case 4: value = platform::SystemFolder(); break;
    case 5: value = platform::TempFolder(); break;
    case 8: value = PlaceholderValue(3).substr(0, 2); break;
    case 9: value = path::FolderOf(platform::ProgramPath()); break;
    case 10: value = Form1.Edit1.Text; break;
    case 16: return RegistryString(RegistryRoot::CurrentUser, kUserShellFolders, "Local Settings", value);
    case 17: value = path::FolderOf(PlaceholderValue(18)); break;
    case 26: value = PlaceholderValue(SetupBool("AllUsersMenu") ? 24 : 20) + "\\" + Form1.ComboBox1.Text; break;
    case 27: return QuickLaunchFolder(value);
    case 28: value = SetupString("AppName"); break;
    case 29: value = SetupString("AppVersion"); break;
    case 30: value = SetupString("CompanyName"); break;
    case 31: value = SetupString("WebSite"); break;
    case 32: value = SetupString("SupportLink"); break;
    case 33: value = Form1.EUser.Text; break;
    case 34: value = Form1.ECompany.Text; break;
    case 35: value = platform::ShortDateToday(); break;
    case 36: return RegistryString(RegistryRoot::CurrentUser, kUserShellFolders, "Local AppData", value);
    case 37: return RegistryString(RegistryRoot::LocalMachine, kCommonShellFolders, "Common AppData", value);
    case 38: return RegistryString(RegistryRoot::LocalMachine, kCommonShellFolders, "Common Documents", value);
    case 39: return RegistryString(RegistryRoot::LocalMachine, kCommonShellFolders, "Common Templates", value);
    case 40: value = path::FolderOf(PlaceholderValue(22)); break;
    case 41: value = Form1.ECustomInfo.Text; break;
    case 42: value = Form1.ComboLng.Text; break;
    case 43: value = LangIni.ReadString("Info", "lng", ""); break;
    case 44: value = LangIni.ReadString("Info", "id", ""); break;
    case 45: value = WorkDir; break;
    case 46: value = text::FromInt(platform::SystemDefaultLanguageId()); break;
    case 47: value = SetupString("BuildDate"); break;
    case 48: value = platform::ProgramPath(); break;
    default: return false;
  }
  return true;
}

bool TryPlaceholderValue(int number, std::string& value) {
  if (!ComputeValue(number, value)) return false;
  value = path::WithoutTrailingBackslash(value);
  return true;
}

}  // namespace

const char* PlaceholderName(int number) {
  return number >= 1 && number <= kPlaceholderCount ? kNames[number - 1] : "";
}

std::string PlaceholderValue(int number) {
  std::string value;
  return TryPlaceholderValue(number, value) ? value : std::string();
}

std::string ExpandPlaceholders(const std::string& text) {
  std::string result = text;
  for (const std::string& variable : UserVariables) {
    size_t mark = variable.find('?');
    std::string name = variable.substr(0, mark);
    if (!name.empty() && mark != std::string::npos)
      result = text::ReplaceAllIgnoringCase(result, name, variable.substr(mark + 1));
  }
  // The folded text is made again only when a replacement changed it.
  std::string folded = text::Lower(result);
  for (int number = 1; number <= kPlaceholderCount; ++number) {
    std::string value;
    if (folded.find(text::Lower(kNames[number - 1])) == std::string::npos || !TryPlaceholderValue(number, value))
      continue;
    result = text::ReplaceAllIgnoringCase(result, kNames[number - 1], value);
    folded = text::Lower(result);
  }
  return text::ReplaceAll(result, "<#>", "\r\n");
}
