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

}  // namespace platform
