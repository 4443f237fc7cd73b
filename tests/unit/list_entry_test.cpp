// Splitting list entries into fields, as lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/list_entry.h"

namespace {

using Fields = std::vector<std::string>;

TEST(ListEntryTest, SplitLines) {
  struct Case {
    const char* text;
    Fields lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},            // a final line break adds no line
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR are two line ends
      {"a\r\r\nb", {"a", "", "b"}},
      {"\r\n", {""}},
      {"\n\n", {"", ""}},
      {"a\r\n\r\n", {"a", ""}},
      {" a \t", {" a \t"}},       // nothing is trimmed
  };
  for (const Case& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(ListEntryTest, SplitEntry) {
  struct Case {
    const char* entry;
    const char* separator;
    Fields fields;
  } cases[] = {
      {"a*?b*?c", kListSeparator, {"a", "b", "c"}},
      {"<Desktop>\\App*?<InstallDir>\\app.exe*?*?0*?Normal", kListSeparator,
       {"<Desktop>\\App", "<InstallDir>\\app.exe", "", "0", "Normal"}},  // empty fields inside stay
      {"a*?b*?", kListSeparator, {"a", "b"}},                           // an empty last field is lost
      {"a*?*?", kListSeparator, {"a", ""}},
      {"a*?*?*?", kListSeparator, {"a", "", ""}},
      {"*?a", kListSeparator, {"", "a"}},
      {"*?", kListSeparator, {""}},
      {"", kListSeparator, {}},
      {"a*b?c*?d", kListSeparator, {"a*b?c", "d"}},   // "*" and "?" alone are text
      {"a**?b", kListSeparator, {"a*", "b"}},
      {"a*??b", kListSeparator, {"a", "?b"}},
      {"a\rb*?c\nd", kListSeparator, {"a", "b", "c", "d"}},  // line breaks inside split too
      {"a\r*?b", kListSeparator, {"a", "", "b"}},
      {"Dir\\file.txt?1234?1?Yes", kFilesSeparator, {"Dir\\file.txt", "1234", "1", "Yes"}},
      {"a??b?", kFilesSeparator, {"a", "", "b"}},
      {"a*?b", kFilesSeparator, {"a*", "b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitEntry(c.entry, c.separator), c.fields) << c.entry;
}

}  // namespace
