// Our INI reader against the system's profile functions, read as a classic INI class reads
// them: values through GetPrivateProfileStringA with a 2,048-character buffer, key lists with
// a NULL key and a 16,384-character buffer. Where the two must agree, every lookup is
// compared; where our reading rules deliberately differ, the case is listed with the system's
// answer as seen under Wine 8, and our rule's result is asserted.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "script/ini_file.h"

namespace {

// A file of its own for every case: the profile functions cache files they have read.
class TempIni {
 public:
  explicit TempIni(const std::string& contents) {
    static int files = 0;
    char temp[MAX_PATH + 1];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "ini-profile-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++files) + ".ini";
    HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << path_;
    EXPECT_TRUE(WriteFile(file, contents.data(), DWORD(contents.size()), &written, nullptr));
    CloseHandle(file);
  }
  TempIni(const TempIni&) = delete;
  TempIni& operator=(const TempIni&) = delete;
  ~TempIni() { DeleteFileA(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::string ProfileString(const std::string& path, const char* section, const char* key, const char* def) {
  char buffer[2048];
  GetPrivateProfileStringA(section, key, def, buffer, sizeof buffer, path.c_str());
  return buffer;
}

// The names as a classic reader takes them out of the buffer: up to the first empty one.
// The buffer starts zeroed, because a cut list does not always end with two terminators.
std::vector<std::string> ProfileKeys(const std::string& path, const char* section) {
  std::vector<char> buffer(kIniKeyListLimit, '\0');
  DWORD length = GetPrivateProfileStringA(section, nullptr, nullptr, buffer.data(), DWORD(buffer.size()), path.c_str());
  std::vector<std::string> keys;
  for (const char* p = buffer.data(); p < buffer.data() + length && *p; p += keys.back().size() + 1)
    keys.push_back(p);
  return keys;
}

// Whether a key exists, by our rule, applied to the system's list.
bool Listed(const std::vector<std::string>& keys, const char* key) {
  for (const std::string& listed : keys)
    if (text::SameText(listed, key)) return true;
  return false;
}

// A text with zero bytes in it.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

std::string Pattern(size_t length) {
  std::string s;
  for (size_t i = 0; i < length; ++i) s += char('a' + i % 26);
  return s;
}

// Names before "LASTNAMEXYZ" that take exactly `used` characters with their terminators.
std::string SectionUsing(size_t used) {
  std::string contents = "[S]\r\n";
  size_t taken = 0;
  for (int i = 0; used - taken >= 16; ++i, taken += 8) {
    char name[16];
    std::snprintf(name, sizeof name, "k%06d", i);
    contents += std::string(name) + "=1\r\n";
  }
  contents += std::string(used - taken - 1, 'p') + "=1\r\n";
  return contents + "LASTNAMEXYZ=1\r\n";
}

struct ProfileCase {
  const char* name;
  std::string contents;
  std::vector<std::pair<const char*, const char*>> lookups;  // section, key
  std::vector<const char*> sections;                         // sections whose keys are listed
};

std::vector<ProfileCase> AgreeingCases() {
  const std::string v2046 = Pattern(2046), v2047 = Pattern(2047), v2048 = Pattern(2048), v3000 = Pattern(3000);
  std::vector<ProfileCase> cases = {
      {"quotes",
       "[S]\r\nd=\"double\"\r\ns='single'\r\nb = \" in blanks \"  \r\ne=\"\"\r\ninner=\"in\"side\"\r\n"
       "two=\"a\" \"b\"\r\nmixed=\"x'\r\nopen=\"x\r\nlone=\"\r\nclose=x\"\r\n",
       {{"S", "d"}, {"S", "s"}, {"S", "b"}, {"S", "e"}, {"S", "inner"}, {"S", "two"}, {"S", "mixed"},
        {"S", "open"}, {"S", "lone"}, {"S", "close"}},
       {"S"}},
      {"blanks and names",
       "[Setup]\r\n  AppName \t=  My  App \t \r\nsp=   \r\nctl=\x1a\v\f\tx\x1a\r\nkept=\x01x\x7f\r\n"
       "eq=a=b\r\n a b = 1 \r\n\tTab\t=\tv\t\r\n",
       {{"setup", "APPNAME"}, {"SETUP", "appname"}, {"Setup", "sp"}, {"Setup", "ctl"}, {"Setup", "kept"},
        {"Setup", "eq"}, {"Setup", "A B"}, {"Setup", "tab"}, {"Setup", "missing"}, {"Missing", "AppName"}},
       {"Setup", "setup", "Missing"}},
      {"long values",
       "[S]\r\np2046=" + v2046 + "\r\np2047=" + v2047 + "\r\np2048=" + v2048 + "\r\np3000=" + v3000 +
           "\r\nq2046=\"" + v2046 + "\"\r\nq2048=\"" + v2048 + "\"\r\nq3000='" + v3000 + "'\r\nopen=\"" + v3000 + "\r\n",
       {{"S", "p2046"}, {"S", "p2047"}, {"S", "p2048"}, {"S", "p3000"}, {"S", "q2046"}, {"S", "q2048"},
        {"S", "q3000"}, {"S", "open"}},
       {"S"}},
      {"duplicate keys",
       "[S]\r\nk=first\r\nK=second\r\nk=third\r\nv\r\nv=valued later\r\n",
       {{"S", "k"}, {"S", "v"}},
       {"S"}},
      {"duplicate sections",
       "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\nx=4\r\n[B]\r\ny=5\r\n",
       {{"A", "x"}, {"A", "z"}, {"B", "y"}, {"a", "z"}},
       {"A", "B"}},
      {"missing and empty sections",
       "[Empty]\r\n[Full]\r\nk=1\r\n",
       {{"Empty", "k"}, {"Nowhere", "k"}, {"Full", "k"}},
       {"Empty", "Nowhere", "Full"}},
      {"LF", "[S]\na=1\nb=2\n", {{"S", "a"}, {"S", "b"}}, {"S"}},
      {"CR", "[S]\ra=1\rb=2\r", {{"S", "a"}, {"S", "b"}}, {"S"}},
      {"mixed line ends",
       "[S]\na=1\rb=2\r\nc=3\n\rd=4\r\r\ne=5",
       {{"S", "a"}, {"S", "b"}, {"S", "c"}, {"S", "d"}, {"S", "e"}},
       {"S"}},
      {"blank lines", "\r\n\r\n[S]\r\n\r\n   \r\na=1\r\n\r\n\t\r\nb=2\r\n\r\n", {{"S", "a"}, {"S", "b"}}, {"S"}},
      {"comments",
       "[S]\r\n;c=1\r\n  ;spaced=2\r\n;alone\r\n#hash=3\r\nv=1 ;not a comment\r\nw=2\r\n",
       {{"S", ";c"}, {"S", ";spaced"}, {"S", ";alone"}, {"S", "#hash"}, {"S", "v"}, {"S", "w"}},
       {"S"}},
      {"lines without =",
       "[S]\r\nfirst=1\r\nnovalue\r\n  also none  \r\nlast=2\r\n",
       {{"S", "first"}, {"S", "novalue"}, {"S", "also none"}, {"S", "last"}},
       {"S"}},
      {"empty names",
       "[S]\r\na=1\r\n=v\r\nb=2\r\n[T]\r\n  =w\r\nc=3\r\n",
       {{"S", "a"}, {"S", ""}, {"S", "b"}, {"T", ""}, {"T", "c"}},
       {"S", "T"}},
      {"headers",
       "pre=0\r\n[]\r\nempty=1\r\n  [H1]  \t\r\nh1=1\r\n[H2] ;comment\r\nh2=2\r\n[H3]x]\r\nh3=3\r\n"
       "[ H4 ]\r\nh4=4\r\n[H5=6]\r\nh5=5\r\n[H6\r\nh6=6\r\n",
       {{"", "pre"}, {"", "empty"}, {"H1", "h1"}, {"H2", "h2"}, {"H3]x", "h3"}, {"H3", "h3"}, {"H4", "h4"},
        {" H4 ", "h4"}, {"H5=6", "h5"}, {"H5=6", "h6"}, {"H6", "h6"}, {"[H6", "h6"}},
       {"", "H1", "H5=6", "H6"}},
      {"zero bytes",
       Bytes("[S]\r\nv=ab\0cd\r\nx\0y=2\r\nq=\"ab\0\"\r\n[T\0U]\r\nt=1\r\n"),
       {{"S", "v"}, {"S", "x"}, {"S", "q"}, {"T", "t"}},
       {"S", "T"}},
      {"8-bit text",
       "[S]\r\nv=\xa0\xe9\x81\x8d\xa0\r\n\xc9t\xe9=1\r\n",
       {{"S", "v"}, {"S", "\xc9t\xe9"}, {"S", "\xe9t\xe9"}},
       {"S"}},
      {"byte order mark, ASCII", "\xEF\xBB\xBF[S]\r\na=1\r\n", {{"S", "a"}}, {"S"}},
      {"one name longer than the list", "[S]\r\na=1\r\n" + Pattern(20000) + "=long\r\nb=2\r\n", {{"S", "b"}}, {"S"}},
  };
  for (size_t used : {16370, 16371, 16372, 16376, 16381, 16382, 16383})
    cases.push_back({"long key list", SectionUsing(used), {{"S", "LASTNAMEXYZ"}, {"S", "k000000"}}, {"S"}});
  return cases;
}

TEST(IniProfileTest, ReadsAsTheProfileFunctions) {
  for (const ProfileCase& c : AgreeingCases()) {
    TempIni file(c.contents);
    IniFile ini(file.Path());
    for (const auto& lookup : c.lookups) {
      EXPECT_EQ(ini.ReadString(lookup.first, lookup.second, "DEF"),
                ProfileString(file.Path(), lookup.first, lookup.second, "DEF"))
          << c.name << ": [" << lookup.first << "] " << lookup.second;
      std::vector<std::string> keys = ProfileKeys(file.Path(), lookup.first);
      EXPECT_EQ(ini.ValueExists(lookup.first, lookup.second), Listed(keys, lookup.second))
          << c.name << ": [" << lookup.first << "] " << lookup.second;
    }
    for (const char* section : c.sections)
      EXPECT_EQ(ini.ReadSection(section), ProfileKeys(file.Path(), section)) << c.name << ": [" << section << "]";
  }
}

// Where our rules decide otherwise. `system` is what the profile functions returned under
// Wine 8; only our result is asserted.
TEST(IniProfileTest, DocumentedDifferences) {
  const std::string inner2047 = Pattern(2047);
  struct Difference {
    const char* name;
    std::string contents;
    const char* section;
    const char* key;
    const char* def;
    std::string ours;
    std::string system;
  } cases[] = {
      // The default is ours to give: the system cuts trailing blanks off it and unquotes it.
      {"default with trailing blanks", "[S]\r\n", "S", "k", "def  ", "def  ", "def"},
      {"quoted default", "[S]\r\n", "S", "k", "\"q\"", "\"q\"", "q"},
      // The quotes go before the cut; the system cuts first and then drops the last character
      // it kept in place of the closing quote.
      {"quoted value of 2,047 characters", "[S]\r\nq=\"" + inner2047 + "\"\r\n", "S", "q", "", inner2047,
       inner2047.substr(0, 2046)},
      // Texts stay 8-bit: after a UTF-8 byte order mark the system converts to the code page.
      {"UTF-8 text", "\xEF\xBB\xBF[S]\r\nv=\xc3\xa9\r\n", "S", "v", "", "\xc3\xa9", "\xe9"},
      // A UTF-16 file is not a file of 8-bit text: it reads as holding nothing.
      {"UTF-16 file", Bytes("\xff\xfe[\0S\0]\0\r\0\n\0v\0=\0\x31\0\r\0\n\0"), "S", "v", "DEF", "DEF", "1"},
  };
  for (const Difference& c : cases) {
    TempIni file(c.contents);
    std::string system = ProfileString(file.Path(), c.section, c.key, c.def);
    EXPECT_EQ(IniFile(file.Path()).ReadString(c.section, c.key, c.def), c.ours) << c.name;
    if (system != c.system) std::printf("note: %s: the system now answers \"%s\"\n", c.name, system.c_str());
  }
}

// What our writer leaves, the uninstaller reads through the profile functions: the same values
// in the same sections, whatever mix of replaced keys, new keys and new sections made it.
TEST(IniProfileTest, WrittenTextReadsTheSameThroughTheProfileFunctions) {
  IniText text("[General]\r\nAppName=Old\r\n\r\n[Files]\r\n0=C:\\a.txt");
  text.WriteString("General", "AppName", "New Name");
  text.WriteString("general", "InstallDir", "C:\\Program Files\\App");
  text.WriteString("Files", "1", "C:\\b.txt");
  text.WriteString("Folders", "0", "C:\\App");
  text.WriteString("Messages", "1", "Remove <x>?%n%nSure?");
  text.WriteString("Files", "0", "C:\\A.TXT");
  TempIni file(text.Contents());
  const char* const sections[] = {"General", "Files", "Folders", "Messages"};
  for (const char* section : sections) {
    const std::vector<std::string> keys = ProfileKeys(file.Path(), section);
    EXPECT_EQ(keys, text.ReadSection(section)) << section;
    for (const std::string& key : keys)
      EXPECT_EQ(ProfileString(file.Path(), section, key.c_str(), "DEF"), text.ReadString(section, key, "DEF"))
          << section << " " << key;
  }
  EXPECT_EQ(ProfileString(file.Path(), "General", "AppName", ""), "New Name");
  EXPECT_EQ(ProfileString(file.Path(), "Files", "0", ""), "C:\\A.TXT");
  EXPECT_EQ(ProfileKeys(file.Path(), "Files"), (std::vector<std::string>{"0", "1"}));
}

}  // namespace
