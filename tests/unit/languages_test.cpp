// The built-in language files: each translation carries exactly the sections and keys of
// English.lng, the same line breaks, arguments and placeholders in every text, the right
// [Info], and bytes that are valid in the file's own ANSI code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "script/ini_file.h"

namespace {

const std::string kFolder = std::string(SOURCE_DIR) + "/tools/resources/languages/";

enum class CodePage { Ascii, Cp1250, Cp1251, Cp1252 };

struct Language {
  const char* name;  // the file name without ".lng", shown in the language list
  const char* id;
  const char* lng;
  CodePage codePage;
  const char* closingQuote;  // what [Messages] 6 ends with: the quote after the application's name
};

const Language kLanguages[] = {
    {"English", "1033", "en", CodePage::Ascii, "\""},
    {"German", "1031", "de", CodePage::Cp1252, "\x93"},    // „%s“
    {"French", "1036", "fr", CodePage::Cp1252, "\xA0\xBB"},  // « %s » with no-break spaces
    {"Spanish", "3082", "es", CodePage::Cp1252, "\""},
    {"Italian", "1040", "it", CodePage::Cp1252, "\""},
    {"Portuguese (Brazil)", "1046", "pt", CodePage::Cp1252, "\""},
    {"Polish", "1045", "pl", CodePage::Cp1250, "\x94"},    // „%s”
    {"Russian", "1049", "ru", CodePage::Cp1251, "\xBB"},   // «%s»
};

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file's lines without their CR LF; a line end of another kind is a failure.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t cr = bytes.find('\r', start);
    size_t lf = bytes.find('\n', start);
    EXPECT_TRUE(cr != std::string::npos && lf == cr + 1) << "a line not ended by CR LF after byte " << start;
    if (cr == std::string::npos || lf != cr + 1) break;
    lines.push_back(bytes.substr(start, cr - start));
    start = lf + 1;
  }
  return lines;
}

// Section names as the headers give them, duplicates included (the reader would ignore a
// second section of a name).
std::vector<std::string> Sections(const std::vector<std::string>& lines) {
  std::vector<std::string> sections;
  for (const std::string& line : lines)
    if (!line.empty() && line[0] == '[') sections.push_back(line.substr(1, line.size() - 2));
  std::sort(sections.begin(), sections.end());
  return sections;
}

// Bytes the code page leaves undefined.
bool Undefined(CodePage codePage, unsigned char c) {
  switch (codePage) {
    case CodePage::Ascii: return c >= 0x80;
    case CodePage::Cp1252: return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
    case CodePage::Cp1250: return c == 0x81 || c == 0x83 || c == 0x88 || c == 0x90 || c == 0x98;
    case CodePage::Cp1251: return c == 0x98;
  }
  return true;
}

// A well-formed UTF-8 sequence of two to four bytes starting at i: the mark of a file saved
// as UTF-8 (or of one text pasted in as UTF-8) instead of in its code page.
bool Utf8SequenceAt(const std::string& s, size_t i) {
  unsigned char lead = static_cast<unsigned char>(s[i]);
  size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || i + length > s.size()) return false;
  for (size_t k = 1; k < length; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
  return true;
}

bool BadByteAt(const std::string& s, size_t i, CodePage codePage) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  return Undefined(codePage, c) || (c < 0x20 && c != '\r' && c != '\n') || c == 0x7F || Utf8SequenceAt(s, i);
}

// Line breaks, arguments and placeholders of a text, sorted: "<#>", "<AppName>", "%s", "%n"
// and any other "<...>" or "%" conversion (a stray "%" would break the message formatting).
std::vector<std::string> Tokens(const std::string& text) {
  static const std::regex token("<[^<>]*>|%.");
  std::vector<std::string> tokens;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), token); it != std::sregex_iterator(); ++it)
    tokens.push_back(it->str());
  std::sort(tokens.begin(), tokens.end());
  return tokens;
}

// Copies a language file into the simulated machine and opens it there, as start-up would.
IniFile Load(const std::string& name, const std::string& bytes) {
  const std::string path = "C:\\Setup\\" + name + ".lng";
  sim::WriteFile(path, bytes);
  return IniFile(path);
}

TEST(LanguageFiles, TranslationsMatchEnglishAndTheirCodePage) {
  sim::Reset();
  std::set<std::string> expectedFiles, files;
  for (const Language& language : kLanguages) expectedFiles.insert(std::string(language.name) + ".lng");
  for (const auto& entry : std::filesystem::directory_iterator(kFolder)) files.insert(entry.path().filename().string());
  EXPECT_EQ(files, expectedFiles) << "every file in " << kFolder << " needs a row here";

  const std::string englishBytes = ReadHostFile(kFolder + "English.lng");
  ASSERT_FALSE(englishBytes.empty());
  const IniFile english = Load("English", englishBytes);
  const std::vector<std::string> englishSections = Sections(Lines(englishBytes));
  for (const std::string& section : englishSections) {
    if (section == "Info") continue;
    std::vector<std::string> keys = english.ReadSection(section);
    for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(keys[i], std::to_string(i)) << "[" << section << "]";
  }

  for (const Language& language : kLanguages) {
    SCOPED_TRACE(language.name);
    const std::string bytes = ReadHostFile(kFolder + language.name + ".lng");
    ASSERT_FALSE(bytes.empty());
    const std::vector<std::string> lines = Lines(bytes);

    size_t bad = 0;
    while (bad < bytes.size() && !BadByteAt(bytes, bad, language.codePage)) ++bad;
    EXPECT_EQ(bad, bytes.size()) << "byte " << int(static_cast<unsigned char>(bytes[bad])) << " at " << bad
                                 << " is undefined, a control character or the start of a UTF-8 sequence";
    for (const std::string& line : lines)
      EXPECT_TRUE(line.empty() || (line.front() == '[' && line.back() == ']') || line.find('=') != std::string::npos)
          << "a line the reader passes over: " << line;

    const IniFile file = Load(language.name, bytes);
    EXPECT_EQ(file.ReadString("Info", "id", ""), language.id);
    EXPECT_EQ(file.ReadString("Info", "lng", ""), language.lng);
    ASSERT_EQ(Sections(lines), englishSections);
    for (const std::string& section : englishSections) {
      std::vector<std::string> keys = file.ReadSection(section), englishKeys = english.ReadSection(section);
      std::sort(keys.begin(), keys.end());
      std::sort(englishKeys.begin(), englishKeys.end());
      EXPECT_EQ(keys, englishKeys) << "[" << section << "]";
      if (section == "Info") continue;
      for (const std::string& key : englishKeys) {
        const std::string text = file.ReadString(section, key, "");
        EXPECT_FALSE(text.empty()) << "[" << section << "] " << key;
        EXPECT_EQ(Tokens(text), Tokens(english.ReadString(section, key, ""))) << "[" << section << "] " << key << ": " << text;
      }
    }
    // The application's name in quotes ends the text: the closing quote must survive the
    // reader's removal of enclosing quotes.
    const std::string closeApp = file.ReadString("Messages", "6", "");
    const std::string quotedName = std::string("%s") + language.closingQuote;
    EXPECT_TRUE(closeApp.size() >= quotedName.size() && closeApp.compare(closeApp.size() - quotedName.size(), quotedName.size(), quotedName) == 0)
        << closeApp;
  }
}

TEST(LanguageFiles, EnglishWording) {
  sim::Reset();
  const IniFile english = Load("English", ReadHostFile(kFolder + "English.lng"));
  struct Case {
    const char* section;
    const char* key;
    const char* text;
  } cases[] = {
      {"Title", "0", "Setup - <AppName> <AppVersion>"},
      {"Buttons", "0", "< &Back"},
      {"Buttons", "3", "&Install"},
      {"Buttons", "10", "OK"},
      {"Install", "11", "Deleting temporary files..."},
      {"Uninstall", "1", "Are you sure you want to completely remove <AppName> <AppVersion>?%n%nBefore uninstalling the application, make sure <AppName> is not running."},
      {"Messages", "6", "Please close the following application, then click Retry to continue, or Cancel to exit:<#><#>\"%s\""},
      {"Messages", "12", "File \"%s\" already exists.<#><#>Would you like to overwrite it?"},
      {"Messages", "23", "Unable to register Type Library:<#>%s"},
  };
  for (const Case& c : cases) EXPECT_EQ(english.ReadString(c.section, c.key, ""), c.text) << "[" << c.section << "] " << c.key;
}

}  // namespace
