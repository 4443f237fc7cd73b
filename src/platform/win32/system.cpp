#include <shlobj.h>

#include "platform/system.h"
#include "platform/win32/win32.h"

namespace platform {

std::string WindowsFolder() {
  char buffer[MAX_PATH + 1];
  UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string SystemFolder() {
  char buffer[MAX_PATH + 1];
  UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string ShellFolder(int csidl) {
  char buffer[MAX_PATH + 1] = "";
  // S_FALSE: the system knows the folder but it does not exist; its path still counts.
  return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)) ? buffer : "";
}

unsigned SystemDefaultLanguageId() { return GetSystemDefaultLangID(); }

std::string ShortDateToday() {
  char buffer[128];
  int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, sizeof buffer);
  return n > 1 ? std::string(buffer, n - 1) : std::string();
}

LocalDate Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalDate{now.wYear, now.wMonth, now.wDay};
}

namespace {
// The user's locale setting `item`; false (and `text` untouched) when the system gives none.
bool ReadLocaleText(LCTYPE item, std::string& text) {
  char buffer[128];
  int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer);
  if (n <= 1) return false;
  text.assign(buffer, n - 1);
  return true;
}
}  // namespace

DateTimeFormat UserDateTimeFormat() {
  DateTimeFormat format;
  ReadLocaleText(LOCALE_SSHORTDATE, format.shortDate);
  std::string separator;
  if (ReadLocaleText(LOCALE_SDATE, separator)) format.dateSeparator = separator[0];
  if (ReadLocaleText(LOCALE_STIME, separator)) format.timeSeparator = separator[0];
  ReadLocaleText(LOCALE_S1159, format.am);
  ReadLocaleText(LOCALE_S2359, format.pm);
  return format;
}

}  // namespace platform
