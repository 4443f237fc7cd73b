// The uninstall log: how values are written into the INI text, and how items are recorded
// without repeats and without ever replacing a recorded value.
#include <gtest/gtest.h>

#include "install/uninstall_log.h"
#include "platform/files.h"
#include "platform/sim/sim.h"
#include "script/ini_file.h"

namespace {

TEST(IniTextTest, WritesInPlaceAtTheEndOfTheSectionOrInANewSection) {
  struct Case {
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
  } cases[] = {
      {"", "S", "k", "v", "[S]\r\nk=v\r\n"},
      {"[S]\r\nk=old\r\nj=2\r\n", "s", "K", "new", "[S]\r\nK=new\r\nj=2\r\n"},  // names without case
      {"[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n", "S", "c", "3", "[S]\r\na=1\r\nc=3\r\n\r\n[T]\r\nb=2\r\n"},
      {"[S]\r\na=1", "S", "b", "2", "[S]\r\na=1\r\nb=2"},  // a last line without its line break
      {"[S]", "S", "b", "2", "[S]\r\nb=2"},
      {"[S]\r\na=1", "T", "b", "2", "[S]\r\na=1\r\n[T]\r\nb=2\r\n"},
      {"[S]\r\n  a  =  1  \r\n", "S", "a", "2", "[S]\r\na=2\r\n"},
      {"[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "b", "3", "[S]\r\na=1\r\nb=3\r\n[S]\r\nb=2\r\n"},  // the first [S] counts
      {"[S]\r\n;a=1\r\n", "S", "z", "0", "[S]\r\n;a=1\r\nz=0\r\n"},
      {"x=1\r\n[S]\r\n", "", "y", "2", "x=1\r\ny=2\r\n[S]\r\n"},  // the nameless section before the first header
  };
  for (const Case& c : cases) {
    IniText text(c.before);
    text.WriteString(c.section, c.key, c.value);
    EXPECT_EQ(text.Contents(), c.after) << c.before << " + " << c.key;
    EXPECT_EQ(text.ReadString(c.section, c.key, "DEF"), c.value) << c.before;
  }
}

class UninstallLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    UninstallIni.Open("C:\\App\\Uninstall.ini");
  }
  void TearDown() override { UninstallIni.Release(); }

  static void Record(const std::string& section, const std::vector<std::string>& values) {
    for (size_t i = 0; i < values.size(); ++i) UninstallIni.WriteString(section, std::to_string(i), values[i]);
  }
  // key=value pairs of a section, in file order.
  static std::string Listing(const std::string& section) {
    std::string listing;
    for (const std::string& key : UninstallIni.ReadSection(section))
      listing += key + "=" + UninstallIni.ReadString(section, key) + ";";
    return listing;
  }
};

TEST_F(UninstallLogTest, AnItemIsRecordedOnceUnderTheNextNumber) {
  LogUninstallItem("Files", "C:\\App\\a.exe");
  LogUninstallItem("Files", "C:\\App\\b.exe");
  LogUninstallItem("Files", "C:\\App\\a.exe");
  LogUninstallItem("Files", "C:\\APP\\A.EXE");  // another value: the comparison is exact
  EXPECT_EQ(Listing("Files"), "0=C:\\App\\a.exe;1=C:\\App\\b.exe;2=C:\\APP\\A.EXE;");
}

TEST_F(UninstallLogTest, CreatedFoldersLeaveTheNumberOfARecordedOneFree) {
  Record("Folders", {"C:\\A", "C:\\B", "C:\\C"});
  LogCreatedFolders({"C:\\D", "C:\\B", "C:\\E"});
  EXPECT_EQ(Listing("Folders"), "0=C:\\A;1=C:\\B;2=C:\\C;3=C:\\D;5=C:\\E;");
}

TEST_F(UninstallLogTest, InstalledFilesStayContiguous) {
  Record("Files", {"f0", "f1", "f2", "f3", "f4"});
  LogInstalledFiles({"f0", "f5", "f6", "f5"});  // a repeat within one batch is written again
  EXPECT_EQ(Listing("Files"), "0=f0;1=f1;2=f2;3=f3;4=f4;5=f5;6=f6;7=f5;");
}

// Once [Folders] has a gap, the count of its keys names a key in use, and the highest recorded
// value lies beyond the count: neither may be overwritten or recorded again.
TEST_F(UninstallLogTest, AGapNeverCostsARecordedValueOrRepeatsOne) {
  UninstallIni.WriteString("Folders", "0", "C:\\A");
  UninstallIni.WriteString("Folders", "1", "C:\\B");
  UninstallIni.WriteString("Folders", "3", "C:\\D");
  LogCreatedFolders({"C:\\D", "C:\\E"});  // count 3: "C:\E" would go to 4
  LogUninstallItem("Folders", "C:\\F");   // count 4: key "4" is taken now
  LogInstalledFiles({});
  EXPECT_EQ(Listing("Folders"), "0=C:\\A;1=C:\\B;3=C:\\D;4=C:\\E;5=C:\\F;");
}

TEST_F(UninstallLogTest, IsWrittenOnlyWhenSavedAndReadBackAsAnInstalledLog) {
  LogUninstallItem("Files", "C:\\App\\a.exe");
  EXPECT_FALSE(platform::FileExists("C:\\App\\Uninstall.ini"));
  sim::WriteFile("C:\\App\\keep.txt", "");
  ASSERT_TRUE(UninstallIni.Save());
  EXPECT_EQ(sim::ReadFile("C:\\App\\Uninstall.ini"), "[Files]\r\n0=C:\\App\\a.exe\r\n");
  UninstallIni.Release();
  UninstallIni.Open("C:\\App\\Uninstall.ini");
  LogUninstallItem("Files", "C:\\App\\a.exe");
  LogUninstallItem("Files", "C:\\App\\b.exe");
  EXPECT_EQ(Listing("Files"), "0=C:\\App\\a.exe;1=C:\\App\\b.exe;");
  sim::Machine().refusedWrites.push_back("C:\\App\\Uninstall.ini");
  EXPECT_FALSE(UninstallIni.Save());
}

}  // namespace
