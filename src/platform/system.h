// Facts of the running system: its folders, its shell folders, its language and date format.
// A folder the system does not report is "".
#pragma once
#include <string>

namespace platform {

std::string WindowsFolder();
std::string SystemFolder();
// The path the shell reports for a special-folder identifier (CSIDL); "" when the system
// has no such folder.
std::string ShellFolder(int csidl);
unsigned SystemDefaultLanguageId();  // 1033 for US English
std::string ShortDateToday();        // today in the user's short date format

struct LocalDate {
  int year = 0, month = 0, day = 0;
};
LocalDate Today();  // the local date

// The user's regional settings for reading dates and times.
struct DateTimeFormat {
  std::string shortDate = "M/d/yyyy";  // the short date picture, e.g. "dd.MM.yyyy"
  char dateSeparator = '/';
  char timeSeparator = ':';
  std::string am = "AM", pm = "PM";  // designators of the 12-hour clock
};
DateTimeFormat UserDateTimeFormat();

}  // namespace platform
