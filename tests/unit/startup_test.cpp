// Start-up against the simulated Windows: finding the package, the work folder, the
// configuration, the decisions start-up makes, and every end on a damaged package.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "app/shutdown.h"
#include "app/startup.h"
#include "form/form1.h"
#include "install/run_state.h"
#include "package/locator.h"
#include "package/workdir.h"
#include "platform/files.h"
#include "platform/sim/sim.h"
#include "script/variables.h"
#include "wizard/page_flow.h"
#include "package_fixture.h"
#include "process_run.h"

using fixture::Placement;

namespace {

using fixture::kNotEnded;

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    ResetSetupState();
  }

  void Install(const std::string& package) { sim::WriteFile("C:\\setup.exe", package); }

  void InstallValid(const std::string& setupIni, Placement placement = Placement::FixedOffset) {
    Install(fixture::MakePackage(fixture::MakeCabinet(fixture::ValidConfiguration(setupIni)), placement));
  }

  static int Run(const std::function<void()>& step) { return fixture::RunUntilEnd(step); }

  static std::vector<std::string> WorkFolders() {
    std::vector<std::string> names;
    for (const auto& entry : platform::ListFolder("C:\\Temp\\ZXTMP*")) names.push_back(entry.name);
    return names;
  }

  static void ExpectCorruptedEnd(int exitCode) {
    EXPECT_EQ(exitCode, 1);
    const auto& boxes = sim::Machine().messageBoxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].request.text, "The setup file is corrupted.");
    EXPECT_EQ(boxes[0].request.caption, "Error");
    EXPECT_EQ(boxes[0].request.icon, platform::Icon::Error);
    EXPECT_EQ(boxes[0].request.buttons, platform::Buttons::Ok);
    EXPECT_EQ(boxes[0].request.owner, platform::Owner::None);
    EXPECT_TRUE(WorkFolders().empty());
  }
};

TEST_F(StartupTest, FindsThePackageAtTheFixedOffsetAndThroughTheTrailer) {
  for (Placement placement : {Placement::FixedOffset, Placement::Trailer}) {
    SetUp();
    std::string cabinet = fixture::MakeCabinet(fixture::ValidConfiguration());
    std::string package = fixture::MakePackage(cabinet, placement);
    Install(package);
    ASSERT_EQ(Run(FormCreate), kNotEnded);
    int32_t offset = placement == Placement::FixedOffset ? kFixedPackageOffset : 4096;
    EXPECT_EQ(PackageOffset, offset + 10 + int32_t(cabinet.size()));
    EXPECT_TRUE(std::regex_match(WorkDir, std::regex(R"(C:\\Temp\\ZXTMP[0-9]{3})"))) << WorkDir;
    EXPECT_EQ(sim::ReadFile(WorkDir + "\\setup.cab"), cabinet);
    EXPECT_TRUE(platform::FileExists(WorkDir + "\\setup.ini"));
    EXPECT_EQ(Form1.Image1.Picture.width, 500);
    EXPECT_EQ(Form1.Image2.Picture.height, 55);
    EXPECT_TRUE(sim::Machine().messageBoxes.empty());
  }
}

TEST_F(StartupTest, ACleanEndRemovesTheWorkFolder) {
  InstallValid("[Setup]\nSilentInstall=1\n");
  EXPECT_EQ(Run(RunSetup), 0);
  EXPECT_TRUE(WorkFolders().empty());
  EXPECT_TRUE(sim::Machine().messageBoxes.empty());
}

TEST_F(StartupTest, AWorkFolderHoldingASubfolderIsLeftWithIt) {
  InstallValid("[Setup]\n");
  ASSERT_EQ(Run(FormCreate), kNotEnded);
  ASSERT_TRUE(platform::CreateFolder(WorkDir + "\\sub"));
  std::string workDir = WorkDir;
  EXPECT_EQ(Run([] { EndSetup(ExitCode::Completed); }), 0);
  EXPECT_TRUE(platform::FolderExists(workDir + "\\sub"));
  EXPECT_FALSE(platform::FileExists(workDir + "\\setup.ini"));
}

TEST_F(StartupTest, ASmallStubIsFoundThroughItsTrailer) {
  // Shorter than the fixed offset plus ten bytes: the trailer is consulted, not refused.
  std::string cabinet = fixture::MakeCabinet(fixture::ValidConfiguration());
  Install(fixture::MakePackage(cabinet, Placement::Trailer, 512));
  ASSERT_EQ(Run(FormCreate), kNotEnded);
  EXPECT_EQ(PackageOffset, 512 + 10 + int32_t(cabinet.size()));
}

TEST_F(StartupTest, AConfigurationCabinetOfWholeBlocksIsCopiedExactly) {
  // Grow an incompressible file until the cabinet is an exact multiple of 2,048 bytes.
  std::string noise;
  uint32_t x = 1;
  auto cabinetWith = [&](size_t size) {
    while (noise.size() < size) noise += char((x = x * 1103515245 + 12345) >> 24);
    fixture::Files files = fixture::ValidConfiguration();
    files.push_back({"noise.bin", noise.substr(0, size)});
    return fixture::MakeCabinet(files);
  };
  size_t size = 3000;
  std::string cabinet = cabinetWith(size);
  for (int attempt = 0; attempt < 8 && cabinet.size() % 2048 != 0; ++attempt)
    cabinet = cabinetWith(size += 2048 - cabinet.size() % 2048);
  ASSERT_EQ(cabinet.size() % 2048, 0u);
  // What follows the cabinet must not end up in setup.cab.
  Install(fixture::MakePackage(cabinet, Placement::FixedOffset, 0, std::string(5000, 'N')));
  ASSERT_EQ(Run(FormCreate), kNotEnded);
  EXPECT_EQ(sim::ReadFile(WorkDir + "\\setup.cab"), cabinet);
}

TEST_F(StartupTest, ATakenWorkFolderNameIsNeverUsed) {
  InstallValid("[Setup]\n");
  ASSERT_EQ(Run(FormCreate), kNotEnded);
  std::string first = WorkDir;
  ASSERT_EQ(Run(RunSetup), 0);

  // The same draw again, with the first name taken by somebody else's folder.
  SetUp();
  sim::WriteFile(first + "\\theirs.txt", "keep");
  InstallValid("[Setup]\nSilentInstall=1\n");
  EXPECT_EQ(Run(RunSetup), 0);
  EXPECT_EQ(sim::ReadFile(first + "\\theirs.txt"), "keep");
  EXPECT_EQ(WorkFolders().size(), 1u);
}

TEST_F(StartupTest, SilentInstallationIsAskedForByTheScriptOrAnExactFirstSwitch) {
  struct Case {
    const char* setup;
    std::vector<std::string> args;
    bool silent;
  } cases[] = {
      {"", {"/s"}, true},
      {"", {"/S"}, false},
      {"", {"x", "/s"}, false},
      {"", {}, false},
      {"SilentInstall=1", {"/S"}, true},
      {"SilentInstall=yes", {}, false},
      {"SilentInstall=2", {}, true},
  };
  for (const Case& c : cases) {
    SetUp();
    InstallValid(std::string("[Setup]\n") + c.setup + "\n");
    sim::Machine().args = c.args;
    int end = Run(FormCreate);
    EXPECT_EQ(end, c.silent ? 0 : kNotEnded) << c.setup << " " << (c.args.empty() ? "" : c.args[0]);
    if (c.silent) {
      EXPECT_TRUE(WorkFolders().empty());
    }
  }
}

TEST_F(StartupTest, FillsTheWizardStateFromTheScript) {
  InstallValid(
      "[Setup]\nDialogWelcome=1\nDialogReadme=1\nDialogFinish=1\nUninstall=1\nInstallationPath=C:\\Demo\n"
      "[Shortcuts]\n0=<Desktop>\\Demo*?x\n1=<quicklaunch>\\Demo*?x\n");
  ASSERT_EQ(Run(FormCreate), kNotEnded);
  bool expected[10] = {false, false, true, false, true, false, false, false, false, true};
  for (int entry = 1; entry <= 9; ++entry) EXPECT_EQ(PageEnabled[entry], expected[entry]) << entry;
  EXPECT_EQ(Form1.Edit1.Text, "C:\\Demo");
  EXPECT_TRUE(UninstallEnabled);
  EXPECT_TRUE(Form1.CheckBox3.Visible && Form1.CheckBox3.Checked);
  EXPECT_FALSE(Form1.CheckBox4.Visible || Form1.CheckBox4.Checked);  // the keyword is matched with case
  EXPECT_TRUE(FirstActivation);
}

TEST_F(StartupTest, VariablesAndTheDestinationFolderAreExpandedInOrder) {
  sim::SetRegistryString(platform::RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                         "ProgramFilesDir", "C:\\Program Files\\");
  InstallValid(
      "[Setup]\nAppName=Demo <AppVersion>\\\nAppVersion=2.5\nInstallationPath=<ProgramFiles>\\%VENDOR%\\<AppName>\n"
      "[Variables]\n1=%VENDOR%*?HKEY_CURRENT_USER*?Software\\None*?Vendor*?STRING*?Acme\n"
      "0=%EARLY%*?HKEY_CURRENT_USER*?x*?y*?STRING*?[<InstallDir>|%vendor%]\n");
  ASSERT_EQ(Run(FormCreate), kNotEnded);
  EXPECT_EQ(AppTitle, "Demo <AppVersion> 2.5");  // as written, less a trailing backslash
  // Variables are defined in file order, before the destination folder is set.
  EXPECT_EQ(UserVariables, (std::vector<std::string>{"%VENDOR%?Acme", "%EARLY%?[|Acme]"}));
  // <AppVersion> comes after <AppName> in the table, so it is expanded inside its value.
  EXPECT_EQ(Form1.Edit1.Text, "C:\\Program Files\\Acme\\Demo 2.5");
}

TEST_F(StartupTest, AMissingScriptReadsAsDefaults) {
  fixture::Files files = fixture::ValidConfiguration();
  files.erase(files.begin());  // setup.ini
  Install(fixture::MakePackage(fixture::MakeCabinet(files), Placement::FixedOffset));
  ASSERT_EQ(Run(FormCreate), kNotEnded);
  for (int entry = 1; entry <= 9; ++entry) EXPECT_FALSE(PageEnabled[entry]);
  EXPECT_EQ(AppTitle, " ");
  EXPECT_TRUE(sim::Machine().messageBoxes.empty());
}

TEST_F(StartupTest, OnlyTheFirstActivationShowsAPage) {
  InstallValid("[Setup]\nDialogLicense=1\n");
  ASSERT_EQ(Run(FormCreate), kNotEnded);
  FormActivate();
  EXPECT_EQ(CurrentPage, 3);
  CurrentPage = 5;
  FormActivate();
  EXPECT_EQ(CurrentPage, 5);
}

// Every damaged package ends with the one message, exit code 1 and no work folder.
TEST_F(StartupTest, DamagedPackagesEndAsCorrupted) {
  const std::string cabinet = fixture::MakeCabinet(fixture::ValidConfiguration());
  const std::string valid = fixture::MakePackage(cabinet, Placement::Trailer);
  const size_t end = valid.size();
  auto replaced = [&](size_t at, const std::string& bytes) {
    std::string p = valid;
    return p.replace(at, bytes.size(), bytes);
  };
  auto withConfiguration = [&](const fixture::Files& files) {
    return fixture::MakePackage(fixture::MakeCabinet(files), Placement::Trailer);
  };
  fixture::Files noHeader = fixture::ValidConfiguration(), badPicture = fixture::ValidConfiguration(),
                 noWizard = fixture::ValidConfiguration();
  noHeader.pop_back();
  noWizard.erase(noWizard.begin() + 2);
  badPicture[2].second = "not a bitmap at all";
  std::string corruptBlock = cabinet;
  corruptBlock[corruptBlock.size() - 100] ^= 0x55;

  struct Case {
    const char* name;
    std::string package;
  } cases[] = {
      {"short file without a trailer", std::string("MZ") + std::string(300, 'x')},
      {"empty file", ""},
      {"size field not a number", replaced(4096, "00000abcde")},
      {"size field negative", replaced(4096, "-000000001")},
      {"trailer not a number", replaced(end - 10, "abcdefghij")},
      {"trailer negative", replaced(end - 10, "-000004096")},
      {"trailer beyond the file", replaced(end - 10, fixture::Field(end + 100))},
      {"cabinet longer than the file", replaced(4096, fixture::Field(end))},
      {"not a cabinet", fixture::MakePackage(std::string(600, 'c'), Placement::Trailer)},
      {"truncated cabinet", fixture::MakePackage(cabinet.substr(0, cabinet.size() / 2), Placement::Trailer)},
      {"corrupt data block", fixture::MakePackage(corruptBlock, Placement::Trailer)},
      {"header picture missing", withConfiguration(noHeader)},
      {"wizard picture missing", withConfiguration(noWizard)},
      {"picture not a bitmap", withConfiguration(badPicture)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Install(c.package);
    ExpectCorruptedEnd(Run(RunSetup));
  }
}

TEST_F(StartupTest, AWorkFolderThatCannotBeCreatedEndsAsCorrupted) {
  InstallValid("[Setup]\n");
  sim::Machine().tempFolder = "C:\\NoSuchFolder\\";
  ExpectCorruptedEnd(Run(RunSetup));
}

TEST_F(StartupTest, AMissingProgramFileEndsAsCorrupted) {
  sim::Machine().programPath = "C:\\elsewhere.exe";
  ExpectCorruptedEnd(Run(RunSetup));
}

}  // namespace
