// The uninstall log "Uninstall.ini": everything an installation created, and the texts and
// settings the separate uninstaller needs. The run holds it open from its header to its end;
// every handler records into the one open log. It is kept in memory while open, so that a
// record costs no rewrite of the file, and written out when it is saved.
#pragma once
#include <string>
#include <vector>

#include "script/ini_file.h"

class UninstallLog {
 public:
  // Opens the log at `path`: its contents when the file exists, else an empty log that the
  // first save creates.
  void Open(const std::string& path);
  bool IsOpen() const { return open_; }
  const std::string& Path() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key) const {
    return text_.ReadString(section, key, "");
  }
  std::vector<std::string> ReadSection(const std::string& section) const { return text_.ReadSection(section); }
  std::vector<std::string> ReadSectionValues(const std::string& section) const {
    return text_.ReadSectionValues(section);
  }
  void WriteString(const std::string& section, const std::string& key, const std::string& value) {
    text_.WriteString(section, key, value);
  }

  bool Save() { return SaveAs(path_); }  // writes the file; false when it cannot be written
  bool SaveAs(const std::string& path) const;
  void Release();  // closes without saving

 private:
  bool open_ = false;
  std::string path_;
  IniText text_;
};

extern UninstallLog UninstallIni;

// The header at the start of a run: the uninstaller's texts ([Messages] from the language's
// [Uninstall], [Updater] from its [Updater], expanded) and the [General] values. Values of an
// earlier log are replaced in place.
void WriteLogHeader(const std::string& installFolder);

// Records a value in a section of the open log unless the section already holds it (compared
// exactly, with case), under the next free number.
void LogUninstallItem(const std::string& section, const std::string& value);

// The run's batch additions at its end. Each compares only with the values recorded before the
// batch began, so two equal paths in one list are both written. A folder already recorded
// leaves its number free ([Folders] can get a gap); the file numbers stay contiguous.
void LogCreatedFolders(const std::vector<std::string>& folders);
void LogInstalledFiles(const std::vector<std::string>& files);
