// Reading INI files: the setup script, the language files and uninstall logs all follow the
// same rules, those of the Windows profile functions that the format comes from:
//  - section and key names match without regard to case; a missing one yields the default;
//  - a string is the text after "=", blanks around it removed, one enclosing pair of double or
//    single quotes removed, then cut to 2,047 characters;
//  - an integer is that string as a signed 32-bit number: decimal, hexadecimal after "$", or
//    after "0x"/"0X" when the text is longer than two characters; anything else the default;
//  - a Boolean is an integer read with default 1 for true and 0 for false, non-zero is true;
//  - a section's keys list in file order, cut so that the names with one terminator each fit
//    in 16,384 characters;
//  - a key exists when the section's list holds it.
// An IniFile reads the file anew on every call, so what another writer changed is always seen;
// a file that cannot be read reads as empty. An IniText holds the contents in memory and can
// also be written.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr size_t kIniValueLimit = 2047;
constexpr size_t kIniKeyListLimit = 16384;

class IniText {
 public:
  IniText() = default;
  explicit IniText(std::string contents) : contents_(std::move(contents)) {}

  const std::string& Contents() const { return contents_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  std::vector<std::string> ReadSection(const std::string& section) const;  // key names, file order
  // The values of the keys ReadSection lists, each as ReadString reads it (default "").
  std::vector<std::string> ReadSectionValues(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  // Sets a value: an existing key is replaced in place, a new key goes at the end of its
  // section, a new section at the end of the text. Lines end with CR LF.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);

 private:
  std::string contents_;
};

class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  std::vector<std::string> ReadSection(const std::string& section) const;  // key names, file order
  bool ValueExists(const std::string& section, const std::string& key) const;

 private:
  std::string path_;
};

// A text as a signed 32-bit integer by the rules above; nothing when it does not convert.
// Leading spaces and a sign are allowed, trailing characters are not; a decimal number must
// fit the signed range, a hexadecimal one may use all 32 bits ("$FFFFFFFF" is -1).
std::optional<int32_t> ParseInteger(const std::string& text);
