// Windows path helpers, portable.
#pragma once
#include <string>

namespace path {

// "C:\a\b.txt" -> "C:\a" (no trailing backslash); "b.txt" -> "".
std::string FolderOf(const std::string& path);
std::string WithoutTrailingBackslash(const std::string& path);  // drops one
// The length of the part of a path that no folder can be created in: 2 for a drive ("C:"),
// the whole "\\server\share" of a network path, 0 for a relative path.
size_t RootLength(const std::string& path);
// Folder + "\" + name, without doubling a backslash the folder already ends with.
std::string Join(const std::string& folder, const std::string& name);

}  // namespace path
