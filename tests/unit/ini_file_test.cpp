// Reading INI files: names, blanks, quotes, the value and key-list limits, numbers, Booleans,
// the order of keys and what counts as an existing key.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "script/ini_file.h"

namespace {

const char kPath[] = "C:\\t\\setup.ini";

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }

  IniFile Write(const std::string& contents) {
    sim::WriteFile(kPath, contents);
    return IniFile(kPath);
  }
};

// A text whose every position can be told apart, so that a cut in the wrong place shows.
std::string Pattern(size_t length) {
  std::string s;
  for (size_t i = 0; i < length; ++i) s += char('a' + i % 26);
  return s;
}

TEST_F(IniFileTest, StringValues) {
  struct Case {
    std::string contents;
    const char* section;
    const char* key;
    const char* expected;  // read with the default "DEF"
  } cases[] = {
      {"[Setup]\nAppName=App\n", "SETUP", "appname", "App"},
      {"[Setup]\nAppName=App\n", "Setup", "AppVersion", "DEF"},
      {"[Setup]\nAppName=App\n", "Other", "AppName", "DEF"},
      {"[Setup]\n  AppName \t=  My  App \t \n", "Setup", "AppName", "My  App"},
      {"[S]\nk=\"quoted\"\n", "S", "k", "quoted"},
      {"[S]\nk='single'\n", "S", "k", "single"},
      {"[S]\nk = \" in blanks \"  \n", "S", "k", " in blanks "},
      {"[S]\nk=\"\"\n", "S", "k", ""},
      {"[S]\nk=\"in\"side\"\n", "S", "k", "in\"side"},    // only the enclosing pair goes
      {"[S]\nk=\"\"twice\"\"\n", "S", "k", "\"twice\""},  // and only one pair
      {"[S]\nk=\"mixed'\n", "S", "k", "\"mixed'"},
      {"[S]\nk=\"open\n", "S", "k", "\"open"},
      {"[S]\nk=\"\n", "S", "k", "\""},
      {"[S]\nk=a=b\n", "S", "k", "a=b"},
      {"[S]\nk=1 ;not a comment\n", "S", "k", "1 ;not a comment"},
      {"[S]\nk=\n", "S", "k", ""},                          // empty, not missing
      {"[S]\nk\n", "S", "k", "DEF"},                        // no "=": no value
      {"[S]\nk\nk=1\n", "S", "k", "DEF"},                   // the first line of a key decides
      {"[S]\nk=first\nK=second\n", "S", "k", "first"},
      {"[S]\nk=1\n[T]\n[s]\nk=2\nj=3\n", "S", "j", "DEF"},  // a repeated section is ignored
      {"[S]\n;k=1\n", "S", ";k", "1"},                      // a comment still reads
      {"k=before\n[S]\n", "", "k", "before"},               // lines before any section
      {"[S]  \t\nk=1\n", "S", "k", "1"},
      {"  [S] trailing text\nk=1\n", "S", "k", "1"},
      {"[S]x]\nk=1\n", "S]x", "k", "1"},                    // named up to the last "]"
      {"[ S ]\nk=1\n", "S", "k", "1"},                      // nor blanks inside the brackets
      {"[S]\nk=1\n[T\nt=2\n", "S", "t", "2"},               // "[T" without "]" is no header
      {"[S]\nk=1\n[T\nt=2\n", "T", "t", "DEF"},
      {"[S]\nk=1", "S", "k", "1"},                          // no line break at the end
      {"[S]\r\nk=crlf\r\n", "S", "k", "crlf"},
      {"[S]\rk=cr\rj=2\r", "S", "k", "cr"},
      {"[S]\na=1\rk=lone cr\nb=2", "S", "k", "lone cr"},
      {"[S]\n\n  \n\r\n\rk=after blank lines\n", "S", "k", "after blank lines"},
      {"[S]\nk=\x1a\v\f\tx\x1a\n", "S", "k", "x"},         // blanks of the profile functions
      {"[S]\nk=\x01x\x7f\n", "S", "k", "\x01x\x7f"},       // other control characters stay
      {"[S]\nk=\xa0x\xe9\n", "S", "k", "\xa0x\xe9"},       // 8-bit text as it is
      {std::string("[S]\nk=ab\0cd\nj=2\n", 17), "S", "k", "ab"},  // a zero byte ends the value
      {std::string("[S]\nk=ab\0cd\nj=2\n", 17), "S", "j", "2"},
      {"\xEF\xBB\xBF[S]\nk=bom\n", "S", "k", "bom"},
      {"[S]\n\xc9t\xe9=1\n", "S", "\xe9t\xe9", "DEF"},     // only ASCII letters fold
  };
  for (const Case& c : cases) {
    IniFile ini = Write(c.contents);
    EXPECT_EQ(ini.ReadString(c.section, c.key, "DEF"), c.expected) << c.contents;
  }
}

TEST_F(IniFileTest, TheDefaultIsReturnedAsPassed) {
  IniFile ini = Write("[S]\nk=1\n");
  EXPECT_EQ(ini.ReadString("S", "missing", " spaced \"def\"  "), " spaced \"def\"  ");
  EXPECT_EQ(IniFile("C:\\nowhere.ini").ReadString("S", "k", "def"), "def");
  EXPECT_EQ(IniFile().ReadString("S", "k", "def"), "def");
}

TEST_F(IniFileTest, ValuesAreCutTo2047CharactersAfterTheirQuotes) {
  for (size_t length : {2046, 2047, 2048, 3000}) {
    const std::string value = Pattern(length);
    const std::string expected = value.substr(0, kIniValueLimit);
    IniFile ini = Write("[S]\nplain=" + value + "\ndouble=\"" + value + "\"\nsingle='" + value + "'\n");
    EXPECT_EQ(ini.ReadString("S", "plain", ""), expected) << length;
    EXPECT_EQ(ini.ReadString("S", "double", ""), expected) << length;
    EXPECT_EQ(ini.ReadString("S", "single", ""), expected) << length;
  }
  // An opening quote without its closing one stays, and counts toward the limit.
  IniFile ini = Write("[S]\nk=\"" + Pattern(3000) + "\n");
  EXPECT_EQ(ini.ReadString("S", "k", ""), "\"" + Pattern(2046));
}

TEST_F(IniFileTest, ParseInteger) {
  struct Case {
    const char* text;
    bool converts;
    int32_t value;
  } cases[] = {
      {"0", true, 0},
      {"123", true, 123},
      {"0042", true, 42},
      {"-5", true, -5},
      {"+5", true, 5},
      {"  7", true, 7},
      {"2147483647", true, INT32_MAX},
      {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999", false, 0},
      {"$1F", true, 31},
      {"$ff", true, 255},
      {"$7FFFFFFF", true, INT32_MAX},
      {"$FFFFFFFF", true, -1},
      {"$80000000", true, INT32_MIN},
      {"$000000010", true, 16},
      {"$100000000", false, 0},
      {"-$10", true, -16},
      {"0x1f", true, 31},
      {"0X1F", true, 31},
      {"0x0", true, 0},
      {"0xFFFFFFFF", true, -1},
      {"-0x10", true, -16},
      {"0x", false, 0},
      {"0X", false, 0},
      {"$", false, 0},
      {"", false, 0},
      {" ", false, 0},
      {"-", false, 0},
      {"+", false, 0},
      {"--5", false, 0},
      {"5 ", false, 0},
      {"12abc", false, 0},
      {"1e3", false, 0},
      {"1.5", false, 0},
      {"x10", false, 0},
      {"0x0x1", false, 0},
      {"$-5", false, 0},
      {"$g", false, 0},
      {"0b1", false, 0},
      {"yes", false, 0},
      {"true", false, 0},
  };
  for (const Case& c : cases) {
    std::optional<int32_t> value = ParseInteger(c.text);
    EXPECT_EQ(value.has_value(), c.converts) << '"' << c.text << '"';
    if (value && c.converts) {
      EXPECT_EQ(*value, c.value) << '"' << c.text << '"';
    }
  }
}

TEST_F(IniFileTest, IntegersReadTheStringAndFallBackToTheDefault) {
  IniFile ini = Write("[S]\nhex = 0x10 \nquoted=\"-12\"\nempty=\nword=ten\nopen=\"5\nnovalue\n");
  EXPECT_EQ(ini.ReadInteger("s", "HEX", 7), 16);
  EXPECT_EQ(ini.ReadInteger("S", "quoted", 7), -12);
  EXPECT_EQ(ini.ReadInteger("S", "empty", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "word", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "open", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "novalue", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "missing", -7), -7);
}

TEST_F(IniFileTest, BooleansAreIntegers) {
  struct Case {
    const char* value;  // nullptr: the key is missing
    bool readWithFalse;
    bool readWithTrue;
  } cases[] = {
      {"1", true, true},     {"2", true, true},       {"-1", true, true},     {"$10", true, true},
      {"0", false, false},   {"0x0", false, false},   {"yes", false, true},   {"true", false, true},
      {"no", false, true},   {"", false, true},       {nullptr, false, true},
  };
  for (const Case& c : cases) {
    IniFile ini = Write(c.value ? std::string("[Setup]\nSilentInstall=") + c.value + "\n" : "[Setup]\n");
    const char* shown = c.value ? c.value : "(missing)";
    EXPECT_EQ(ini.ReadBool("Setup", "SilentInstall", false), c.readWithFalse) << shown;
    EXPECT_EQ(ini.ReadBool("Setup", "SilentInstall", true), c.readWithTrue) << shown;
  }
}

TEST_F(IniFileTest, SectionsListTheirKeysInFileOrder) {
  IniFile ini = Write(
      "[Other]\nx=1\n"
      "[Shortcuts]\n2=c\n0=a\n  Spaced Name  = b\n;comment=1\n;alone\nnovalue\n\nDup=1\ndup=2\nempty=\n"
      "[Next]\ny=1\n"
      "[shortcuts]\nlater=1\n");
  EXPECT_EQ(ini.ReadSection("SHORTCUTS"),
            (std::vector<std::string>{"2", "0", "Spaced Name", "Dup", "dup", "empty"}));
  EXPECT_EQ(ini.ReadSection("Missing"), std::vector<std::string>{});
  EXPECT_EQ(ini.ReadSection("Next"), std::vector<std::string>{"y"});
  // An empty name ends the list as the system reports it; the keys after it still read.
  IniFile cut = Write("[S]\na=1\n=v\nb=2\n");
  EXPECT_EQ(cut.ReadSection("S"), std::vector<std::string>{"a"});
  EXPECT_EQ(cut.ReadString("S", "b", ""), "2");
  EXPECT_EQ(Write("[S]\n =v\na=1\n").ReadSection("S"), std::vector<std::string>{});
}

// The values of a whole section in one pass are what each key reads on its own.
TEST_F(IniFileTest, SectionValuesAreWhatEachKeyReads) {
  IniText text(
      "[S]\n2=c\n0='quoted'\n  Spaced Name  = b \nnovalue\nNoValue2\nnovalue2=x\nDup=1\ndup=2\nempty=\n"
      "long=" + std::string(3000, 'v') + "\n[s]\nlater=1\n");
  std::vector<std::string> expected;
  for (const std::string& key : text.ReadSection("S")) expected.push_back(text.ReadString("S", key, ""));
  EXPECT_EQ(text.ReadSectionValues("s"), expected);
  EXPECT_EQ(expected, (std::vector<std::string>{"c", "quoted", "b", "", "1", "1", "", std::string(2047, 'v')}));
  EXPECT_EQ(text.ReadSectionValues("Missing"), std::vector<std::string>{});
}

// A section whose names before "LASTNAMEXYZ" take exactly `used` characters, terminators
// included: seven-character fillers, then one shorter name to make up the rest.
std::string SectionUsing(size_t used) {
  std::string contents = "[S]\n";
  size_t taken = 0;
  for (int i = 0; used - taken >= 16; ++i, taken += 8) {
    char name[16];
    std::snprintf(name, sizeof name, "k%06d", i);
    contents += std::string(name) + "=1\n";
  }
  contents += std::string(used - taken - 1, 'p') + "=1\n";
  return contents + "LASTNAMEXYZ=1\n";
}

TEST_F(IniFileTest, TheKeyListIsCutAt16384Characters) {
  struct Case {
    size_t used;
    const char* last;  // the last name listed
  } cases[] = {
      {16370, "LASTNAMEXYZ"},  // names, terminators and the list's end fit exactly
      {16371, "LASTNAMEXYZ"},  // the list's final terminator is the 16,384th character
      {16372, "LASTNAMEXY"},
      {16376, "LASTNA"},
      {16381, "L"},
      {16382, nullptr},        // no room for a single character: the name is left out
      {16383, nullptr},
  };
  for (const Case& c : cases) {
    IniFile ini = Write(SectionUsing(c.used));
    std::vector<std::string> keys = ini.ReadSection("S");
    ASSERT_FALSE(keys.empty());
    size_t total = 0;
    for (const std::string& key : keys) total += key.size() + 1;
    EXPECT_LT(total, kIniKeyListLimit) << c.used;
    if (c.last) {
      EXPECT_EQ(keys.back(), c.last) << c.used;
      EXPECT_EQ(total - keys.back().size() - 1, c.used);
    } else {
      EXPECT_EQ(total, c.used) << c.used;
      EXPECT_EQ(keys.back()[0], 'p') << c.used;
    }
  }
}

TEST_F(IniFileTest, AKeyExistsWhenTheSectionListsIt) {
  IniFile ini = Write("[S]\nListed=1\nEmpty=\nnovalue\n;comment=1\n" + std::string(16400, 'n') + "=long\n");
  EXPECT_TRUE(ini.ValueExists("s", "LISTED"));
  EXPECT_TRUE(ini.ValueExists("S", "Empty"));
  EXPECT_FALSE(ini.ValueExists("S", "novalue"));
  EXPECT_FALSE(ini.ValueExists("S", ";comment"));
  EXPECT_FALSE(ini.ValueExists("S", "missing"));
  EXPECT_FALSE(ini.ValueExists("T", "Listed"));
  // A name that the list cuts is not there, though its value reads.
  EXPECT_FALSE(ini.ValueExists("S", std::string(16400, 'n')));
  EXPECT_EQ(ini.ReadString("S", std::string(16400, 'n'), ""), "long");
}

TEST_F(IniFileTest, TheFileIsReadAnewOnEveryCall) {
  IniFile ini = Write("[S]\nk=1\n");
  EXPECT_EQ(ini.ReadString("S", "k", ""), "1");
  sim::WriteFile(kPath, "[S]\nk=2\nj=3\n");
  EXPECT_EQ(ini.ReadString("S", "k", ""), "2");
  EXPECT_EQ(ini.ReadSection("S"), (std::vector<std::string>{"k", "j"}));
}

}  // namespace
