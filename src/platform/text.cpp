#include "platform/text.h"

namespace text {

std::string Lower(std::string s) {
  for (char& c : s) c = LowerAscii(c);
  return s;
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

namespace {
// Replaces in `s` each place where `searched` (s itself, or s folded) holds `from`.
std::string ReplaceFound(const std::string& s, const std::string& searched, const std::string& from,
                         const std::string& to) {
  if (from.empty()) return s;
  std::string result;
  size_t pos = 0;
  for (size_t hit; (hit = searched.find(from, pos)) != std::string::npos; pos = hit + from.size())
    result.append(s, pos, hit - pos).append(to);
  return result.append(s, pos, std::string::npos);
}
}  // namespace

std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to) {
  return ReplaceFound(s, s, from, to);
}

std::string ReplaceAllIgnoringCase(const std::string& s, const std::string& from, const std::string& to) {
  return ReplaceFound(s, Lower(s), Lower(from), to);
}

std::string FromInt(long long value) {
  char buffer[24];
  int i = sizeof buffer;
  bool negative = value < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                          : static_cast<unsigned long long>(value);
  do {
    buffer[--i] = char('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) buffer[--i] = '-';
  return std::string(buffer + i, sizeof buffer - i);
}

std::string Trim(const std::string& s) {
  const size_t begin = s.find_first_not_of(" \t"), end = s.find_last_not_of(" \t");
  return begin == std::string::npos ? "" : s.substr(begin, end - begin + 1);
}

}  // namespace text
