#include "install/uninstall_log.h"

#include <algorithm>

#include "install/run_state.h"
#include "platform/files.h"
#include "platform/text.h"
#include "script/languages.h"
#include "script/placeholders.h"
#include "script/setup_ini.h"

UninstallLog UninstallIni;

void UninstallLog::Open(const std::string& path) {
  std::string contents;
  platform::ReadWholeFile(path, contents);
  text_ = IniText(std::move(contents));
  path_ = path;
  open_ = true;
}

bool UninstallLog::SaveAs(const std::string& path) const {
  platform::File file;
  const std::string& contents = text_.Contents();
  return file.Open(path, platform::File::Mode::Create) && file.Write(contents.data(), int64_t(contents.size()));
}

void UninstallLog::Release() {
  open_ = false;
  path_.clear();
  text_ = IniText();
}

namespace {

struct Section {
  std::vector<std::string> keys;    // the names in use
  std::vector<std::string> values;  // every recorded value

  static bool Holds(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
  }
  bool HoldsKey(const std::string& key) const { return Holds(keys, key); }
  bool HoldsValue(const std::string& value) const { return Holds(values, value); }
};

Section ReadLogSection(const std::string& name) {
  Section section;
  section.keys = UninstallIni.ReadSection(name);
  section.values = UninstallIni.ReadSectionValues(name);
  return section;
}

// Writes the value under `number`, or the first number after it that is free: where a
// section's numbering has gaps, a computed number can name a key in use, and a recorded value
// is never replaced. Returns the number used.
size_t WriteNumbered(const std::string& name, Section& section, size_t number, const std::string& value) {
  while (section.HoldsKey(text::FromInt(int64_t(number)))) ++number;
  std::string key = text::FromInt(int64_t(number));
  UninstallIni.WriteString(name, key, value);
  section.keys.push_back(key);
  return number;
}

}  // namespace

// The values compared with are those of every key of the section, not only "0" to count - 1:
// once [Folders] has a gap, its highest number lies beyond the count, and a value recorded
// there must still not be recorded again.
void LogUninstallItem(const std::string& section, const std::string& value) {
  Section recorded = ReadLogSection(section);
  if (!recorded.HoldsValue(value)) WriteNumbered(section, recorded, recorded.keys.size(), value);
}

void LogCreatedFolders(const std::vector<std::string>& folders) {
  Section recorded = ReadLogSection("Folders");
  const size_t n = recorded.keys.size();
  for (size_t j = 0; j < folders.size(); ++j)
    if (!recorded.HoldsValue(folders[j])) WriteNumbered("Folders", recorded, n + j, folders[j]);
}

void LogInstalledFiles(const std::vector<std::string>& files) {
  Section recorded = ReadLogSection("Files");
  size_t next = recorded.keys.size();
  for (const std::string& file : files)
    if (!recorded.HoldsValue(file)) next = WriteNumbered("Files", recorded, next, file) + 1;
}

void WriteLogHeader(const std::string& installFolder) {
  for (int key = 0; key <= 6; ++key)
    UninstallIni.WriteString("Messages", text::FromInt(key), ExpandPlaceholders(LangText("Uninstall", key)));
  for (int key = 0; key <= 8; ++key)
    UninstallIni.WriteString("Updater", text::FromInt(key), ExpandPlaceholders(LangText("Updater", key)));
  auto flag = [](const char* key) { return std::string(SetupBool(key) ? "1" : "0"); };
  UninstallIni.WriteString("General", "AppName", PlaceholderValue(28));
  UninstallIni.WriteString("General", "AppVersion", PlaceholderValue(29));
  UninstallIni.WriteString("General", "Admin", flag("Admin"));
  const std::string mainExecutable = SetupString("MainExecutable");
  if (!mainExecutable.empty())
    UninstallIni.WriteString("General", "MainExecutable", ExpandPlaceholders(mainExecutable));
  UninstallIni.WriteString("General", "InstallDir", installFolder);
  UninstallIni.WriteString("General", "ProgramGroupDir", PlaceholderValue(26));
  if (UninstallEnabled) {
    UninstallIni.WriteString("General", "UninstallURL",
                             SetupBool("VisitUninstallPage") ? ExpandPlaceholders(SetupString("UninstallURL")) : "");
    UninstallIni.WriteString("General", "UninstallForce", flag("UninstallForce"));
    UninstallIni.WriteString("General", "UninstallRestart", flag("UninstallRestart"));
  }
  if (SetupBool("Updater")) UninstallIni.WriteString("General", "UpdateURL", ExpandPlaceholders(SetupString("UpdateURL")));
}
