// The product's entry in the system's list of installed programs: HKEY_LOCAL_MACHINE
// "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\" + the application name, so every
// version of a product writes the same key. The key is recorded in the uninstall log whether
// or not it could be written.
#pragma once
#include <string>

extern const char kUninstallKeyPrefix[];  // "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\"

// Writes the entry's values; a failure shows [Messages] 15 with the key's full path, sets
// InstallErrors and stops there (values written before it stay).
void RegisterUninstallEntry(const std::string& installFolder);
