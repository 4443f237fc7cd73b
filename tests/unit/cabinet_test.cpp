// The cabinet extractor on the simulated Windows: cabinets made by gcab, decoded by libmspack,
// written through the simulated file system.
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

TEST_F(CabinetTest, FilesLandWithContentTimeAndAttributes) {
  const int64_t later = cabtest::kStoredTime + 400 * 86400 + 3600 + 62;
  std::string cab = cabtest::MakeCabinet({{"readme.txt", "Read me first.\r\n"},
                                          {"bin\\tools\\data.bin", PatternData(70000), later},
                                          {"empty.txt", ""}});
  ASSERT_EQ(cabtest::ReadLayout(cab).blocks.size(), 3u);
  cabtest::SetStoredAttributes(cab, 0, 0x21);  // read-only, archive
  cabtest::SetStoredAttributes(cab, 1, 0xC6);  // hidden, system, and two bits that are not kept
  cabtest::SetStoredAttributes(cab, 2, 0x00);
  PutCabinet(cab);

  ASSERT_TRUE(ExtractCabinet(kCab, kTarget));

  const std::string dir = std::string(kTarget) + "\\";
  EXPECT_TRUE(platform::FolderExists("C:\\Apps\\Demo\\bin\\tools"));
  EXPECT_EQ(sim::ReadFile(dir + "readme.txt"), "Read me first.\r\n");
  EXPECT_EQ(sim::ReadFile(dir + "bin\\tools\\data.bin"), PatternData(70000));
  EXPECT_TRUE(platform::FileExists(dir + "empty.txt"));
  EXPECT_EQ(sim::ReadFile(dir + "empty.txt"), "");

  EXPECT_EQ(HostMtime(dir + "readme.txt"), cabtest::kStoredTime);
  EXPECT_EQ(HostMtime(dir + "bin\\tools\\data.bin"), later);
  EXPECT_EQ(HostMtime(dir + "empty.txt"), cabtest::kStoredTime);

  EXPECT_EQ(platform::ReadAttributes(dir + "readme.txt"), platform::kAttrReadOnly | platform::kAttrArchive);
  EXPECT_EQ(platform::ReadAttributes(dir + "bin\\tools\\data.bin"), platform::kAttrHidden | platform::kAttrSystem);
  EXPECT_EQ(platform::ReadAttributes(dir + "empty.txt"), 0u);
}

TEST_F(CabinetTest, ExistingFilesAreReplacedWhole) {
  PutCabinet(cabtest::MakeCabinet({{"app.exe", "new"}, {"sub\\lib.dll", "fresh"}}));
  sim::WriteFile("C:\\Apps\\Demo\\app.exe", "an older and much longer program");
  sim::WriteFile("C:\\Apps\\Demo\\sub\\lib.dll", "stale library bytes");
  ASSERT_TRUE(platform::WriteAttributes("C:\\Apps\\Demo\\app.exe", platform::kAttrReadOnly | platform::kAttrHidden));

  ASSERT_TRUE(ExtractCabinet(kCab, "C:\\Apps\\Demo\\"));  // a trailing backslash is fine too

  EXPECT_EQ(sim::ReadFile("C:\\Apps\\Demo\\app.exe"), "new");
  EXPECT_EQ(sim::ReadFile("C:\\Apps\\Demo\\sub\\lib.dll"), "fresh");
  EXPECT_EQ(platform::ReadAttributes("C:\\Apps\\Demo\\app.exe"), platform::kAttrArchive);  // as stored
  EXPECT_EQ(HostMtime("C:\\Apps\\Demo\\app.exe"), cabtest::kStoredTime);
}

TEST_F(CabinetTest, ForwardSlashesInStoredNamesAreFolderSeparators) {
  std::string cab = cabtest::MakeCabinet({{"doc\\guide.txt", "guide"}});
  cabtest::SetStoredName(cab, 0, "doc/en/guide.txt");
  PutCabinet(cab);

  ASSERT_TRUE(ExtractCabinet(kCab, kTarget));
  EXPECT_EQ(sim::ReadFile("C:\\Apps\\Demo\\doc\\en\\guide.txt"), "guide");
}

// Every kind of failure is the same plain false. `prepare` damages the cabinet's bytes (an
// empty result: no cabinet file at all) or the machine.
struct FailureCase {
  const char* what;
  void (*prepare)(std::string& cab);
};

const FailureCase kFailures[] = {
    {"missing cabinet file", [](std::string& cab) { cab.clear(); }},
    {"not a cabinet", [](std::string& cab) { cab = "[Setup]\r\nAppName=Demo\r\n" + std::string(200, ' '); }},
    {"empty file", [](std::string& cab) { cab = std::string(); sim::WriteFile(kCab, ""); }},
    {"cut inside the header", [](std::string& cab) { cab.resize(30); }},
    {"cut inside the file records", [](std::string& cab) { cab.resize(cabtest::ReadLayout(cab).files[1].record + 5); }},
    {"cut inside the first data block", [](std::string& cab) { cab.resize(cabtest::ReadLayout(cab).blocks[0] + 20); }},
    {"cut inside the last data block", [](std::string& cab) { cab.resize(cab.size() - 10); }},
    {"a byte of the first data block flipped", [](std::string& cab) { cabtest::CorruptDataBlock(cab, 0); }},
    {"a byte of the last data block flipped", [](std::string& cab) { cabtest::CorruptDataBlock(cab, 2); }},
    {"data intact but its checksum wrong",
     [](std::string& cab) { cab[cabtest::ReadLayout(cab).blocks[1]] ^= 0x01; }},
    {"a file longer than its folder's data",
     [](std::string& cab) {
       size_t record = cabtest::ReadLayout(cab).files[1].record;
       cabtest::Put32(cab, record, cabtest::Get32(cab, record) + 100000);
     }},
    {"a file that cannot be written", [](std::string&) { sim::Machine().refusedWrites.push_back("C:\\Apps\\Demo\\sub\\big.bin"); }},
    {"the target folder cannot be created", [](std::string&) { sim::Machine().refusedFolders.push_back("C:\\Apps"); }},
    {"a stored folder part cannot be created",
     [](std::string&) { sim::Machine().refusedFolders.push_back("C:\\Apps\\Demo\\sub"); }},
    {"a folder in place of a stored file", [](std::string&) { sim::WriteFile("C:\\Apps\\Demo\\sub\\big.bin\\x", ""); }},
    {"a file in place of a stored folder", [](std::string&) { sim::WriteFile("C:\\Apps\\Demo\\sub", "file"); }},
};

TEST_F(CabinetTest, EveryFailureIsFalse) {
  const std::string good =
      cabtest::MakeCabinet({{"first.txt", "first"}, {"sub\\big.bin", PatternData(70000)}, {"last.txt", "last"}});
  ASSERT_EQ(cabtest::ReadLayout(good).blocks.size(), 3u);
  for (const FailureCase& c : kFailures) {
    SCOPED_TRACE(c.what);
    sim::Reset();
    std::string cab = good;
    c.prepare(cab);
    if (!cab.empty()) PutCabinet(cab);
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

TEST_F(CabinetTest, DecoderReportsStoredFieldsInOrder) {
  std::string cab = cabtest::MakeCabinet({{"b.txt", "bee"}, {"a\\c.bin", PatternData(40000)}});
  cabtest::SetStoredAttributes(cab, 1, 0x61);
  cabtest::SetStoredDateTime(cab, 1, 0x1234, 0x5678);
  PutCabinet(cab);

  cabtest::RecordingSink sink;
  ASSERT_TRUE(platform::DecodeCabinet(kCab, sink));
  ASSERT_EQ(sink.files.size(), 2u);
  EXPECT_EQ(sink.ends, 2);
  EXPECT_EQ(sink.files[0].name, "b.txt");
  EXPECT_EQ(sink.files[0].size, 3u);
  EXPECT_EQ(sink.files[0].dosDate, cabtest::kStoredDosDate);
  EXPECT_EQ(sink.files[0].dosTime, cabtest::kStoredDosTime);
  EXPECT_EQ(sink.files[0].attributes, 0x20);
  EXPECT_EQ(sink.contents[0], "bee");
  EXPECT_EQ(sink.files[1].name, "a\\c.bin");
  EXPECT_EQ(sink.files[1].size, 40000u);
  EXPECT_EQ(sink.files[1].dosDate, 0x1234);
  EXPECT_EQ(sink.files[1].dosTime, 0x5678);
  EXPECT_EQ(sink.files[1].attributes, 0x61);
  EXPECT_EQ(sink.contents[1], PatternData(40000));
}

// Whichever step the sink refuses, for the second file, the decoding stops there and fails.
TEST_F(CabinetTest, ASinkRefusalStopsTheDecoding) {
  PutCabinet(cabtest::MakeCabinet({{"a.txt", "a"}, {"b.txt", PatternData(40000)}, {"c.txt", "c"}}));
  using Step = cabtest::RecordingSink::Step;
  const struct {
    Step step;
    int ends;
  } cases[] = {{Step::Begin, 1}, {Step::Write, 1}, {Step::End, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.step));
    cabtest::RecordingSink sink;
    sink.refuse = c.step;
    sink.refuseAt = 1;
    EXPECT_FALSE(platform::DecodeCabinet(kCab, sink));
    EXPECT_EQ(sink.files.size(), 2u);
    EXPECT_EQ(sink.ends, c.ends);
  }
}

}  // namespace
