// Locating the package, including a setup that was signed after the package was appended.
#include <gtest/gtest.h>

#include "package/locator.h"
#include "platform/sim/sim.h"
#include "package_fixture.h"

namespace {

void Put32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = char((v >> (8 * i)) & 255);
}

// The smallest header that carries a security directory: DOS header, "PE\0\0", file header,
// optional header of the given magic with 16 data directories.
std::string PeStub(uint16_t magic, size_t size) {
  std::string stub(size, '\0');
  stub[0] = 'M', stub[1] = 'Z';
  Put32(stub, 0x3C, 0x80);
  Put32(stub, 0x80, 0x00004550);
  stub[0x80 + 24] = char(magic & 255), stub[0x80 + 25] = char(magic >> 8);
  Put32(stub, 0x80 + 24 + (magic == 0x10b ? 92 : 108), 16);
  return stub;
}

// Appends a certificate table, aligned to 8 bytes, and points the security directory at it.
std::string Signed(std::string file, uint16_t magic, size_t tableSize = 64) {
  file.append((8 - file.size() % 8) % 8, '\0');
  size_t directory = 0x80 + 24 + (magic == 0x10b ? 96 : 112) + 4 * 8;
  Put32(file, directory, uint32_t(file.size()));
  Put32(file, directory + 4, uint32_t(tableSize));
  return file + std::string(tableSize, 'S');
}

struct Located {
  bool found;
  PackageLocation location;
};

Located Locate(const std::string& contents) {
  sim::WriteFile("C:\\setup.exe", contents);
  platform::File file;
  EXPECT_TRUE(file.Open("C:\\setup.exe", platform::File::Mode::Read));
  Located result{};
  result.found = LocatePackage(file, result.location);
  return result;
}

class LocatorTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }
};

TEST_F(LocatorTest, ASignedSetupIsFoundBeforeItsCertificateTable) {
  const std::string cabinet(777, 'c');
  for (uint16_t magic : {uint16_t(0x10b), uint16_t(0x20b)}) {
    for (size_t stubSize : {size_t(4096), size_t(4099)}) {  // with and without padding before the table
      std::string stub = PeStub(magic, stubSize);
      std::string package = stub + fixture::Field(cabinet.size()) + cabinet + fixture::Field(stubSize);
      Located located = Locate(Signed(package, magic));
      EXPECT_TRUE(located.found) << magic << " " << stubSize;
      EXPECT_EQ(located.location.offset, int32_t(stubSize));
      EXPECT_EQ(located.location.configLength, 777);
    }
  }
}

TEST_F(LocatorTest, ACertificateTableThatDoesNotEndTheFileIsNotFollowed) {
  std::string stub = PeStub(0x10b, 4096);
  std::string package = stub + fixture::Field(5) + "ccccc" + fixture::Field(4096);
  std::string file = Signed(package, 0x10b) + "tail after the table";
  EXPECT_FALSE(Locate(file).found);
}

TEST_F(LocatorTest, TheFixedOffsetWinsOverTheTrailer) {
  std::string stub = PeStub(0x10b, kFixedPackageOffset);
  std::string file = stub + fixture::Field(3) + "abc" + fixture::Field(12);  // the trailer lies
  Located located = Locate(file);
  EXPECT_TRUE(located.found);
  EXPECT_EQ(located.location.offset, kFixedPackageOffset);
  EXPECT_EQ(located.location.configLength, 3);
}

TEST_F(LocatorTest, FieldsAreSignedThirtyTwoBitNumbers) {
  struct Case {
    const char* field;
    bool found;
  } cases[] = {
      {"0000000003", true},  {"$000000003", true},  {"2147483648", false},
      {"000000003 ", false}, {"0x00000003", true},  {"-000000003", false},
  };
  for (const Case& c : cases) {
    std::string file = std::string(100, 'x') + c.field + "abc" + fixture::Field(100);
    EXPECT_EQ(Locate(file).found, c.found) << c.field;
  }
}

}  // namespace
