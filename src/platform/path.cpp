#include "platform/path.h"

namespace path {

namespace {
size_t LastSeparator(const std::string& p) { return p.find_last_of("\\/:"); }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }
}  // namespace

size_t RootLength(const std::string& p) {
  if (p.size() >= 2 && p[1] == ':') return 2;
  if (p.size() >= 2 && IsSeparator(p[0]) && IsSeparator(p[1])) {
    size_t pos = 2;
    for (int part = 0; part < 2 && pos < p.size(); ++part) {
      while (pos < p.size() && !IsSeparator(p[pos])) ++pos;
      if (part == 0 && pos < p.size()) ++pos;
    }
    return pos;
  }
  return 0;
}

std::string FolderOf(const std::string& p) {
  size_t cut = LastSeparator(p);
  if (cut == std::string::npos) return "";
  if (p[cut] == ':') return p.substr(0, cut + 1);
  return p.substr(0, cut);
}

std::string WithoutTrailingBackslash(const std::string& p) {
  if (!p.empty() && p.back() == '\\') return p.substr(0, p.size() - 1);
  return p;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

}  // namespace path
