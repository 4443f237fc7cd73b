// The cabinet extractor on the simulated Windows, where only the simulation can show it: faults
// of the machine, hostile stored names, separators. Cabinets made by gcab, decoded by
// libmspack; the behaviour shared with Windows is tested in tests/contract.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "cabinet_fixture.h"
#include "package/cabinet.h"
#include "platform/cabinet.h"
#include "platform/files.h"
#include "platform/sim/sim.h"

using cabtest::CabEntry;

namespace {

const char kCab[] = "C:\\Temp\\file.cab";
const char kTarget[] = "C:\\Apps\\Demo";

using cabtest::PatternData;

int64_t HostMtime(const std::string& windowsPath) {
  struct stat st;
  return stat(sim::HostPath(windowsPath).c_str(), &st) == 0 ? int64_t(st.st_mtime) : -1;
}

class CabinetTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }

  static void PutCabinet(const std::string& cab) { sim::WriteFile(kCab, cab); }
};

TEST_F(CabinetTest, ForwardSlashesInStoredNamesAreFolderSeparators) {
  std::string cab = cabtest::MakeCabinet({{"doc\\guide.txt", "guide"}});
  cabtest::SetStoredName(cab, 0, "doc/en/guide.txt");
  PutCabinet(cab);

  ASSERT_TRUE(ExtractCabinet(kCab, kTarget));
  EXPECT_EQ(sim::ReadFile("C:\\Apps\\Demo\\doc\\en\\guide.txt"), "guide");
}

// Every fault of the machine is the same plain false (damaged cabinets are tested on both
// platforms in tests/contract).
struct FailureCase {
  const char* what;
  void (*prepare)();
};

const FailureCase kFailures[] = {
    {"a file that cannot be written", [] { sim::Machine().refusedWrites.push_back("C:\\Apps\\Demo\\sub\\big.bin"); }},
    {"the target folder cannot be created", [] { sim::Machine().refusedFolders.push_back("C:\\Apps"); }},
    {"a stored folder part cannot be created", [] { sim::Machine().refusedFolders.push_back("C:\\Apps\\Demo\\sub"); }},
    {"a folder in place of a stored file", [] { sim::WriteFile("C:\\Apps\\Demo\\sub\\big.bin\\x", ""); }},
    {"a file in place of a stored folder", [] { sim::WriteFile("C:\\Apps\\Demo\\sub", "file"); }},
};

TEST_F(CabinetTest, EveryFailureIsFalse) {
  const std::string good =
      cabtest::MakeCabinet({{"first.txt", "first"}, {"sub\\big.bin", PatternData(70000)}, {"last.txt", "last"}});
  for (const FailureCase& c : kFailures) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    PutCabinet(good);
    c.prepare();
    EXPECT_FALSE(ExtractCabinet(kCab, kTarget));
  }
}

TEST_F(CabinetTest, FilesBeforeAFailureStay) {
  PutCabinet(cabtest::MakeCabinet({{"first.txt", "first"}, {"second.txt", "second"}}));
  sim::Machine().refusedWrites.push_back("C:\\Apps\\Demo\\second.txt");

  EXPECT_FALSE(ExtractCabinet(kCab, kTarget));
  EXPECT_EQ(sim::ReadFile("C:\\Apps\\Demo\\first.txt"), "first");
  EXPECT_EQ(HostMtime("C:\\Apps\\Demo\\first.txt"), cabtest::kStoredTime);
}

TEST(StoredNameTest, OnlyNamesInsideTheFolderAreSafe) {
  const char* safe[] = {"a.txt", "sub\\a.txt", "sub/deep/a.txt", "a..b", "..a", ".profile", "x. y", "a b\\c"};
  const char* unsafe[] = {"",         "\\a.txt",   "/a.txt",     "\\\\srv\\share\\a", "C:a.txt", "C:\\a.txt",
                          "sub\\C:a", "..",        "..\\a.txt",  "../a.txt",          "sub\\..\\..\\a",
                          "sub/..",   "...\\a",    ".. \\a.txt", ".\\a.txt",          "sub\\\\a", "sub\\"};
  for (const char* name : safe) EXPECT_TRUE(IsSafeStoredName(name)) << name;
  for (const char* name : unsafe) EXPECT_FALSE(IsSafeStoredName(name)) << name;
}

TEST_F(CabinetTest, UnsafeStoredNamesAreRefused) {
  const char* names[] = {"..\\evil.txt", "sub\\..\\..\\evil.txt", "../evil.txt", "\\evil.txt", "C:evil.txt",
                         "C:\\evil.txt"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    sim::Reset();
    std::string cab = cabtest::MakeCabinet({{"ok.txt", "ok"}, {"placeholder", "evil"}});
    cabtest::SetStoredName(cab, 1, name);
    ASSERT_EQ(cabtest::ReadLayout(cab).files[1].name, name);
    PutCabinet(cab);

    EXPECT_FALSE(ExtractCabinet(kCab, kTarget));
    for (const char* where : {"C:\\evil.txt", "C:\\Apps\\evil.txt", "C:\\Apps\\Demo\\evil.txt"})
      EXPECT_FALSE(platform::FileExists(where)) << where;
  }
}

}  // namespace
