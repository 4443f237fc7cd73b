// User variables: [Variables] entries that give a name a value read from the registry, or a
// default. They are replaced before the built-in placeholders, so a variable may even take
// the place of one ("<InstallDir>").
#pragma once
#include <string>
#include <vector>

// Each as name + "?" + value, in [Variables] order.
extern std::vector<std::string> UserVariables;

// Defines the variable of one [Variables] entry:
//   name*?root*?key*?value name*?kind*?default
// root: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_USERS (with case;
// anything else is HKEY_CURRENT_USER); kind: "STRING" for a string, anything else for a 32-bit
// number, written signed. Key, value name and default are expanded. The registry value
// replaces the default when it exists with the type asked for. An entry of fewer than five
// fields defines nothing.
void DefineVariable(const std::string& entry);
