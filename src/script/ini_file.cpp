#include "script/ini_file.h"

#include <cstring>
#include <utility>

#include "platform/files.h"
#include "platform/text.h"

// How the lines are read, as the system's profile functions read them:
//  - CR, LF and CR LF all end a line; blank lines are passed over; blanks (space, tab,
//    vertical tab, form feed and the old end-of-file mark Ctrl-Z) around a line, a name or a
//    value do not count;
//  - a line "[...]" starts a section named by what lies between "[" and the last "]", without
//    blanks around it (anything after the "]" is ignored); a "[" line without "]" is an
//    ordinary line of the section before it;
//  - lines before the first header form a section with an empty name;
//  - only the first section of a name counts, and in it the first line of a key; a line
//    without "=" is a key without a value, which reads as the default and is not listed;
//  - a line whose name begins with ";" is a comment for the list, though it can be read;
//  - a zero byte ends a name or a value;
//  - the list of a section stops at an empty name ("=value"), where the system's list of
//    names ends for its reader.
// A UTF-8 byte order mark at the start is passed over; the text stays 8-bit.

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

struct Span {
  const char* begin;
  const char* end;

  void Trim() {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
  }
  // The text up to its first zero byte.
  std::string Text() const {
    const void* zero = std::memchr(begin, 0, size_t(end - begin));
    return std::string(begin, zero ? static_cast<const char*>(zero) : end);
  }
};

std::string TrimmedName(const std::string& name) {
  Span span{name.data(), name.data() + name.size()};
  span.Trim();
  return span.Text();
}

// Calls visit(name, hasValue, value) for each key line of the first section called `wanted`,
// in file order, until visit returns false.
template <class Visit>
void VisitSection(const std::string& contents, const std::string& wanted, Visit visit) {
  const char* p = contents.data();
  const char* const end = p + contents.size();
  if (contents.compare(0, 3, "\xEF\xBB\xBF") == 0) p += 3;
  bool inSection = wanted.empty();
  while (p < end) {
    Span line{p, p};
    while (line.end < end && *line.end != '\r' && *line.end != '\n') ++line.end;
    p = line.end < end ? line.end + 1 : end;
    line.Trim();
    if (line.begin == line.end) continue;
    if (*line.begin == '[') {
      const char* close = line.end - 1;
      while (close > line.begin && *close != ']') --close;
      if (close > line.begin) {
        if (inSection) return;  // the section has ended; a later one of the same name is ignored
        Span name{line.begin + 1, close};
        name.Trim();
        inSection = text::SameText(name.Text(), wanted);
        continue;
      }
    }
    if (!inSection) continue;
    const void* equals = std::memchr(line.begin, '=', size_t(line.end - line.begin));
    Span name = line, value{line.end, line.end};
    if (equals) {
      name.end = static_cast<const char*>(equals);
      value.begin = name.end + 1;
      name.Trim();
      value.Trim();
    }
    if (!visit(name.Text(), equals != nullptr, value)) return;
  }
}

}  // namespace

namespace {
// A value as a reader gets it: one enclosing pair of quotes goes before the cut, so a long
// quoted value keeps 2,047 characters of its own.
std::string ValueText(const Span& value) {
  std::string result = value.Text();
  if (result.size() >= 2 && (result[0] == '"' || result[0] == '\'') && result.back() == result[0])
    result = result.substr(1, result.size() - 2);
  if (result.size() > kIniValueLimit) result.resize(kIniValueLimit);
  return result;
}
}  // namespace

std::string IniText::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  const std::string wanted = TrimmedName(key);
  std::string result = def;
  // Names passed for a value lose their blanks, as the system's lookup trims them (its list
  // of a section does not).
  VisitSection(contents_, TrimmedName(section), [&](const std::string& name, bool hasValue, const Span& value) {
    if (!text::SameText(name, wanted)) return true;
    if (hasValue) result = ValueText(value);
    return false;
  });
  return result;
}

std::vector<std::string> IniText::ReadSectionValues(const std::string& section) const {
  // The first line of each name decides, as for ReadString; one pass for all of them.
  std::vector<std::pair<std::string, std::string>> first;  // name, value
  auto firstOf = [&](const std::string& name) -> const std::string* {
    for (const auto& entry : first)
      if (text::SameText(entry.first, name)) return &entry.second;
    return nullptr;
  };
  VisitSection(contents_, TrimmedName(section), [&](const std::string& name, bool hasValue, const Span& value) {
    if (!firstOf(name)) first.emplace_back(name, hasValue ? ValueText(value) : "");
    return true;
  });
  std::vector<std::string> values;
  for (const std::string& key : ReadSection(section)) {
    const std::string* value = firstOf(TrimmedName(key));
    values.push_back(value ? *value : "");
  }
  return values;
}

int32_t IniText::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  std::optional<int32_t> value = ParseInteger(ReadString(section, key, ""));
  return value ? *value : def;
}

bool IniText::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> IniText::ReadSection(const std::string& section) const {
  std::vector<std::string> keys;
  // Every name takes its characters and a terminator; one more character ends the whole list.
  const size_t room = kIniKeyListLimit - 1;
  size_t used = 0;
  VisitSection(contents_, section, [&](const std::string& name, bool hasValue, const Span&) {
    if (!hasValue) return true;
    if (name.empty()) return false;
    if (name[0] == ';') return true;
    if (room - used <= 1) return false;
    size_t take = name.size() < room - used - 1 ? name.size() : room - used - 1;
    keys.push_back(name.substr(0, take));
    used += take + 1;
    return take == name.size();
  });
  return keys;
}

bool IniText::ValueExists(const std::string& section, const std::string& key) const {
  for (const std::string& name : ReadSection(section))
    if (text::SameText(name, key)) return true;
  return false;
}

// Writing, as the system's profile functions write: the first line of the key in the first
// section of the name is replaced in place; a new key goes after the last line of its section,
// a new section at the end of the file.
void IniText::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  const std::string wantedSection = TrimmedName(section), wantedKey = TrimmedName(key);
  const std::string line = wantedKey + "=" + value;
  size_t pos = contents_.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  bool inSection = wantedSection.empty();
  size_t sectionEnd = inSection ? pos : std::string::npos;  // where a new key of the section goes
  while (pos < contents_.size()) {
    size_t end = pos;
    while (end < contents_.size() && contents_[end] != '\r' && contents_[end] != '\n') ++end;
    size_t next = end;
    if (next < contents_.size() && contents_[next] == '\r') ++next;
    if (next < contents_.size() && contents_[next] == '\n') ++next;
    Span span{contents_.data() + pos, contents_.data() + end};
    span.Trim();
    if (span.begin != span.end) {
      if (*span.begin == '[' && std::memchr(span.begin, ']', size_t(span.end - span.begin))) {
        if (inSection) break;
        const char* close = span.end - 1;
        while (*close != ']') --close;
        Span name{span.begin + 1, close};
        name.Trim();
        inSection = text::SameText(name.Text(), wantedSection);
        if (inSection) sectionEnd = next;
      } else if (inSection) {
        const void* equals = std::memchr(span.begin, '=', size_t(span.end - span.begin));
        Span name{span.begin, equals ? static_cast<const char*>(equals) : span.end};
        name.Trim();
        if (text::SameText(name.Text(), wantedKey)) {
          contents_.replace(pos, end - pos, line);
          return;
        }
        sectionEnd = next;
      }
    }
    pos = next;
  }
  if (sectionEnd == std::string::npos) {
    if (!contents_.empty() && contents_.back() != '\n' && contents_.back() != '\r') contents_ += "\r\n";
    contents_ += "[" + wantedSection + "]\r\n" + line + "\r\n";
    return;
  }
  std::string insertion = line + "\r\n";
  if (sectionEnd > 0 && contents_[sectionEnd - 1] != '\n' && contents_[sectionEnd - 1] != '\r') insertion = "\r\n" + line;
  contents_.insert(sectionEnd, insertion);
}

namespace {
std::string FileContents(const std::string& path) {
  std::string contents;
  platform::ReadWholeFile(path, contents);
  return contents;
}
}  // namespace

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  return IniText(FileContents(path_)).ReadString(section, key, def);
}
int32_t IniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  return IniText(FileContents(path_)).ReadInteger(section, key, def);
}
bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return IniText(FileContents(path_)).ReadBool(section, key, def);
}
std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
  return IniText(FileContents(path_)).ReadSection(section);
}
bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
  return IniText(FileContents(path_)).ValueExists(section, key);
}

std::optional<int32_t> ParseInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16, i += 1;
  } else if (text.size() > 2 && i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16, i += 2;
  }
  if (i == text.size()) return std::nullopt;
  // Decimal numbers must fit the signed range; hexadecimal ones may use all 32 bits, read as
  // a signed number ("$FFFFFFFF" is -1).
  const uint64_t limit = base == 16 ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    char c = text::LowerAscii(text[i]);
    unsigned digit;
    if (c >= '0' && c <= '9') digit = unsigned(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') digit = unsigned(c - 'a' + 10);
    else return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  uint32_t bits = uint32_t(magnitude);
  if (negative) bits = 0u - bits;
  return int32_t(bits);
}
