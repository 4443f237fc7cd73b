#include "script/display_text.h"

#include "platform/text.h"

std::string FormatMessage(const std::string& format, const std::string& argument) {
  std::string result;
  bool argumentUsed = false;
  for (size_t i = 0; i < format.size(); ++i) {
    char next = i + 1 < format.size() ? format[i + 1] : '\0';
    if (format[i] == '%' && next == '%') {
      result += '%';
      ++i;
    } else if (format[i] == '%' && next == 's' && !argumentUsed) {
      result += argument;
      argumentUsed = true;
      ++i;
    } else {
      result += format[i];
    }
  }
  return text::ReplaceAll(result, "<#>", "\r\n");
}

std::string ShortenPath(const std::string& path) {
  constexpr size_t kLongest = 70;
  if (path.size() <= kLongest) return path;
  size_t cut = path.rfind('\\');
  for (int folders = 0; folders < 2 && cut != std::string::npos && cut > 0; ++folders)
    cut = path.rfind('\\', cut - 1);
  if (cut == std::string::npos || cut == 0) return path;
  return path.substr(0, cut) + "\\..\\" + path.substr(path.rfind('\\') + 1);
}
