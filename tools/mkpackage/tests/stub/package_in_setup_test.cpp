// A package the builder makes from a project with no language file and no pictures, read by
// the setup's own code on the simulated Windows: its locator finds the package, its extraction
// unpacks the configuration cabinet, and its picture loader takes both built-in pictures.
#include <gtest/gtest.h>

#include <set>

#include "form/bitmap.h"
#include "package/cabinet.h"
#include "package/locator.h"
#include "platform/files.h"
#include "platform/sim/sim.h"
#include "test_util.h"

namespace {

TEST(PackageInSetupTest, BuiltInLanguagesAndPicturesPassTheSetupsOwnReaders) {
  testutil::TempDir dir;
  testutil::WriteFile(dir / "stub.exe", testutil::FakeStub(4096));
  testutil::WriteFile(dir / "project/setup.ini", "[Setup]\r\nAppName=Defaults\r\n");
  const testutil::RunResult run = testutil::Run(std::string(MKPACKAGE_PATH) + " " + testutil::ShellQuote(dir / "project") +
                                                " -o " + testutil::ShellQuote(dir / "setup.exe") + " --stub " +
                                                testutil::ShellQuote(dir / "stub.exe"));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string package = testutil::ReadFile(dir / "setup.exe");

  sim::Reset();
  sim::WriteFile("C:\\setup.exe", package);
  platform::File stub;
  ASSERT_TRUE(stub.Open("C:\\setup.exe", platform::File::Mode::Read));
  PackageLocation location;
  ASSERT_TRUE(LocatePackage(stub, location));
  sim::WriteFile("C:\\Work\\setup.cab",
                 package.substr(size_t(location.offset) + kSizeFieldLength, size_t(location.configLength)));
  ASSERT_TRUE(ExtractCabinet("C:\\Work\\setup.cab", "C:\\Work"));

  EXPECT_EQ(platform::ListFolder("C:\\Work\\*.lng").size(), 8u);

  const struct {
    const char* path;
    int width, height;
  } pictures[] = {{"C:\\Work\\zxwizard.bmp", 500, 314}, {"C:\\Work\\zxheader.bmp", 498, 55}};
  for (const auto& p : pictures) {
    SCOPED_TRACE(p.path);
    Bitmap picture;
    ASSERT_TRUE(LoadBitmapFile(p.path, picture));
    EXPECT_EQ(picture.width, p.width);
    EXPECT_EQ(picture.height, p.height);  // positive: bottom-up rows
    EXPECT_EQ(picture.bitsPerPixel, 24);
    const size_t stride = size_t(p.width * 3 + 3) / 4 * 4;
    EXPECT_EQ(picture.data.size(), 54 + stride * size_t(p.height));
    // A painted picture, not a blank: a gradient gives many colours.
    std::set<uint32_t> colours;
    for (size_t row = 0; row < size_t(p.height); ++row)
      for (size_t at = 54 + row * stride; at < 54 + row * stride + size_t(p.width) * 3; at += 3)
        colours.insert(uint32_t(uint8_t(picture.data[at])) | uint32_t(uint8_t(picture.data[at + 1])) << 8 |
                       uint32_t(uint8_t(picture.data[at + 2])) << 16);
    EXPECT_GT(colours.size(), 40u);
  }
}

}  // namespace
