// Splitting a list entry of the setup script into its fields. Every separator becomes a line
// break and the result is read as lines, so a carriage return or line feed inside a value also
// splits it, empty fields between separators stay, and an empty last field is lost
// ("a*?b*?" gives two fields, "a*?*?" gives "a" and "").
#pragma once
#include <string>
#include <vector>

constexpr const char* kFilesSeparator = "?";   // [Files]
constexpr const char* kListSeparator = "*?";   // every other list, and the uninstall log

std::vector<std::string> SplitEntry(const std::string& entry, const std::string& separator);

// A text read as lines: CR, LF and CR LF end a line; a final line break adds no empty line.
std::vector<std::string> SplitLines(const std::string& text);
