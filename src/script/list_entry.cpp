#include "script/list_entry.h"

#include "platform/text.h"

std::vector<std::string> SplitEntry(const std::string& entry, const std::string& separator) {
  return SplitLines(text::ReplaceAll(entry, separator, "\r\n"));
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}
