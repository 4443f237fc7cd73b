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

enum class ValueKind { String, StringIfSet, Dword };

struct EntryValue {
  const char* name;
  ValueKind kind;
  std::string text;
  uint32_t number = 0;
};

bool WriteEntryValue(platform::WritableRegistryKey& key, const EntryValue& value) {
  switch (value.kind) {
    case ValueKind::Dword: return key.WriteDword(value.name, value.number);
    case ValueKind::StringIfSet: return value.text.empty() || key.WriteString(value.name, value.text);
    case ValueKind::String: break;
  }
  return key.WriteString(value.name, value.text);
}

// The values in the order they are written; the first refusal stops the writing.
bool WriteEntryValues(platform::WritableRegistryKey& key, const std::string& installFolder) {
  using K = ValueKind;
  const EntryValue values[] = {
      {"DisplayName", K::String, AppTitle},
      {"DisplayVersion", K::String, PlaceholderValue(29)},
      {"DisplayIcon", K::StringIfSet, UninstallIni.ReadString("General", "MainExecutable")},
      {"InstallLocation", K::String, installFolder},
      {"EstimatedSize", K::Dword, "", uint32_t(SetupInteger("FilesSize") / 1024)},
      {"InstallDate", K::String, DateStamp(platform::Today())},
      {"HelpLink", K::String, ExpandPlaceholders(PlaceholderValue(32))},
      {"Publisher", K::String, PlaceholderValue(30)},
      {"UninstallString", K::String, ExpandPlaceholders("<InstallDir>\\Uninstall.exe")},
      {"URLInfoAbout", K::String, ExpandPlaceholders(PlaceholderValue(31))},
  };
  for (const EntryValue& value : values)
    if (!WriteEntryValue(key, value)) return false;
  return true;
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
