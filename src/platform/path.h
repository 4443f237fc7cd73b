// Windows path helpers, portable.
#pragma once
#include <string>

namespace path {

// "C:\a\b.txt" -> "C:\a" (no trailing backslash); "b.txt" -> "".
std::string FolderOf(const std::string& path);
std::string WithoutTrailingBackslash(const std::string& path);  // drops one
// Folder + "\" + name, without doubling a backslash the folder already ends with.
std::string Join(const std::string& folder, const std::string& name);

}  // namespace path
