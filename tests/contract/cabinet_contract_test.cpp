// The cabinet extractor on both platforms, with the same cabinet made by gcab: the FDI of the
// system's cabinet.dll on Windows and libmspack in the simulation must give the same files,
// times and attributes, and fail alike.
#include <gtest/gtest.h>

#include "../support/gcab_cabinet.h"
#include "contract.h"
#include "package/cabinet.h"
#include "platform/cabinet.h"
#include "platform/files.h"

using namespace platform;
using cabtest::GcabCabinet;
using cabtest::kReadme;

namespace {

class CabinetContract : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = ContractFolder();
    cab_ = root_ + "\\file.cab";
    target_ = root_ + "\\Apps\\Demo";
  }

  void ExpectStoredTime(const std::string& path, uint16_t date, uint16_t time) {
    uint16_t actualDate = 0, actualTime = 0;
    ASSERT_TRUE(ReadFileDosTime(path, actualDate, actualTime)) << path;
    EXPECT_EQ(actualDate, date) << path;
    EXPECT_EQ(actualTime, time) << path;
  }

  std::string root_, cab_, target_;
};

TEST_F(CabinetContract, FilesLandWithContentTimeAndAttributes) {
  std::string cab = GcabCabinet();
  cabtest::SetStoredAttributes(cab, 0, 0x21);  // read-only, archive
  cabtest::SetStoredAttributes(cab, 1, 0x46);  // hidden, system, and the execute bit, which is not kept
  cabtest::SetStoredAttributes(cab, 2, 0x00);
  WriteText(cab_, cab);

  ASSERT_TRUE(ExtractCabinet(cab_, target_));

  const std::string readme = target_ + "\\readme.txt", data = target_ + "\\sub\\deep\\data.bin",
                    empty = target_ + "\\empty.txt";
  EXPECT_TRUE(FolderExists(target_ + "\\sub\\deep"));
  EXPECT_EQ(ReadText(readme), kReadme);
  EXPECT_EQ(ReadText(data), cabtest::PatternData(70000));
  EXPECT_EQ(ReadText(empty), "");
  ExpectStoredTime(readme, cabtest::kStoredDosDate, cabtest::kStoredDosTime);
  ExpectStoredTime(data, cabtest::kDataDosDate, cabtest::kDataDosTime);
  ExpectStoredTime(empty, cabtest::kStoredDosDate, cabtest::kStoredDosTime);
  EXPECT_EQ(ReadAttributes(readme), kAttrReadOnly | kAttrArchive);
  EXPECT_EQ(ReadAttributes(data), ReportedAttributes(kAttrHidden | kAttrSystem));
  EXPECT_EQ(ReadAttributes(empty), ReportedAttributes(0));
}

TEST_F(CabinetContract, ExistingFilesAreReplacedWhole) {
  WriteText(cab_, GcabCabinet());
  ASSERT_TRUE(CreateFolder(root_ + "\\Apps") && CreateFolder(target_));
  const std::string readme = target_ + "\\readme.txt", empty = target_ + "\\empty.txt";
  WriteText(readme, "an older readme, and a much longer one than the new readme");
  WriteText(empty, "was not empty");
  ASSERT_TRUE(WriteAttributes(readme, kAttrReadOnly));
  ASSERT_TRUE(WriteAttributes(empty, kAttrHidden | kAttrSystem));

  ASSERT_TRUE(ExtractCabinet(cab_, target_ + "\\"));  // a trailing backslash is fine too

  EXPECT_EQ(ReadText(readme), kReadme);
  EXPECT_EQ(ReadText(empty), "");
  EXPECT_EQ(ReadAttributes(readme), kAttrArchive);  // as stored
  EXPECT_EQ(ReadAttributes(empty), kAttrArchive);
  ExpectStoredTime(readme, cabtest::kStoredDosDate, cabtest::kStoredDosTime);
}

// Every damaged cabinet is the same plain false, and nothing lands outside the target.
TEST_F(CabinetContract, EveryDamageIsFalse) {
  struct Damage {
    const char* what;
    void (*apply)(std::string& cab);
  } damages[] = {
      {"not a cabinet", [](std::string& cab) { cab = "[Setup]\r\nAppName=Demo\r\n" + std::string(200, ' '); }},
      {"empty file", [](std::string& cab) { cab.clear(); }},
      {"cut inside the header", [](std::string& cab) { cab.resize(30); }},
      {"cut inside the file records",
       [](std::string& cab) { cab.resize(cabtest::ReadLayout(cab).files[1].record + 5); }},
      {"cut inside the first data block",
       [](std::string& cab) { cab.resize(cabtest::ReadLayout(cab).blocks[0] + 20); }},
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
      {"a stored name that climbs out", [](std::string& cab) { cabtest::SetStoredName(cab, 2, "..\\..\\evil.txt"); }},
      {"an absolute stored name", [](std::string& cab) { cabtest::SetStoredName(cab, 2, "\\evil.txt"); }},
  };
  ASSERT_EQ(cabtest::ReadLayout(GcabCabinet()).blocks.size(), 3u);
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    std::string cab = GcabCabinet();
    damage.apply(cab);
    WriteText(cab_, cab);
    EXPECT_FALSE(ExtractCabinet(cab_, target_));
    EXPECT_FALSE(FileExists(root_ + "\\evil.txt"));
  }
  SCOPED_TRACE("missing cabinet file");
  EXPECT_FALSE(ExtractCabinet(root_ + "\\missing.cab", target_));
}

TEST_F(CabinetContract, DecoderReportsStoredFieldsInOrder) {
  std::string cab = GcabCabinet();
  cabtest::SetStoredAttributes(cab, 1, 0x61);
  WriteText(cab_, cab);

  cabtest::RecordingSink sink;
  ASSERT_TRUE(DecodeCabinet(cab_, sink));
  ASSERT_EQ(sink.files.size(), 3u);
  EXPECT_EQ(sink.ends, 3);
  EXPECT_EQ(sink.files[0].name, "readme.txt");
  EXPECT_EQ(sink.files[0].size, sizeof kReadme - 1);
  EXPECT_EQ(sink.files[0].dosDate, cabtest::kStoredDosDate);
  EXPECT_EQ(sink.files[0].dosTime, cabtest::kStoredDosTime);
  EXPECT_EQ(sink.files[0].attributes, 0x20);
  EXPECT_EQ(sink.contents[0], kReadme);
  EXPECT_EQ(sink.files[1].name, "sub\\deep\\data.bin");
  EXPECT_EQ(sink.files[1].size, 70000u);
  EXPECT_EQ(sink.files[1].dosDate, cabtest::kDataDosDate);
  EXPECT_EQ(sink.files[1].dosTime, cabtest::kDataDosTime);
  EXPECT_EQ(sink.files[1].attributes, 0x61);
  EXPECT_EQ(sink.contents[1], cabtest::PatternData(70000));
  EXPECT_EQ(sink.files[2].name, "empty.txt");
  EXPECT_EQ(sink.contents[2], "");
}

// Whichever step the sink refuses, for the second file, the decoding stops there and fails.
TEST_F(CabinetContract, ASinkRefusalStopsTheDecoding) {
  WriteText(cab_, GcabCabinet());
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
    EXPECT_FALSE(DecodeCabinet(cab_, sink));
    EXPECT_EQ(sink.files.size(), 2u);
    EXPECT_EQ(sink.ends, c.ends);
  }
}

// Many small cabinets in a row, as an installation extracts them: each call stands alone.
TEST_F(CabinetContract, RepeatedCallsStayIndependent) {
  std::string bad = GcabCabinet();
  cabtest::CorruptDataBlock(bad, 0);
  for (int i = 0; i < 50; ++i) {
    WriteText(cab_, i % 5 == 2 ? bad : GcabCabinet());
    ASSERT_EQ(ExtractCabinet(cab_, target_), i % 5 != 2) << i;
  }
  EXPECT_EQ(ReadText(target_ + "\\readme.txt"), kReadme);
}

}  // namespace
