// Messages with their one argument, and paths shortened for a status line.
#include <gtest/gtest.h>

#include "script/display_text.h"

namespace {

TEST(FormatMessageTest, PutsTheArgumentIntoTheFirstConversionOnly) {
  struct Case {
    const char* format;
    const char* argument;
    const char* expected;
  } cases[] = {
      {"File \"%s\" already exists.<#><#>Would you like to overwrite it?", "C:\\a.txt",
       "File \"C:\\a.txt\" already exists.\r\n\r\nWould you like to overwrite it?"},
      {"no argument", "x", "no argument"},
      {"100%% sure: %s", "yes", "100% sure: yes"},
      {"%s", "", ""},
      {"%s%s", "a", "a%s"},          // a second conversion stays as written
      {"%d of %s", "x", "%d of x"},  // so does any other sequence
      {"%s %1 %-5s %", "x", "x %1 %-5s %"},
      {"50%", "x", "50%"},
      {"%%s", "x", "%s"},
      {"%s", "100%s <#>", "100%s \r\n"},  // the argument's "%" stays; its line marks break too
      {"<AppName>: %s", "x", "<AppName>: x"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatMessage(c.format, c.argument), c.expected) << c.format;
}

TEST(ShortenPathTest, DropsTheTwoFoldersAboveTheFileOfALongPath) {
  const std::string base = "C:\\Program Files\\A Rather Long Vendor Name\\Product";  // 50 characters
  struct Case {
    std::string path;
    std::string expected;
  } cases[] = {
      {base + "\\bin\\plugins\\filt.dl", base + "\\bin\\plugins\\filt.dl"},  // 70: as it is
      {base + "\\bin\\plugins\\filt.dll", base + "\\..\\filt.dll"},         // 71
      {base + "\\bin\\plugins\\" + std::string(80, 'f'), base + "\\..\\" + std::string(80, 'f')},
      {"C:\\b\\c\\" + std::string(70, 'f'), "C:\\..\\" + std::string(70, 'f')},
      {"C:\\c\\" + std::string(70, 'f'), "C:\\c\\" + std::string(70, 'f')},  // too few folders
      {std::string(71, 'f'), std::string(71, 'f')},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortenPath(c.path), c.expected) << c.path.size() << " " << c.path;
}

}  // namespace
