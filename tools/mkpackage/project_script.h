// The project's setup.ini as the author wrote it, kept line by line so that the package's copy
// differs from it only in the lines the builder sets. Values read as the setup reads them:
// names without regard to case and blanks, only the first section of a name and in it the
// first line of a key, a value trimmed, one pair of enclosing quotes removed, cut to 2,047
// characters.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace mkpackage {

class ProjectScript {
 public:
  explicit ProjectScript(std::string text);

  struct Key {
    std::string name;   // trimmed, as written
    std::string value;  // as the setup reads it
    bool hasValue;      // the line holds "="
    size_t line;        // index into the lines
  };

  // The keys of the first section of the name, in file order (the setup's key list: names
  // starting with ";" left out, the list ending at an empty name). Empty for a missing section.
  std::vector<Key> Keys(const std::string& section) const;
  std::optional<Key> Find(const std::string& section, const std::string& key) const;
  bool HasSection(const std::string& section) const;

  // Replaces the second "?"-separated field of the value of a key's line (the line must
  // hold at least two separators); the rest of the line stays as written.
  bool ReplaceSecondField(const Key& key, const std::string& field);
  // Sets a key of a section: the key's line is rewritten when it exists, else a line is added
  // after the last line of the section, or a new section at the end of the text.
  void Set(const std::string& section, const std::string& key, const std::string& value);

  std::string Text() const;

 private:
  struct Line {
    std::string text;  // without the line break
    std::string end;   // the line break as written ("" for a last line without one)
  };
  // Lines [first, last) of the first section of the name, its header not included; false
  // when there is no such section.
  bool SectionRange(const std::string& section, size_t& first, size_t& last) const;
  // A key's line within [first, last), scanning as the setup does.
  std::vector<Key> ScanKeys(size_t first, size_t last, bool asList) const;

  std::vector<Line> lines_;
  std::string lineBreak_;  // used for added lines: the first one the text uses
  bool bom_ = false;
};

}  // namespace mkpackage
