// The MSZIP cabinet writer, checked by independent readers: libmspack in the process and
// cabextract, which both verify the block checksums.
#include <gtest/gtest.h>

#include "mkpackage/cab_writer.h"
#include "test_util.h"

using testutil::TempDir;

namespace {

uint32_t Get32(const std::string& s, size_t at) {
  auto b = [&](size_t i) { return uint32_t(uint8_t(s[at + i])); };
  return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}
uint16_t Get16(const std::string& s, size_t at) { return uint16_t(uint8_t(s[at]) | uint8_t(s[at + 1]) << 8); }

struct Input {
  std::string name;
  std::string data;
  uint16_t attributes;
};

std::string MakeCabinet(const std::vector<Input>& inputs, uint16_t dosDate, uint16_t dosTime) {
  std::string out;
  cab::StringSink sink(out);
  cab::Writer writer(sink, 9);
  std::vector<cab::StoredFile> files;
  for (const Input& in : inputs) files.push_back({in.name, uint32_t(in.data.size()), dosDate, dosTime, in.attributes});
  EXPECT_TRUE(writer.Begin(files)) << writer.Error();
  // Fed in uneven pieces, so that blocks and calls do not line up.
  for (const Input& in : inputs)
    for (size_t pos = 0; pos < in.data.size(); pos += 10007)
      EXPECT_TRUE(writer.Write(in.data.data() + pos, std::min<size_t>(10007, in.data.size() - pos)));
  EXPECT_TRUE(writer.Finish()) << writer.Error();
  EXPECT_EQ(writer.Length(), out.size());
  return out;
}

// Repeats of a random stretch 25,000 bytes apart, across block boundaries: the matches reach into the
// block before, which only a reader that keeps its window from block to block decodes.
std::string LongRangeRepeats(size_t size) {
  const std::string piece = testutil::RandomData(20000, 7);
  std::string data;
  while (data.size() < size) data += piece + testutil::TextData(5000, uint32_t(data.size()));
  data.resize(size);
  return data;
}

TEST(CabWriterTest, ChecksumMatchesAnIndependentWriter) {
  // The one block of gcab's cabinet of "hello": its packed bytes and stored checksum.
  const std::string packed("CK\xcb\x48\xcd\xc9\xc9\x07\x00", 9);
  const std::string sizes("\x09\x00\x05\x00", 4);
  EXPECT_EQ(cab::Checksum(sizes.data(), 4, cab::Checksum(packed.data(), packed.size(), 0)), 0x4f078287u);
}

TEST(CabWriterTest, DosDateTimeInLocalTime) {
  struct tm local {};
  local.tm_year = 2009 - 1900, local.tm_mon = 6, local.tm_mday = 14;
  local.tm_hour = 17, local.tm_min = 5, local.tm_sec = 41, local.tm_isdst = -1;
  uint16_t date, time;
  cab::ToDosDateTime(mktime(&local), date, time);
  EXPECT_EQ(date, (29 << 9) | (7 << 5) | 14);
  EXPECT_EQ(time, (17 << 11) | (5 << 5) | 20);  // 41 seconds stored as 40
  cab::ToDosDateTime(0, date, time);          // 1970: before the DOS epoch
  EXPECT_EQ(date, (0 << 9) | (1 << 5) | 1);
  EXPECT_EQ(time, 0);
}

struct CabCase {
  const char* what;
  std::vector<Input> files;
};

class CabWriterRoundTrip : public ::testing::TestWithParam<CabCase> {};

TEST_P(CabWriterRoundTrip, ReadersGetTheFilesBack) {
  const CabCase& c = GetParam();
  TempDir dir;
  const uint16_t date = (29 << 9) | (7 << 5) | 14, time = (17 << 11) | (5 << 5) | 20;
  const std::string cabinet = MakeCabinet(c.files, date, time);
  const std::string path = dir / "test.cab";
  testutil::WriteFile(path, cabinet);

  std::string problem;
  std::vector<testutil::CabFile> read = testutil::ReadWithMspack(path, dir.path(), problem);
  ASSERT_EQ(problem, "");
  ASSERT_EQ(read.size(), c.files.size());
  std::map<std::string, std::string> expected;
  uint64_t total = 0;
  for (size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].name, c.files[i].name);
    EXPECT_TRUE(read[i].data == c.files[i].data) << c.files[i].name;
    EXPECT_EQ(read[i].dosDate, date);
    EXPECT_EQ(read[i].dosTime, time);
    EXPECT_EQ(read[i].attributes, c.files[i].attributes);
    expected[c.files[i].name] = c.files[i].data;
    total += c.files[i].data.size();
  }
  EXPECT_EQ(testutil::CheckWithCabextract(path, expected, dir.path()), "");

  // The layout: one MSZIP folder, blocks of 32,768 bytes but the last, each at most a stored
  // block's length, and nothing after the last block.
  ASSERT_EQ(Get32(cabinet, 8), cabinet.size());
  EXPECT_EQ(Get16(cabinet, 26), 1);        // folders
  EXPECT_EQ(Get16(cabinet, 36 + 6), 1);    // MSZIP
  const uint16_t blocks = Get16(cabinet, 36 + 4);
  EXPECT_EQ(blocks, (total + 32767) / 32768);
  size_t pos = Get32(cabinet, 36);
  for (uint16_t b = 0; b < blocks; ++b) {
    const uint16_t packed = Get16(cabinet, pos + 4), unpacked = Get16(cabinet, pos + 6);
    EXPECT_EQ(unpacked, b + 1 < blocks ? 32768 : (total - 1) % 32768 + 1);
    EXPECT_LE(packed, 2 + 5 + unpacked);
    EXPECT_EQ(cabinet.compare(pos + 8, 2, "CK"), 0);
    pos += 8 + packed;
  }
  EXPECT_EQ(pos, cabinet.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CabWriterRoundTrip,
    ::testing::Values(
        CabCase{"empty", {{"empty.txt", "", 0x20}}},
        CabCase{"small", {{"readme.txt", "Read me first.\r\n", 0x21}}},
        CabCase{"one_full_block", {{"block.bin", testutil::TextData(32768, 1), 0x20}}},
        CabCase{"block_and_one_byte", {{"block1.bin", testutil::TextData(32769, 2), 0x20}}},
        CabCase{"long_range_matches", {{"repeats.bin", LongRangeRepeats(300000), 0x20}}},
        CabCase{"random", {{"random.bin", testutil::RandomData(100000, 3), 0x20}}},
        CabCase{"several_files",
                {{"setup.ini", testutil::TextData(3000, 4), 0x20},
                 {"empty.rtf", "", 0x20},
                 {"English.lng", testutil::TextData(40000, 5), 0x20},
                 {"zxwizard.bmp", testutil::RandomData(50001, 6), 0x21}}}),
    [](const ::testing::TestParamInfo<CabCase>& info) { return std::string(info.param.what); });

TEST(CabWriterTest, RandomDataStaysNearItsSize) {
  const std::string data = testutil::RandomData(200000, 9);
  const std::string cabinet = MakeCabinet({{"random.bin", data, 0x20}}, 0x21, 0);
  // Header, one entry and 7 blocks of 8 + 7 bytes of framing each.
  EXPECT_LE(cabinet.size(), data.size() + 36 + 8 + 16 + 11 + 7 * 15);
}

TEST(CabWriterTest, WrongAmountOfDataFails) {
  std::string out;
  cab::StringSink sink(out);
  cab::Writer shortWriter(sink, 6);
  ASSERT_TRUE(shortWriter.Begin({{"a.txt", 10, 0x21, 0, 0x20}}));
  ASSERT_TRUE(shortWriter.Write("12345", 5));
  EXPECT_FALSE(shortWriter.Finish());
  cab::Writer longWriter(sink, 6);
  ASSERT_TRUE(longWriter.Begin({{"a.txt", 3, 0x21, 0, 0x20}}));
  EXPECT_FALSE(longWriter.Write("12345", 5));
  cab::Writer noName(sink, 6);
  EXPECT_FALSE(noName.Begin({{"", 3, 0x21, 0, 0x20}}));
}

}  // namespace
