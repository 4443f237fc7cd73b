// The installation run against the simulated Windows, entered as a silent installation from
// start-up: the files, the exist modes, the uninstall log, the installed-programs entry, the
// progress bar, and every way the run can fail.
#include <gtest/gtest.h>

#include <functional>

#include "app/startup.h"
#include "form/form1.h"
#include "install/install_files.h"
#include "install/run_state.h"
#include "package/locator.h"
#include "platform/files.h"
#include "platform/sim/sim.h"
#include "package_fixture.h"
#include "process_run.h"

namespace {

using platform::Answer;
using platform::RegistryRoot;

const char kFolder[] = "C:\\Program Files\\Wren";
const char kLog[] = "C:\\Program Files\\Wren\\Uninstall.ini";
const char kEntryKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Wren";

const char kLanguage[] =
    "[Info]\nid=1033\n"
    "[Install]\n2=Installing files...\n3=Creating shortcuts...\n10=Finishing setup...\n"
    "[Messages]\n12=File \"%s\" already exists.\n13=Error creating directory:<#>%s\n"
    "14=Error creating file:<#>%s<#><#>Would you like to continue?\n"
    "15=Error creating registry key:<#>%s<#><#>Access is denied.\n"
    "[Uninstall]\n0=<AppName> <AppVersion> Uninstall\n1=Remove <AppName>?%n%nSure?\n2=Removed.\n3=Visit?\n"
    "4=Close <AppName>.\n5=Restart?\n6=Admin only.\n"
    "[Updater]\n0=Product Details\n1=Name:\n2=Installed Version:\n3=Check Update\n4=Close\n5=Incorrect.\n"
    "6=No connection.\n7=New version: %s\n8=No updates.\n";

struct PackagedFile {
  std::string target;   // as the [Files] entry gives it
  std::string content;  // "" with a blank entry: a key without a file
  std::string mode = "Overwrite";
  std::string remove = "Yes";
};

class InstallRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    ResetSetupState();
    sim::Machine().shellFolders[2] = "C:\\Menu\\Programs";
    platform::CreateFolder("C:\\Program Files");
  }

  // The package: [Setup] lines (SilentInstall and FilesCount added), the files with their
  // cabinets back to back, and any further sections.
  void Package(const std::string& setup, const std::vector<PackagedFile>& files, const std::string& sections = "",
               const std::vector<std::string>& cabinetOverride = {}) {
    std::string ini = "[Setup]\nAppName=Wren\nAppVersion=1.0\nSilentInstall=1\nFilesCount=" +
                      std::to_string(files.size()) + "\n" + setup + "[Files]\n";
    std::string cabinets;
    for (size_t i = 0; i < files.size(); ++i) {
      const PackagedFile& file = files[i];
      if (file.target.empty()) continue;
      std::string cabinet = i < cabinetOverride.size() && !cabinetOverride[i].empty()
                                ? cabinetOverride[i]
                                : fixture::MakeCabinet({{file.target.substr(file.target.rfind('\\') + 1), file.content}});
      ini += std::to_string(i) + "=" + file.target + "?" + std::to_string(cabinet.size()) + "?" + file.mode + "?" +
             file.remove + "\n";
      cabinets += cabinet;
    }
    ini += sections;
    fixture::Files config = fixture::ValidConfiguration(ini);
    config[1].second = kLanguage;
    sim::WriteFile("C:\\setup.exe",
                   fixture::MakePackage(fixture::MakeCabinet(config), fixture::Placement::Trailer, 4096, cabinets));
  }

  static int Run() { return fixture::RunUntilEnd(FormCreate); }

  static std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const auto& box : sim::Machine().messageBoxes) texts.push_back(box.request.text);
    return texts;
  }

  static bool WorkFolderLeft() { return !platform::ListFolder("C:\\Temp\\ZXTMP*").empty(); }
};

TEST_F(InstallRunTest, AFirstInstallationLaysOutFilesLogAndEntry) {
  Package("InstallationPath=  C:\\Program Files\\Wren\\  \nUninstall=1\nShowAddRemove=1\nCompanyName=Wren Co\n"
          "WebSite=https://wren.example\nSupportLink=<WebSite>/help\nFilesSize=1048576\n"
          "MainExecutable=<InstallDir>\\wren.exe\nUpdater=1\nUpdateURL=<WebSite>/update\n",
          {{"<InstallDir>\\wren.exe", "MZ program"},
           {"", ""},
           {"<InstallDir>\\help\\en\\deep\\guide.txt", "guide"},
           {"<InstallDir>\\notes.txt", "kept on uninstall", "Overwrite", "yes"}},
          "[Commands]\n"
          "0=<InstallDir>\\wren.exe*?/first*?Hide*?After Installation*?Yes\n"
          "1=<InstallDir>\\clean.exe*?/all*?Hide*?Before Uninstallation*?Yes\n"
          "2=C:\\check.exe*?*?Other*?Before Installation*?Yes\n");
  std::vector<std::string> seenAtCommands;
  sim::Machine().onProcess = [&](const sim::ProcessRecord& process) {
    // The command runs before the log reaches the installation folder.
    seenAtCommands.push_back(process.commandLine + (platform::FileExists(kLog) ? " (log there)" : ""));
  };
  ASSERT_EQ(Run(), 0);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_FALSE(WorkFolderLeft());
  EXPECT_EQ(sim::ReadFile("C:\\Program Files\\Wren\\wren.exe"), "MZ program");
  EXPECT_EQ(sim::ReadFile("C:\\Program Files\\Wren\\help\\en\\deep\\guide.txt"), "guide");
  EXPECT_EQ(sim::ReadFile("C:\\Program Files\\Wren\\notes.txt"), "kept on uninstall");
  EXPECT_EQ(seenAtCommands, (std::vector<std::string>{"\"C:\\check.exe\" ", "\"C:\\Program Files\\Wren\\wren.exe\" /first"}));
  EXPECT_EQ(Form1.Edit1.Text, kFolder);
  EXPECT_EQ(Form1.ProgressBar1.Position, 100);
  EXPECT_EQ(Form1.Label8.Caption, "Finishing setup...");

  EXPECT_EQ(sim::ReadFile(kLog),
            "[Messages]\r\n0=Wren 1.0 Uninstall\r\n1=Remove Wren?%n%nSure?\r\n2=Removed.\r\n3=Visit?\r\n"
            "4=Close Wren.\r\n5=Restart?\r\n6=Admin only.\r\n"
            "[Updater]\r\n0=Product Details\r\n1=Name:\r\n2=Installed Version:\r\n3=Check Update\r\n4=Close\r\n"
            "5=Incorrect.\r\n6=No connection.\r\n7=New version: %s\r\n8=No updates.\r\n"
            "[General]\r\nAppName=Wren\r\nAppVersion=1.0\r\nAdmin=0\r\n"
            "MainExecutable=C:\\Program Files\\Wren\\wren.exe\r\nInstallDir=C:\\Program Files\\Wren\r\n"
            "ProgramGroupDir=C:\\Menu\\Programs\r\nUninstallURL=\r\nUninstallForce=0\r\nUninstallRestart=0\r\n"
            "UpdateURL=https://wren.example/update\r\n"
            "[Files]\r\n0=C:\\Program Files\\Wren\\Uninstall.ini\r\n1=C:\\Program Files\\Wren\\wren.exe\r\n"
            "2=C:\\Program Files\\Wren\\help\\en\\deep\\guide.txt\r\n"
            "[ExecBeforeUninstall]\r\n0=C:\\Program Files\\Wren\\clean.exe*?/all*?Hide*?Yes\r\n"
            "[Folders]\r\n0=C:\\Program Files\\Wren\r\n1=C:\\Program Files\\Wren\\help\r\n"
            "2=C:\\Program Files\\Wren\\help\\en\r\n3=C:\\Program Files\\Wren\\help\\en\\deep\r\n"
            "[RegistryKeys]\r\n0=HKEY_LOCAL_MACHINE*?" +
                std::string(kEntryKey) + "\r\n");

  auto value = [](const char* name) { return platform::ReadRegistryValue(RegistryRoot::LocalMachine, kEntryKey, name); };
  const std::pair<const char*, const char*> strings[] = {
      {"DisplayName", "Wren 1.0"},
      {"DisplayVersion", "1.0"},
      {"DisplayIcon", "C:\\Program Files\\Wren\\wren.exe"},
      {"InstallLocation", kFolder},
      {"InstallDate", "20261211"},
      {"HelpLink", "https://wren.example/help"},
      {"Publisher", "Wren Co"},
      {"UninstallString", "C:\\Program Files\\Wren\\Uninstall.exe"},
      {"URLInfoAbout", "https://wren.example"},
  };
  for (const auto& expected : strings) {
    EXPECT_EQ(value(expected.first).type, platform::RegistryType::String) << expected.first;
    EXPECT_EQ(value(expected.first).text, expected.second) << expected.first;
  }
  EXPECT_EQ(value("EstimatedSize").type, platform::RegistryType::Dword);
  EXPECT_EQ(value("EstimatedSize").number, 1024u);
}

TEST_F(InstallRunTest, ASecondInstallationExtendsTheLogWithoutRepeatingItems) {
  const std::string setup = "InstallationPath=C:\\Program Files\\Wren\nUninstall=1\nShowAddRemove=1\n";
  Package(setup, {{"<InstallDir>\\a\\one.txt", "1"}});
  ASSERT_EQ(Run(), 0);
  SetUp();
  Package(setup, {{"<InstallDir>\\a\\one.txt", "1 again"}, {"<InstallDir>\\b\\two.txt", "2"}},
          "[Commands]\n0=x.exe*?*?Hide*?After Uninstallation*?No\n");
  ASSERT_EQ(Run(), 0);
  const std::string log = sim::ReadFile(kLog);
  EXPECT_NE(log.find("[Files]\r\n0=C:\\Program Files\\Wren\\Uninstall.ini\r\n1=C:\\Program Files\\Wren\\a\\one.txt\r\n"
                     "2=C:\\Program Files\\Wren\\b\\two.txt\r\n["),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("[Folders]\r\n0=C:\\Program Files\\Wren\r\n1=C:\\Program Files\\Wren\\a\r\n"
                     "2=C:\\Program Files\\Wren\\b\r\n[RegistryKeys]\r\n0=HKEY_LOCAL_MACHINE*?"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("[ExecAfterUninstall]\r\n0=x.exe*?*?Hide*?No\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("1=HKEY_LOCAL_MACHINE"), std::string::npos) << log;
  EXPECT_EQ(sim::ReadFile("C:\\Program Files\\Wren\\a\\one.txt"), "1 again");
}

// Each mode with an existing file; the package offset moves on whether or not the file is
// installed, so the file after it always gets its own cabinet.
TEST_F(InstallRunTest, TheExistModesDecideOverAnExistingFile) {
  const uint16_t built = uint16_t((2025 - 1980) << 9 | 3 << 5 | 4);  // 4 March 2025
  const uint16_t noon = uint16_t(12 << 11), later = uint16_t(12 << 11 | 1);
  struct Case {
    const char* mode;
    const char* buildDate;
    uint16_t existingDate, existingTime;
    std::vector<Answer> answers;
    bool replaced;
  } cases[] = {
      {"Overwrite", "", built, noon, {}, true},
      {"overwrite", "", built, noon, {}, true},  // no mode of its own: installed over the file
      {"Skip", "", built, noon, {}, false},
      {"Ask", "", built, noon, {Answer::Yes}, true},
      {"Ask", "", built, noon, {Answer::No}, false},
      {"Overwrite only if newer", "3/4/2025 12:00:00", built, noon, {}, false},       // the same time
      {"Overwrite only if newer", "3/4/2025 12:00:00", built, later, {}, false},      // newer
      {"Overwrite only if newer", "3/4/2025 12:00:04", built, later, {}, true},       // older
      {"Overwrite only if newer", "2025-03-04", built, noon, {}, true},  // unreadable here
  };
  for (const Case& c : cases) {
    SetUp();
    Package("InstallationPath=C:\\App\nUninstall=1\nBuildDate=" + std::string(c.buildDate) + "\n",
            {{"<InstallDir>\\a.txt", "new", c.mode}, {"<InstallDir>\\b.txt", "next"}});
    sim::WriteFile("C:\\App\\a.txt", "old");
    ASSERT_TRUE(platform::SetFileDosTime("C:\\App\\a.txt", c.existingDate, c.existingTime));
    sim::Machine().answers.assign(c.answers.begin(), c.answers.end());
    ASSERT_EQ(Run(), 0) << c.mode;
    EXPECT_EQ(sim::ReadFile("C:\\App\\a.txt"), c.replaced ? "new" : "old") << c.mode << " " << c.buildDate;
    EXPECT_EQ(sim::ReadFile("C:\\App\\b.txt"), "next") << c.mode;
    const std::string log = sim::ReadFile("C:\\App\\Uninstall.ini");
    EXPECT_EQ(log.find("=C:\\App\\a.txt") != std::string::npos, c.replaced) << c.mode;
    if (std::string(c.mode) == "Ask") {
      ASSERT_EQ(Boxes(), std::vector<std::string>{"File \"C:\\App\\a.txt\" already exists."});
      EXPECT_EQ(sim::Machine().messageBoxes[0].request.buttons, platform::Buttons::YesNo);
      EXPECT_EQ(sim::Machine().messageBoxes[0].request.icon, platform::Icon::Question);
      EXPECT_EQ(sim::Machine().messageBoxes[0].request.caption, "Setup");
    } else {
      EXPECT_TRUE(Boxes().empty()) << c.mode;
    }
  }
}

TEST_F(InstallRunTest, AReadOnlyFileIsReplacedAndRemovalIsRecordedOnlyForYes) {
  Package("InstallationPath=C:\\App\nUninstall=1\n",
          {{"<InstallDir>\\ro.txt", "new"}, {"<InstallDir>\\sub\\no.txt", "n", "Overwrite", "yes"}});
  sim::WriteFile("C:\\App\\ro.txt", "old, and longer than the new one");
  platform::WriteAttributes("C:\\App\\ro.txt", platform::kAttrReadOnly);
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(sim::ReadFile("C:\\App\\ro.txt"), "new");
  const std::string log = sim::ReadFile("C:\\App\\Uninstall.ini");
  EXPECT_EQ(log.find("no.txt"), std::string::npos);
  EXPECT_EQ(log.find("[Folders]"), std::string::npos);  // "sub" was made for a file kept on uninstall
}

TEST_F(InstallRunTest, ProgressFollowsTheBandsOfTheFiles) {
  struct Case {
    int index, count;
    int64_t copied, packedSize;
    int expected;
  } cases[] = {
      {1, 3, 500, 1000, 49},  // 33 + R(500 * 33 / 1001)
      {0, 3, 0, 1000, 0},
      {2, 3, 1000, 1000, 100},  // 67 + 33
      {1, 8, 0, 10, 12},      // R(12.5) is 12
      {3, 8, 0, 10, 38},      // R(37.5) is 38
      {4, 8, 5005, 10010, 56},  // 50 + R(5005 * 12 / 10011) = 50 + R(5.9994...)
      {199, 200, 5000, 5000, 100},  // R(0.5) is 0: no band, the bar moves from file to file
      {0, 1, 2048, 4096, 50},
      {0, 1, 1LL << 40, 1LL << 40, 100},  // the product is 64-bit
  };
  for (const Case& c : cases)
    EXPECT_EQ(FileProgress(c.index, c.count, c.copied, c.packedSize), c.expected) << c.index << "/" << c.count;
  const std::pair<double, int64_t> rounding[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {2.5000001, 3}, {3.4999, 3}};
  for (const auto& r : rounding) EXPECT_EQ(RoundHalfEven(r.first), r.second) << r.first;
}

// A cabinet of exactly 4,096 bytes is copied in three reads, the last of nothing, each with
// the bar and the window messages after it.
TEST_F(InstallRunTest, ACabinetOfWholeBlocksEndsWithAnEmptyRead) {
  std::string cabinet;
  for (size_t filler = 3000;; ++filler) {
    std::string noise(filler, 'x');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = char((i * 7919 + i / 13) % 251);
    cabinet = fixture::MakeCabinet({{"exact.bin", noise}});
    if (cabinet.size() == 4096) break;
    ASSERT_LT(cabinet.size(), 4096u) << "no filler gives a cabinet of 4,096 bytes";
    filler += 4096 - cabinet.size() - 1;
  }
  Package("InstallationPath=C:\\App\n", {{"<InstallDir>\\exact.bin", "unused"}}, "", {cabinet});
  std::vector<int> positions;
  sim::Machine().onProcessMessages = [&] {
    if (!platform::FileExists("C:\\App\\exact.bin")) positions.push_back(Form1.ProgressBar1.Position);
  };
  ASSERT_EQ(Run(), 0);
  EXPECT_TRUE(platform::FileExists("C:\\App\\exact.bin"));
  // Before the extraction: after each of the three blocks, and once after the copy.
  EXPECT_EQ(positions, (std::vector<int>{50, 100, 100, 100}));
}

// Every way the run ends early or goes on with errors: the box it shows, the exit code, and
// never a work folder left behind.
TEST_F(InstallRunTest, FailuresEndAsTheirKindSays) {
  const std::string good = fixture::MakeCabinet({{"a.txt", "new"}});
  // Damaged in its last data block: the decoder has begun writing the file when it fails.
  std::string noise(100000, '\0');
  for (size_t i = 0, x = 1; i < noise.size(); ++i) noise[i] = char((x = x * 1103515245 + 12345) >> 16);
  std::string damaged = fixture::MakeCabinet({{"a.txt", noise}});
  damaged.replace(damaged.rfind("CK"), 2, "XX");  // the signature of the last MSZIP block
  const std::string corrupted = "The setup file is corrupted.";
  const std::string failedCabinet = "Error creating file:\r\nC:\\App\\a.txt\r\n\r\nWould you like to continue?";
  struct Case {
    const char* name;
    std::string files;  // [Files] entries in place of the generated ones ("" keeps them)
    std::vector<std::string> cabinets;
    std::vector<Answer> answers;
    std::function<void()> arrange;
    int exitCode;
    std::vector<std::string> boxes;
    bool secondInstalled;
  } cases[] = {
      {"three fields", "0=<InstallDir>\\a.txt?12?Overwrite\n", {}, {}, nullptr, 4, {corrupted}, false},
      {"size not a number", "0=<InstallDir>\\a.txt?12x?Overwrite?Yes\n", {}, {}, nullptr, 4, {corrupted}, false},
      {"negative size", "0=<InstallDir>\\a.txt?-5?Overwrite?Yes\n", {}, {}, nullptr, 4, {corrupted}, false},
      {"empty size", "0=<InstallDir>\\a.txt? ?Overwrite?Yes\n", {}, {}, nullptr, 4, {corrupted}, false},
      {"size beyond a 32-bit offset", "0=<InstallDir>\\a.txt?2147483000?Overwrite?Yes\n", {}, {}, nullptr, 4, {corrupted},
       false},
      {"folder refused", "0=<InstallDir>\\sub\\a.txt?" + std::to_string(good.size()) + "?Overwrite?Yes\n", {}, {},
       [] { sim::Machine().refusedFolders.push_back("C:\\App\\sub"); }, 4, {"Error creating directory:\r\nC:\\App\\sub"},
       false},
      {"damaged cabinet, stop", "", {damaged}, {Answer::No}, nullptr, 4, {failedCabinet}, false},
      {"damaged cabinet, go on", "", {damaged}, {Answer::Yes}, nullptr, 6, {failedCabinet}, true},
      {"not a cabinet, go on", "", {std::string(300, 'x')}, {Answer::Yes}, nullptr, 6, {failedCabinet}, true},
      // The package ends inside the cabinet: the copy stops at the end, the extraction fails.
      {"cabinet cut by the end of the package", "0=<InstallDir>\\a.txt?" + std::to_string(good.size()) + "?Overwrite?Yes\n",
       {good.substr(0, good.size() / 2)}, {Answer::No}, nullptr, 4, {failedCabinet}, false},
  };
  for (const Case& c : cases) {
    SetUp();
    Package("InstallationPath=C:\\App\nUninstall=1\n", {{"<InstallDir>\\a.txt", "new"}, {"<InstallDir>\\b.txt", "b"}},
            "", c.cabinets);
    if (!c.files.empty()) {
      // The entries replaced, the cabinets left as they are.
      std::string package = sim::ReadFile("C:\\setup.exe");
      fixture::Files config = fixture::ValidConfiguration(
          "[Setup]\nAppName=Wren\nSilentInstall=1\nFilesCount=1\nInstallationPath=C:\\App\n[Files]\n" + c.files);
      config[1].second = kLanguage;
      sim::WriteFile("C:\\setup.exe", fixture::MakePackage(fixture::MakeCabinet(config), fixture::Placement::Trailer,
                                                           4096, c.cabinets.empty() ? good : c.cabinets[0]));
    }
    sim::WriteFile("C:\\App\\a.txt", "old");
    if (c.arrange) c.arrange();
    sim::Machine().answers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(Run(), c.exitCode) << c.name;
    EXPECT_EQ(Boxes(), c.boxes) << c.name;
    for (const auto& box : sim::Machine().messageBoxes) {
      EXPECT_EQ(box.request.icon, platform::Icon::Error) << c.name;
      EXPECT_EQ(box.request.caption, box.request.text == corrupted ? "" : "Setup") << c.name;
      EXPECT_EQ(box.request.owner, platform::Owner::MainWindow) << c.name;
    }
    EXPECT_FALSE(WorkFolderLeft()) << c.name;
    // The existing file is never lost to a failed extraction, and no partial file stays.
    EXPECT_EQ(sim::ReadFile("C:\\App\\a.txt"), "old") << c.name;
    for (const auto& entry : platform::ListFolder("C:\\App\\*"))
      EXPECT_TRUE(entry.name == "a.txt" || entry.name == "b.txt" || entry.name == "Uninstall.ini") << entry.name;
    EXPECT_EQ(platform::FileExists("C:\\App\\b.txt"), c.secondInstalled) << c.name;
    if (c.exitCode == 6) {
      const std::string log = sim::ReadFile("C:\\App\\Uninstall.ini");
      EXPECT_EQ(log.find("a.txt"), std::string::npos) << log;
      EXPECT_NE(log.find("1=C:\\App\\b.txt"), std::string::npos) << log;
    }
  }
}

// A file that did not exist is written in place; a failed extraction leaves nothing of it.
TEST_F(InstallRunTest, AFailedExtractionOfANewFileLeavesNoPartOfIt) {
  std::string noise(100000, '\0');
  for (size_t i = 0, x = 7; i < noise.size(); ++i) noise[i] = char((x = x * 1103515245 + 12345) >> 16);
  std::string damaged = fixture::MakeCabinet({{"a.txt", noise}});
  damaged.replace(damaged.rfind("CK"), 2, "XX");
  Package("InstallationPath=C:\\App\n", {{"<InstallDir>\\a.txt", "unused"}, {"<InstallDir>\\b.txt", "b"}}, "",
          {damaged});
  sim::Machine().answers = {Answer::Yes};
  EXPECT_EQ(Run(), 6);
  std::vector<std::string> names;
  for (const auto& entry : platform::ListFolder("C:\\App\\*")) names.push_back(entry.name);
  EXPECT_EQ(names, std::vector<std::string>{"b.txt"});
}

TEST_F(InstallRunTest, TheWorkCopyThatCannotBeWrittenIsFatal) {
  // A start-up command runs once the work folder exists: it is where the fault is planted.
  Package("InstallationPath=C:\\App\n", {{"<InstallDir>\\a.txt", "a"}},
          "[Commands]\n0=C:\\plant.exe*?*?Hide*?Before Installation*?Yes\n");
  std::string workCopy;
  sim::Machine().onProcess = [&](const sim::ProcessRecord&) {
    workCopy = platform::ListFolder("C:\\Temp\\ZXTMP*").at(0).name;
    workCopy = "C:\\Temp\\" + workCopy + "\\file.cab";
    sim::Machine().refusedWrites.push_back(workCopy);
  };
  EXPECT_EQ(Run(), 4);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Error creating file:\r\n" + workCopy + "\r\n\r\nAccess is denied."});
  EXPECT_FALSE(WorkFolderLeft());
}

TEST_F(InstallRunTest, CancellingWhileAFileIsCopiedKeepsWhatIsInstalledAndNoLog) {
  Package("InstallationPath=C:\\App\nUninstall=1\n",
          {{"<InstallDir>\\one.txt", "1"}, {"<InstallDir>\\two.txt", "2"}, {"<InstallDir>\\three.txt", "3"}});
  sim::Machine().onProcessMessages = [] {
    if (Form1.Label14.Caption == "C:\\App\\two.txt") AbortRequested = true;
  };
  EXPECT_EQ(Run(), 5);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(platform::FileExists("C:\\App\\one.txt"));
  EXPECT_FALSE(platform::FileExists("C:\\App\\two.txt"));
  EXPECT_FALSE(platform::FileExists("C:\\App\\Uninstall.ini"));
  EXPECT_FALSE(WorkFolderLeft());
}

TEST_F(InstallRunTest, TheInstalledProgramsEntryNeedsUninstallAndReportsARefusal) {
  const std::string files = "FilesSize=1023\n";
  Package("InstallationPath=C:\\App\nShowAddRemove=1\n" + files, {{"<InstallDir>\\a.txt", "a"}});
  ASSERT_EQ(Run(), 0);
  EXPECT_FALSE(platform::FileExists("C:\\App\\Uninstall.ini"));  // the log went with the work folder
  EXPECT_EQ(platform::ReadRegistryValue(RegistryRoot::LocalMachine, kEntryKey, "DisplayName").type,
            platform::RegistryType::Missing);

  SetUp();
  Package("InstallationPath=C:\\App\nUninstall=1\nShowAddRemove=1\n" + files, {{"<InstallDir>\\a.txt", "a"}});
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(platform::ReadRegistryValue(RegistryRoot::LocalMachine, kEntryKey, "EstimatedSize").number, 0u);
  EXPECT_EQ(platform::ReadRegistryValue(RegistryRoot::LocalMachine, kEntryKey, "DisplayIcon").type,
            platform::RegistryType::Missing);  // no MainExecutable

  SetUp();
  Package("InstallationPath=C:\\App\nUninstall=1\nShowAddRemove=1\n", {{"<InstallDir>\\a.txt", "a"}});
  sim::Machine().refusedRegistryRoots.push_back(RegistryRoot::LocalMachine);
  EXPECT_EQ(Run(), 6);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Error creating registry key:\r\nHKEY_LOCAL_MACHINE\\" +
                                              std::string(kEntryKey) + "\r\n\r\nAccess is denied."});
  EXPECT_NE(sim::ReadFile("C:\\App\\Uninstall.ini").find("[RegistryKeys]\r\n0=HKEY_LOCAL_MACHINE*?" + std::string(kEntryKey)),
            std::string::npos);
}

}  // namespace
