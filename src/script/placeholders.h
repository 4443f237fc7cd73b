// Placeholders: names such as "<InstallDir>" in script values and language texts, replaced by
// their values on this computer just before a text is used. User variables from [Variables]
// are replaced first, then the built-in placeholders in number order, then "<#>" by a line
// break. Values are computed on every request, so those that read the wizard's fields follow
// what the user has typed or chosen.
#pragma once
#include <string>

constexpr int kPlaceholderCount = 48;

// The name of built-in placeholder `number` (1 to 48), such as "<ProgramFiles>"; "" outside.
const char* PlaceholderName(int number);

// The value of built-in placeholder `number`, without one trailing backslash; "" outside the
// table and where the value cannot be read.
std::string PlaceholderValue(int number);

std::string ExpandPlaceholders(const std::string& text);
