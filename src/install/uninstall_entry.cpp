#include "install/uninstall_entry.h"

#include "app/startup.h"
#include "install/run_state.h"
#include "install/uninstall_log.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/ui.h"
#include "script/display_text.h"
#include "script/languages.h"
#include "script/placeholders.h"
#include "script/setup_ini.h"

const char kUninstallKeyPrefix[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

namespace {

// "yyyymmdd".
std::string DateStamp(const platform::LocalDate& date) {
  std::string stamp;
  for (int value : {date.year / 1000, date.year / 100, date.year / 10, date.year, date.month / 10, date.month,
                    date.day / 10, date.day})
    stamp += char('0' + value % 10);
  return stamp;
}

bool WriteEntryValues(platform::WritableRegistryKey& key, const std::string& installFolder) {
  const std::string displayIcon = UninstallIni.ReadString("General", "MainExecutable");
  const uint32_t estimatedSize = uint32_t(SetupInteger("FilesSize") / 1024);
  return key.WriteString("DisplayName", AppTitle) && key.WriteString("DisplayVersion", PlaceholderValue(29)) &&
         (displayIcon.empty() || key.WriteString("DisplayIcon", displayIcon)) &&
         key.WriteString("InstallLocation", installFolder) && key.WriteDword("EstimatedSize", estimatedSize) &&
         key.WriteString("InstallDate", DateStamp(platform::Today())) &&
         key.WriteString("HelpLink", ExpandPlaceholders(PlaceholderValue(32))) &&
         key.WriteString("Publisher", PlaceholderValue(30)) &&
         key.WriteString("UninstallString", ExpandPlaceholders("<InstallDir>\\Uninstall.exe")) &&
         key.WriteString("URLInfoAbout", ExpandPlaceholders(PlaceholderValue(31)));
}

}  // namespace

void RegisterUninstallEntry(const std::string& installFolder) {
  const std::string keyPath = kUninstallKeyPrefix + PlaceholderValue(28);
  platform::WritableRegistryKey key;
  if (!key.Create(platform::RegistryRoot::LocalMachine, keyPath) || !WriteEntryValues(key, installFolder) ||
      !key.Close()) {
    platform::MessageBoxRequest box;
    box.owner = platform::Owner::MainWindow;
    box.text = FormatMessage(LangText("Messages", 15), "HKEY_LOCAL_MACHINE\\" + keyPath);
    box.caption = "Setup";
    box.icon = platform::Icon::Error;
    platform::ShowMessageBox(box);
    InstallErrors = true;
  }
  LogUninstallItem("RegistryKeys", "HKEY_LOCAL_MACHINE*?" + keyPath);
}
