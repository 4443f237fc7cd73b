#include "mkpackage/project_script.h"

#include "platform/text.h"
#include "script/ini_file.h"

namespace mkpackage {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string TrimBlanks(const std::string& s) {
  size_t begin = 0, end = s.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

// A zero byte ends a name or a value for the setup's reader.
std::string UpToZero(const std::string& s) { return s.substr(0, s.find('\0')); }

// The section name of a header line, or false when the line is no header.
bool HeaderName(const std::string& line, std::string& name) {
  const std::string t = TrimBlanks(line);
  if (t.empty() || t[0] != '[') return false;
  const size_t close = t.rfind(']');
  if (close == std::string::npos || close == 0) return false;
  name = UpToZero(t.substr(1, close - 1));
  return true;
}

}  // namespace

ProjectScript::ProjectScript(std::string text) {
  size_t pos = 0;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) bom_ = true, pos = 3;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    Line line;
    if (end == std::string::npos) {
      line.text = text.substr(pos);
      pos = text.size();
    } else {
      line.text = text.substr(pos, end - pos);
      size_t next = end + 1;
      if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
      line.end = text.substr(end, next - end);
      pos = next;
      if (lineBreak_.empty()) lineBreak_ = line.end;
    }
    lines_.push_back(std::move(line));
  }
  if (lineBreak_.empty()) lineBreak_ = "\r\n";
}

bool ProjectScript::SectionRange(const std::string& section, size_t& first, size_t& last) const {
  const std::string wanted = UpToZero(TrimBlanks(section));
  std::string name;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (!HeaderName(lines_[i].text, name) || !text::SameText(name, wanted)) continue;
    first = i + 1;
    last = first;
    while (last < lines_.size() && !HeaderName(lines_[last].text, name)) ++last;
    return true;
  }
  return false;
}

bool ProjectScript::HasSection(const std::string& section) const {
  size_t first, last;
  return SectionRange(section, first, last);
}

std::vector<ProjectScript::Key> ProjectScript::ScanKeys(size_t first, size_t last, bool asList) const {
  std::vector<Key> keys;
  for (size_t i = first; i < last; ++i) {
    const std::string t = TrimBlanks(lines_[i].text);
    if (t.empty()) continue;
    const size_t equals = t.find('=');
    Key key{UpToZero(TrimBlanks(t.substr(0, equals))), "", equals != std::string::npos, i};
    if (key.hasValue) {
      std::string value = UpToZero(TrimBlanks(t.substr(equals + 1)));
      if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
      if (value.size() > kIniValueLimit) value.resize(kIniValueLimit);
      key.value = value;
    }
    if (asList) {
      if (!key.hasValue) continue;
      if (key.name.empty()) break;  // the system's list of names ends here
      if (key.name[0] == ';') continue;
    }
    keys.push_back(std::move(key));
  }
  return keys;
}

std::vector<ProjectScript::Key> ProjectScript::Keys(const std::string& section) const {
  size_t first, last;
  if (!SectionRange(section, first, last)) return {};
  return ScanKeys(first, last, true);
}

std::optional<ProjectScript::Key> ProjectScript::Find(const std::string& section, const std::string& key) const {
  size_t first, last;
  if (!SectionRange(section, first, last)) return std::nullopt;
  const std::string wanted = UpToZero(TrimBlanks(key));
  for (Key& k : ScanKeys(first, last, false))
    if (text::SameText(k.name, wanted)) return std::move(k);
  return std::nullopt;
}

bool ProjectScript::ReplaceSecondField(const Key& key, const std::string& field) {
  if (key.line >= lines_.size()) return false;
  std::string& t = lines_[key.line].text;
  const size_t equals = t.find('=');
  if (equals == std::string::npos) return false;
  const size_t first = t.find('?', equals + 1);
  const size_t second = first == std::string::npos ? first : t.find('?', first + 1);
  if (second == std::string::npos) return false;
  t.replace(first + 1, second - first - 1, field);
  return true;
}

void ProjectScript::Set(const std::string& section, const std::string& key, const std::string& value) {
  if (std::optional<Key> found = Find(section, key)) {
    lines_[found->line].text = found->name + "=" + value;
    return;
  }
  size_t first, last;
  if (SectionRange(section, first, last)) {
    size_t at = first;
    for (size_t i = first; i < last; ++i)
      if (!TrimBlanks(lines_[i].text).empty()) at = i + 1;
    if (lines_[at - 1].end.empty()) lines_[at - 1].end = lineBreak_;
    lines_.insert(lines_.begin() + long(at), Line{key + "=" + value, lineBreak_});
    return;
  }
  if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = lineBreak_;
  lines_.push_back(Line{"[" + section + "]", lineBreak_});
  lines_.push_back(Line{key + "=" + value, lineBreak_});
}

std::string ProjectScript::Text() const {
  std::string out = bom_ ? "\xEF\xBB\xBF" : "";
  for (const Line& line : lines_) out.append(line.text).append(line.end);
  return out;
}

}  // namespace mkpackage
