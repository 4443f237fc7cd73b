// The builder run as the command it is: packages read back by their layout, every cabinet
// checked with cabextract and libmspack; errors and warnings as tables.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <functional>
#include <map>

#include "mkpackage/default_pictures.h"
#include "test_util.h"

using testutil::ReadFile;
using testutil::ShellQuote;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

constexpr size_t kFixedOffset = 250368;

class BuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(stub_, testutil::FakeStub(4096));
    WriteFile(dir_ / "project/English.lng", "[Info]\r\nid=1033\r\n");
    WriteFile(dir_ / "project/zxwizard.bmp", testutil::RandomBitmap(40, 30, 1));
    WriteFile(dir_ / "project/zxheader.bmp", testutil::RandomBitmap(20, 8, 2));
  }

  std::string Project() const { return dir_ / "project"; }
  std::string Output() const { return dir_ / "out/setup-package.exe"; }
  void Script(const std::string& text) { WriteFile(Project() + "/setup.ini", text); }
  void Source(const std::string& name, const std::string& data) { WriteFile(Project() + "/" + name, data); }

  testutil::RunResult Build(const std::string& extra = "") {
    testutil::Run("mkdir -p " + ShellQuote(dir_ / "out"));
    return testutil::Run(std::string(MKPACKAGE_PATH) + " " + ShellQuote(Project()) + " -o " + ShellQuote(Output()) +
                         " --stub " + ShellQuote(stub_) + extra);
  }

  testutil::Package Read() {
    testutil::Run("mkdir -p " + ShellQuote(dir_ / "scratch"));
    return testutil::ReadPackage(Output(), dir_ / "scratch");
  }

  // Each cabinet holds its one file, byte for byte, for cabextract and for libmspack.
  void ExpectCabinets(const testutil::Package& pkg, const std::vector<std::pair<std::string, std::string>>& files) {
    ASSERT_EQ(pkg.fileCabinets.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
      const std::string path = dir_ / "scratch/file.cab";
      WriteFile(path, pkg.fileCabinets[i]);
      EXPECT_EQ(testutil::CheckWithCabextract(path, {files[i]}, dir_ / "scratch"), "") << files[i].first;
    }
  }

  TempDir dir_;
  std::string stub_ = dir_ / "stub.exe";
};

TEST_F(BuilderTest, MixedFilesRoundTrip) {
  const std::string big = testutil::TextData(200000, 3), random = testutil::RandomData(100000, 4);
  Source("empty.dat", "");
  Source("bin/big.txt", big);
  Source("data/random.bin", random);
  Source("small.txt", "small\r\n");
  Source("LEnglish.rtf", "{\\rtf1 licence}");
  Source("R(Default).rtf", "{\\rtf1 readme}");
  Source("notes.txt", "not for the package");
  const std::string randomPath = Project() + "/data/random.bin";
  struct tm local {};
  local.tm_year = 109, local.tm_mon = 6, local.tm_mday = 14, local.tm_hour = 17, local.tm_min = 5, local.tm_sec = 41;
  local.tm_isdst = -1;
  const time_t moment = mktime(&local);
  struct utimbuf times {moment, moment};
  ASSERT_EQ(utime(randomPath.c_str(), &times), 0);
  chmod(randomPath.c_str(), 0444);
  const char* script =
      "; product\r\n[Setup]\r\nAppName = \"Demo\"\r\nDialogWelcome=1\r\n\r\n[Files]\r\n"
      "0=<InstallDir>\\empty.dat?empty.dat?Overwrite?Yes\r\n"
      "1=<InstallDir>\\bin\\big.txt? bin\\big.txt ?Skip?Yes?extra\r\n"
      "2=\r\n"
      "3=\"<InstallDir>\\data\\random.bin?data/random.bin?Overwrite only if newer?No\"\r\n"
      "4=<InstallDir>\\small.txt?small.txt?Ask?Yes\r\n"
      "\r\n[Shortcuts]\r\n0=<ProgramGroup>\\Demo.lnk*?<InstallDir>\\bin\\big.txt*?*?*?*?*?0*?Normal\r\n";
  Script(script);

  testutil::RunResult run = Build();
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output.find("warning"), std::string::npos) << run.output;
  testutil::Package pkg = Read();
  ASSERT_EQ(pkg.problem, "");
  EXPECT_EQ(pkg.offset, int64_t(kFixedOffset));
  const std::string package = ReadFile(Output());
  EXPECT_EQ(package.substr(0, 4096), testutil::FakeStub(4096));
  EXPECT_EQ(package.substr(4096, kFixedOffset - 4096), std::string(kFixedOffset - 4096, '\0'));

  ExpectCabinets(pkg, {{"empty.dat", ""}, {"big.txt", big}, {"random.bin", random}, {"small.txt", "small\r\n"}});
  // The stored date and time are the source's, in local time; read-only stays read-only.
  std::string problem;
  WriteFile(dir_ / "scratch/random.cab", pkg.fileCabinets[2]);
  std::vector<testutil::CabFile> stored = testutil::ReadWithMspack(dir_ / "scratch/random.cab", dir_ / "scratch", problem);
  ASSERT_EQ(stored.size(), 1u) << problem;
  EXPECT_EQ(testutil::FromDos(stored[0].dosDate, stored[0].dosTime), moment - 1);
  EXPECT_EQ(stored[0].attributes, 0x21);
  WriteFile(dir_ / "scratch/big.cab", pkg.fileCabinets[1]);
  stored = testutil::ReadWithMspack(dir_ / "scratch/big.cab", dir_ / "scratch", problem);
  ASSERT_EQ(stored.size(), 1u) << problem;
  EXPECT_EQ(stored[0].attributes, 0x20);

  // The package's script is the project's with the sizes in place and the two counts added.
  auto size = [&](size_t i) { return std::to_string(pkg.fileCabinets[i].size()); };
  const std::string expected =
      "; product\r\n[Setup]\r\nAppName = \"Demo\"\r\nDialogWelcome=1\r\nFilesCount=5\r\nFilesSize=" +
      std::to_string(big.size() + random.size() + 7) + "\r\n\r\n[Files]\r\n"
      "0=<InstallDir>\\empty.dat?" + size(0) + "?Overwrite?Yes\r\n"
      "1=<InstallDir>\\bin\\big.txt?" + size(1) + "?Skip?Yes?extra\r\n"
      "2=\r\n"
      "3=\"<InstallDir>\\data\\random.bin?" + size(2) + "?Overwrite only if newer?No\"\r\n"
      "4=<InstallDir>\\small.txt?" + size(3) + "?Ask?Yes\r\n"
      "\r\n[Shortcuts]\r\n0=<ProgramGroup>\\Demo.lnk*?<InstallDir>\\bin\\big.txt*?*?*?*?*?0*?Normal\r\n";
  EXPECT_EQ(pkg.setupIni, expected);

  // The configuration cabinet: the script, the language, the pictures and the RTF files.
  WriteFile(dir_ / "scratch/config.cab", pkg.configuration);
  EXPECT_EQ(testutil::CheckWithCabextract(dir_ / "scratch/config.cab",
                                          {{"setup.ini", expected},
                                           {"English.lng", ReadFile(Project() + "/English.lng")},
                                           {"zxwizard.bmp", ReadFile(Project() + "/zxwizard.bmp")},
                                           {"zxheader.bmp", ReadFile(Project() + "/zxheader.bmp")},
                                           {"LEnglish.rtf", "{\\rtf1 licence}"},
                                           {"R(Default).rtf", "{\\rtf1 readme}"}},
                                          dir_ / "scratch"),
            "");
}

class FileCountTest : public BuilderTest, public ::testing::WithParamInterface<int> {};

TEST_P(FileCountTest, EveryFileInKeyOrder) {
  const int n = GetParam();
  std::string script = "[Setup]\nAppName=Many\n[Files]\n";
  std::vector<std::pair<std::string, std::string>> files;
  for (int i = 0; i < n; ++i) {
    const std::string name = "f" + std::to_string(i) + ".txt";
    const std::string data = i % 50 == 7 ? testutil::RandomData(3000, uint32_t(i)) : testutil::TextData(size_t(i) * 37 + 1, uint32_t(i));
    Source("src/" + name, data);
    script += std::to_string(i) + "=<InstallDir>\\" + name + "?src/" + name + "?Overwrite?Yes\n";
    files.emplace_back(name, data);
  }
  Script(script);
  testutil::RunResult run = Build();
  ASSERT_EQ(run.exitCode, 0) << run.output;
  testutil::Package pkg = Read();
  ASSERT_EQ(pkg.problem, "");
  EXPECT_NE(pkg.setupIni.find("FilesCount=" + std::to_string(n) + "\n"), std::string::npos);
  ExpectCabinets(pkg, files);
}

INSTANTIATE_TEST_SUITE_P(Counts, FileCountTest, ::testing::Values(0, 1, 300));

TEST_F(BuilderTest, ProjectCountsAreKeptAndALongStubMovesThePackage) {
  WriteFile(stub_, testutil::FakeStub(300000));
  Source("a.txt", "aaa");
  Source("b.txt", "bbbb");
  Script("[Setup]\nFilesSize=12345\nFilesCount=2\n[Files]\n1=C:\\b.txt?b.txt?Skip?Yes\n0=C:\\a.txt?a.txt?Skip?Yes\n"
         "2=C:\\c.txt?c.txt?Skip?Yes\n");
  testutil::RunResult run = Build();
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("warning: [Files] 2:"), std::string::npos) << run.output;
  testutil::Package pkg = Read();
  ASSERT_EQ(pkg.problem, "");
  EXPECT_EQ(pkg.offset, 300000);
  ExpectCabinets(pkg, {{"a.txt", "aaa"}, {"b.txt", "bbbb"}});  // key order, not file order
  EXPECT_EQ(pkg.setupIni, "[Setup]\nFilesSize=12345\nFilesCount=2\n[Files]\n1=C:\\b.txt?" +
                              std::to_string(pkg.fileCabinets[1].size()) + "?Skip?Yes\n0=C:\\a.txt?" +
                              std::to_string(pkg.fileCabinets[0].size()) + "?Skip?Yes\n2=C:\\c.txt?c.txt?Skip?Yes\n");
}

struct ErrorCase {
  const char* what;
  std::function<void(BuilderTest&)> arrange;
  std::string args;     // passed instead of the usual ones when not empty
  const char* message;  // the thing the error names
};
// Test names and failure reports show the case by its name.
void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.what; }

class BuilderErrorTest : public BuilderTest, public ::testing::WithParamInterface<ErrorCase> {
 public:
  using BuilderTest::Script;
  using BuilderTest::Source;
  std::string& StubPath() { return stub_; }
  std::string Dir(const std::string& name) { return dir_ / name; }
};

const char kGoodFiles[] = "[Files]\n0=<InstallDir>\\app.exe?app.exe?Overwrite?Yes\n";

std::vector<ErrorCase> ErrorCases() {
  return {
      {"MissingSource", [](BuilderTest& t) { static_cast<BuilderErrorTest&>(t).Script("[Files]\n0=C:\\x.exe?bin\\missing.exe?Skip?Yes\n"); }, "",
       "[Files] 0: source file \"bin\\missing.exe\" not found"},
      {"ThreeFields", [](BuilderTest& t) { static_cast<BuilderErrorTest&>(t).Script("[Files]\n0=C:\\app.exe?app.exe?Skip\n"); }, "",
       "[Files] 0: 3 fields"},
      {"NoProjectFolder", [](BuilderTest&) {}, "nowhere", "cannot read the project folder"},
      {"NoSetupIni", [](BuilderTest& t) { unlink((static_cast<BuilderErrorTest&>(t).Dir("project/setup.ini")).c_str()); }, "",
       "setup.ini"},
      {"StubNotPe", [](BuilderTest& t) { WriteFile(static_cast<BuilderErrorTest&>(t).StubPath(), "#!/bin/sh\necho\n"); }, "",
       "is not a Windows program"},
      {"StubMzWithoutPe",
       [](BuilderTest& t) { WriteFile(static_cast<BuilderErrorTest&>(t).StubPath(), "MZ" + std::string(200, '\0')); }, "",
       "is not a Windows program"},
      {"OutputFolderMissing", [](BuilderTest&) {}, "missing-folder", "cannot write the output"},
      {"OutputIsAFolder", [](BuilderTest&) {}, "folder-output", "it is a folder"},
      {"OwnPictureNotABitmap", [](BuilderTest& t) { WriteFile(static_cast<BuilderErrorTest&>(t).Dir("project/ZXHeader.bmp"), "BM not really"); }, "",
       "ZXHeader.bmp: not a Windows bitmap the setup can load"},
      {"StrictWithAWarning", [](BuilderTest& t) { static_cast<BuilderErrorTest&>(t).Script(std::string("[Setup]\nAppNmae=X\n") + kGoodFiles); },
       "strict", "with --strict"},
  };
}

TEST_P(BuilderErrorTest, FailsNamingTheProblemAndWritesNothing) {
  const ErrorCase& c = GetParam();
  Source("app.exe", "MZ program");
  Script(kGoodFiles);
  c.arrange(*this);
  testutil::Run("mkdir -p " + ShellQuote(Dir("out/folder-output")));
  std::string output = Output();
  std::string project = Dir("project");
  std::string extra;
  if (c.args == "nowhere") project = Dir("no-such-project");
  if (c.args == "missing-folder") output = Dir("out/no-such-folder/setup.exe");
  if (c.args == "folder-output") output = Dir("out/folder-output");
  if (c.args == "strict") extra = " --strict";
  const std::vector<std::string> before = testutil::ListFolder(Dir("out"));
  testutil::RunResult run = testutil::Run(std::string(MKPACKAGE_PATH) + " " + ShellQuote(project) + " -o " +
                                          ShellQuote(output) + " --stub " + ShellQuote(StubPath()) + extra);
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("error"), std::string::npos) << run.output;
  EXPECT_EQ(testutil::ListFolder(Dir("out")), before);
  EXPECT_EQ(testutil::ListFolder(Dir("out/folder-output")), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Cases, BuilderErrorTest, ::testing::ValuesIn(ErrorCases()),
                         [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.what); });

TEST(BuilderUsageTest, ExitCodes) {
  const std::string tool = MKPACKAGE_PATH;
  struct {
    std::string args;
    int exitCode;
    const char* says;
  } cases[] = {
      {"", 2, "no project folder"},
      {"project", 2, "no output"},
      {"project -o", 2, "-o needs a path"},
      {"project -o out.exe --fast", 2, "unknown option --fast"},
      {"a b -o out.exe", 2, "more than one project folder"},
      {"--help", 0, "usage: mkpackage PROJECT_DIR -o OUT.exe"},
  };
  for (const auto& c : cases) {
    testutil::RunResult run = testutil::Run(tool + " " + c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args;
    EXPECT_NE(run.output.find(c.says), std::string::npos) << c.args << ": " << run.output;
  }
}

struct WarningCase {
  const char* what;
  const char* script;   // added to a project with one good file
  const char* warning;  // what the warning says, section and key first
};
// Test names and failure reports show the case by its name.
void PrintTo(const WarningCase& c, std::ostream* os) { *os << c.what; }

class BuilderWarningTest : public BuilderTest, public ::testing::WithParamInterface<WarningCase> {};

TEST_P(BuilderWarningTest, WarnsAndStrictRefuses) {
  const WarningCase& c = GetParam();
  Source("app.exe", "MZ program");
  Script(std::string(kGoodFiles) + c.script);
  testutil::RunResult run = Build();
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find(std::string("warning: ") + c.warning), std::string::npos) << run.output;
  unlink(Output().c_str());
  run = Build(" --strict");
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find(std::string("error: ") + c.warning), std::string::npos) << run.output;
  EXPECT_FALSE(testutil::Exists(Output()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuilderWarningTest,
    ::testing::Values(
        WarningCase{"UnknownKey", "[Setup]\nAppNmae=Demo\n", "[Setup] AppNmae: unknown key, the setup does not read it (nearest known key: AppName)"},
        WarningCase{"WordForBoolean", "[Setup]\nSilentInstall=yes\n", "[Setup] SilentInstall: \"yes\" is not a number"},
        WarningCase{"KeyAfterAGap", "3=C:\\b.exe?app.exe?Skip?Yes\n", "[Files] 3: not a key from 0 to FilesCount - 1"},
        WarningCase{"KeyAboveFilesCount", "1=C:\\b.exe?app.exe?Skip?Yes\n[Setup]\nFilesCount=1\n", "[Files] 1: not a key"},
        WarningCase{"ShortcutFields", "[Shortcuts]\n0=C:\\a.lnk*?C:\\a.exe*?*?*?*?*?0*?\n", "[Shortcuts] 0: 7 fields, an entry needs 8"},
        WarningCase{"RegistryFields", "[Registry]\nk=HKEY_CURRENT_USER*?Software\\X*?v*?STRING*?d*?Yes\n", "[Registry] k: 6 fields, an entry needs 7"},
        WarningCase{"IniFields", "[INI]\n0=C:\\a.ini*?S*?K*?V*?Yes*?Yes*?x\n", "[INI] 0: 7 fields, an entry needs 6"},
        WarningCase{"ExtensionFields", "[Extensions]\n0=abc*?C:\\a.exe*?ABC file*?C:\\a.ico\n", "[Extensions] 0: 4 fields, an entry needs 5"},
        WarningCase{"CommandFields", "[Commands]\n0=C:\\a.exe*?*?Normal*?After Installation*?\n", "[Commands] 0: 4 fields, an entry needs at least 5"},
        WarningCase{"OtherFields", "[Others]\n0=Font*?C:\\a.ttf\n", "[Others] 0: 2 fields, an entry needs 3"},
        WarningCase{"ExistModeCase", "1=C:\\b.exe?app.exe?overwrite?Yes\n", "[Files] 1: field 3 \"overwrite\" matches no keyword"},
        WarningCase{"PhaseCase", "[Commands]\n0=C:\\a.exe*?*?Normal*?Before installation*?Yes\n", "[Commands] 0: field 4 \"Before installation\""},
        WarningCase{"ShowModeCase", "[Shortcuts]\n0=C:\\a.lnk*?C:\\a.exe*?*?*?*?*?0*?maximize\n", "[Shortcuts] 0: field 8 \"maximize\" matches no keyword, as keywords are compared exactly; write \"Maximize\""},
        WarningCase{"ValueTypeCase", "[Registry]\n0=HKEY_CURRENT_USER*?Software\\X*?v*?string*?d*?Yes*?Yes\n", "[Registry] 0: field 4 \"string\""},
        WarningCase{"YesCase", "[INI]\n0=C:\\a.ini*?S*?K*?V*?yes*?Yes\n", "[INI] 0: field 5 \"yes\""}),
    [](const ::testing::TestParamInfo<WarningCase>& info) { return std::string(info.param.what); });

TEST_F(BuilderTest, CorrectEntriesRaiseNoWarning) {
  Source("app.exe", "MZ program");
  Script(std::string("[Setup]\nAppName=Demo\nWinUnknow=0\nFilesCount=1\nExistMode=Overwrite\nNotRemove=0\n") + kGoodFiles +
         "[Shortcuts]\n0=C:\\a.lnk*?C:\\a.exe*?*?*?*?*?0*?Maximize\n"
         "[Registry]\n0=HKEY_LOCAL_MACHINE*?Software\\X*?v*?DWORD*?$10*?No*?Yes\n"
         "[INI]\n0=C:\\a.ini*?S*?K*?*?Yes*?Yes\n"
         "[Extensions]\n0=abc*?C:\\a.exe*?ABC file*?*?0\n"
         "[Commands]\n0=C:\\a.exe*?*?Hide*?Before Installation*?Yes*?more\n"
         "[Others]\n0=Type Library*?C:\\a.tlb*?Yes\n");
  testutil::RunResult run = Build(" --strict");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output.find("warning"), std::string::npos) << run.output;
}

// --- what the tool supplies when the project lacks it ------------------------------------------

struct FallbackCase {
  const char* what;
  std::vector<std::pair<std::string, std::string>> own;  // the project's configuration files
  std::vector<std::string> expected;                     // the cabinet's files after setup.ini
};
// Test names and failure reports show the case by its name.
void PrintTo(const FallbackCase& c, std::ostream* os) { *os << c.what; }

class BuilderFallbackTest : public BuilderTest, public ::testing::WithParamInterface<FallbackCase> {};

std::string BuiltInLanguage(const std::string& name) {
  return ReadFile(std::string(SOURCE_DIR) + "/tools/resources/languages/" + name);
}

const std::vector<std::string> kBuiltInLanguages = {
    "English.lng", "French.lng", "German.lng", "Italian.lng", "Polish.lng", "Portuguese (Brazil).lng",
    "Russian.lng", "Spanish.lng"};

std::vector<std::string> With(std::vector<std::string> names, const std::vector<std::string>& more) {
  names.insert(names.end(), more.begin(), more.end());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_P(BuilderFallbackTest, EachMissingPieceComesFromTheToolAndOwnFilesWin) {
  const FallbackCase& c = GetParam();
  for (const char* name : {"English.lng", "zxwizard.bmp", "zxheader.bmp"}) unlink((Project() + "/" + name).c_str());
  for (const auto& [name, data] : c.own) Source(name, data);
  Source("app.exe", "MZ program");
  Script(std::string("[Setup]\r\nAppName=Fallbacks\r\n") + kGoodFiles);

  testutil::RunResult run = Build(" --strict");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  testutil::Package pkg = Read();
  ASSERT_EQ(pkg.problem, "");
  WriteFile(dir_ / "scratch/config.cab", pkg.configuration);
  std::string problem;
  const std::vector<testutil::CabFile> stored = testutil::ReadWithMspack(dir_ / "scratch/config.cab", dir_ / "scratch", problem);
  ASSERT_EQ(problem, "");
  ASSERT_FALSE(stored.empty());
  EXPECT_EQ(stored[0].name, "setup.ini");

  std::vector<std::string> names;
  std::map<std::string, std::string> contents;
  for (size_t i = 1; i < stored.size(); ++i) names.push_back(stored[i].name), contents[stored[i].name] = stored[i].data;
  EXPECT_EQ(names, c.expected);
  std::map<std::string, std::string> own(c.own.begin(), c.own.end());
  bool suppliedLanguages = false;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    if (own.count(name)) {
      EXPECT_EQ(contents[name], own[name]);
    } else if (name == "zxwizard.bmp") {
      EXPECT_EQ(contents[name], mkpackage::DefaultWizardPicture());
    } else if (name == "zxheader.bmp") {
      EXPECT_EQ(contents[name], mkpackage::DefaultHeaderPicture());
    } else {
      EXPECT_EQ(contents[name], BuiltInLanguage(name));  // embedded byte for byte
      suppliedLanguages = true;
    }
  }
  auto noted = [&](const std::string& what) { return run.output.find("note: no " + what) != std::string::npos; };
  EXPECT_EQ(noted("language file"), suppliedLanguages) << run.output;
  EXPECT_EQ(noted("zxwizard.bmp"), !own.count("zxwizard.bmp") && !own.count("ZXWIZARD.BMP")) << run.output;
  EXPECT_EQ(noted("zxheader.bmp"), !own.count("zxheader.bmp")) << run.output;

  // cabextract agrees on every file.
  contents["setup.ini"] = pkg.setupIni;
  EXPECT_EQ(testutil::CheckWithCabextract(dir_ / "scratch/config.cab", contents, dir_ / "scratch"), "");
}

const std::string kOwnWizard = testutil::RandomBitmap(30, 25, 7), kOwnHeader = testutil::RandomBitmap(15, 12, 8);

INSTANTIATE_TEST_SUITE_P(
    Cases, BuilderFallbackTest,
    ::testing::Values(
        FallbackCase{"NothingOfItsOwn", {}, With(kBuiltInLanguages, {"zxheader.bmp", "zxwizard.bmp"})},
        FallbackCase{"OnlyPictures",
                     {{"zxwizard.bmp", kOwnWizard}, {"zxheader.bmp", kOwnHeader}},
                     With(kBuiltInLanguages, {"zxheader.bmp", "zxwizard.bmp"})},
        FallbackCase{"OneOwnLanguageKeepsTheOthersOut",
                     {{"French.lng", "[Info]\r\nid=1036\r\nlng=fr\r\n"}},
                     {"French.lng", "zxheader.bmp", "zxwizard.bmp"}},
        FallbackCase{"OnlyTheHeaderMissing",
                     {{"Deutsch.lng", "[Info]\r\nid=1031\r\n"}, {"zxwizard.bmp", kOwnWizard}},
                     {"Deutsch.lng", "zxheader.bmp", "zxwizard.bmp"}},
        FallbackCase{"OnlyTheWizardMissing",
                     {{"English.lng", "[Info]\r\nid=1033\r\n"}, {"zxheader.bmp", kOwnHeader}},
                     {"English.lng", "zxheader.bmp", "zxwizard.bmp"}},
        FallbackCase{"NamesInAnyCase",  // the setup looks files up without regard to case
                     {{"english.LNG", "[Info]\r\nid=1033\r\n"}, {"ZXWIZARD.BMP", kOwnWizard}, {"zxheader.bmp", kOwnHeader}},
                     {"ZXWIZARD.BMP", "english.LNG", "zxheader.bmp"}}),
    [](const ::testing::TestParamInfo<FallbackCase>& info) { return std::string(info.param.what); });

}  // namespace
