// Placeholders and user variables against the simulated Windows: where each built-in value
// comes from, the order of expansion and what it implies, and the [Variables] rules.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "form/form1.h"
#include "package/workdir.h"
#include "platform/sim/sim.h"
#include "script/languages.h"
#include "script/placeholders.h"
#include "script/setup_ini.h"
#include "script/variables.h"

using platform::RegistryRoot;

namespace {

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class PlaceholderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    ResetSetupState();
    UseScript("[Setup]\r\nAppName=Demo\r\nAppVersion=2.5\r\n");
  }

  static void UseScript(const std::string& contents) {
    sim::WriteFile("C:\\work\\setup.ini", contents);
    SetupIni = IniFile("C:\\work\\setup.ini");
  }
};

// A machine on which every value has a source of its own, so that a value taken from the
// wrong source shows.
void FurnishMachine() {
  sim::State& machine = sim::Machine();
  machine.windowsFolder = "D:\\WinNT";
  machine.systemFolder = "D:\\WinNT\\System32";
  machine.tempFolder = "C:\\Temp\\";
  machine.programPath = "E:\\Media\\setup.exe";
  machine.systemLanguageId = 1049;
  machine.shortDate = "11.12.2026";
  for (int csidl : {2, 5, 6, 7, 9, 11, 20, 21, 22, 23, 24, 26, 31})
    machine.shellFolders[csidl] = "C:\\Shell\\" + std::to_string(csidl);
  machine.shellFolders[0] = "C:\\Users\\ann\\Desktop";
  machine.shellFolders[25] = "C:\\Users\\Public\\Desktop";
  sim::SetRegistryString(RegistryRoot::LocalMachine, kCurrentVersion, "ProgramFilesDir", "C:\\PF");
  sim::SetRegistryString(RegistryRoot::LocalMachine, kCurrentVersion, "CommonFilesDir", "C:\\PF\\Common");
  sim::SetRegistryString(RegistryRoot::CurrentUser, kShellFolders, "Local Settings", "C:\\Users\\ann\\Local");
  sim::SetRegistryString(RegistryRoot::CurrentUser, kShellFolders, "AppData", "C:\\Users\\ann\\Roaming");
  sim::SetRegistryString(RegistryRoot::CurrentUser, kShellFolders, "Local AppData", "C:\\Users\\ann\\LocalApp");
  sim::SetRegistryString(RegistryRoot::LocalMachine, kShellFolders, "Common AppData", "C:\\ProgramData");
  sim::SetRegistryString(RegistryRoot::LocalMachine, kShellFolders, "Common Documents", "C:\\Users\\Public\\Docs");
  sim::SetRegistryString(RegistryRoot::LocalMachine, kShellFolders, "Common Templates", "C:\\ProgramData\\Tpl");
  Form1.Edit1.Text = "C:\\PF\\Demo";
  Form1.ComboBox1.Text = "Demo Group";
  Form1.EUser.Text = "Ann";
  Form1.ECompany.Text = "Acme";
  Form1.ECustomInfo.Text = "K-1";
  Form1.ComboLng.Items = {"English"};
  Form1.ComboLng.Select(0);
  sim::WriteFile("C:\\work\\English.lng", "[Info]\r\nid=1033\r\nlng=en\r\n");
  LangIni = IniFile("C:\\work\\English.lng");
  WorkDir = "C:\\Temp\\ZXTMP042";
}

TEST_F(PlaceholderTest, EveryNumberTakesItsValueFromItsOwnSource) {
  UseScript(
      "[Setup]\r\nAppName=Demo\r\nAppVersion=2.5\r\nCompanyName=Acme Soft\r\nWebSite=https://acme.example\r\n"
      "SupportLink=https://acme.example/help\r\nBuildDate=2026-12-01\r\n");
  FurnishMachine();
  const char* const expected[][2] = {
      {"<ProgramFiles>", "C:\\PF"},
      {"<CommonFiles>", "C:\\PF\\Common"},
      {"<WindowsDir>", "D:\\WinNT"},
      {"<SystemDir>", "D:\\WinNT\\System32"},
      {"<TempDir>", "C:\\Temp"},
      {"<FontsDir>", "C:\\Shell\\20"},
      {"<MyDocuments>", "C:\\Shell\\5"},
      {"<SystemDrive>", "D:"},
      {"<CurrentDir>", "E:\\Media"},
      {"<InstallDir>", "C:\\PF\\Demo"},
      {"<SentTo>", "C:\\Shell\\9"},
      {"<Favorites>", "C:\\Shell\\6"},
      {"<CommonFavorites>", "C:\\Shell\\31"},
      {"<Templates>", "C:\\Shell\\21"},
      {"<AppData>", "C:\\Shell\\26"},
      {"<LocalSettings>", "C:\\Users\\ann\\Local"},
      {"<UserProfile>", "C:\\Users\\ann"},
      {"<Desktop>", "C:\\Users\\ann\\Desktop"},
      {"<StartMenu>", "C:\\Shell\\11"},
      {"<ProgramsMenu>", "C:\\Shell\\2"},
      {"<StartUp>", "C:\\Shell\\7"},
      {"<CommonDesktop>", "C:\\Users\\Public\\Desktop"},
      {"<CommonStartMenu>", "C:\\Shell\\22"},
      {"<CommonProgramsMenu>", "C:\\Shell\\23"},
      {"<CommonStartUp>", "C:\\Shell\\24"},
      {"<ProgramGroup>", "C:\\Shell\\2\\Demo Group"},
      {"<QuickLaunch>", "C:\\Users\\ann\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch"},
      {"<AppName>", "Demo"},
      {"<AppVersion>", "2.5"},
      {"<CompanyName>", "Acme Soft"},
      {"<WebSite>", "https://acme.example"},
      {"<SupportLink>", "https://acme.example/help"},
      {"<UserName>", "Ann"},
      {"<UserCompany>", "Acme"},
      {"<Date>", "11.12.2026"},
      {"<LocalAppData>", "C:\\Users\\ann\\LocalApp"},
      {"<CommonAppData>", "C:\\ProgramData"},
      {"<CommonMyDocuments>", "C:\\Users\\Public\\Docs"},
      {"<CommonTemplates>", "C:\\ProgramData\\Tpl"},
      {"<AllUserProfile>", "C:\\Users\\Public"},
      {"<CustomUserInfo>", "K-1"},
      {"<Language>", "English"},
      {"<Lng>", "en"},
      {"<LngID>", "1033"},
      {"<SetupTempDir>", "C:\\Temp\\ZXTMP042"},
      {"<SystemLngID>", "1049"},
      {"<BuildDate>", "2026-12-01"},
      {"<SetupExe>", "E:\\Media\\setup.exe"},
  };
  static_assert(sizeof expected / sizeof expected[0] == kPlaceholderCount, "one row per placeholder");
  for (int number = 1; number <= kPlaceholderCount; ++number) {
    EXPECT_STREQ(PlaceholderName(number), expected[number - 1][0]) << number;
    EXPECT_EQ(PlaceholderValue(number), expected[number - 1][1]) << number;
    EXPECT_EQ(ExpandPlaceholders(std::string("[") + expected[number - 1][0] + "]"),
              std::string("[") + expected[number - 1][1] + "]")
        << number;
  }
  EXPECT_EQ(PlaceholderValue(0), "");
  EXPECT_EQ(PlaceholderValue(49), "");
}

TEST_F(PlaceholderTest, ValuesFollowTheirSourceOnEveryRequest) {
  FurnishMachine();
  Form1.Edit1.Text = "C:\\One";
  EXPECT_EQ(ExpandPlaceholders("<InstallDir>"), "C:\\One");
  Form1.Edit1.Text = "C:\\Two";
  EXPECT_EQ(ExpandPlaceholders("<InstallDir>"), "C:\\Two");
  UseScript("[Setup]\r\nAllUsersMenu=1\r\n");
  EXPECT_EQ(PlaceholderValue(26), "C:\\Shell\\23\\Demo Group");  // under the common programs menu
}

TEST_F(PlaceholderTest, MissingSourcesGiveEmptyValues) {
  // Nothing in the registry, no shell folders, no language file, empty fields.
  for (int number : {1, 2, 6, 16, 17, 18, 27, 36, 37, 40, 43, 44}) EXPECT_EQ(PlaceholderValue(number), "") << number;
  EXPECT_EQ(ExpandPlaceholders("<QuickLaunch>\\x"), "\\x");
}

TEST_F(PlaceholderTest, OneTrailingBackslashIsDropped) {
  sim::Machine().shellFolders[5] = "C:\\";
  sim::Machine().shellFolders[0] = "C:\\Desktop\\\\";
  sim::SetRegistryString(RegistryRoot::CurrentUser, kShellFolders, "AppData", "C:\\Roaming\\");
  Form1.Edit1.Text = "C:\\Program Files\\Demo\\";
  EXPECT_EQ(PlaceholderValue(7), "C:");
  EXPECT_EQ(PlaceholderValue(18), "C:\\Desktop\\");
  EXPECT_EQ(PlaceholderValue(5), "C:\\Temp");
  EXPECT_EQ(PlaceholderValue(10), "C:\\Program Files\\Demo");
  EXPECT_EQ(PlaceholderValue(27), "C:\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch");
}

TEST_F(PlaceholderTest, ExpansionIgnoresCaseAndTurnsLineMarksIntoBreaks) {
  EXPECT_EQ(ExpandPlaceholders("<appname> <APPVERSION> <AppName>"), "Demo 2.5 Demo");
  EXPECT_EQ(ExpandPlaceholders("a<#><#>b"), "a\r\n\r\nb");
  Form1.Edit1.Text = "one<#>two";  // a value holding the mark breaks too
  EXPECT_EQ(ExpandPlaceholders("<InstallDir>"), "one\r\ntwo");
  EXPECT_EQ(ExpandPlaceholders("<Unknown> <AppName"), "<Unknown> <AppName");
}

TEST_F(PlaceholderTest, OrderOfExpansion) {
  // A value holding a placeholder of a higher number is expanded, one of a lower number is not.
  Form1.Edit1.Text = "C:\\<AppName>";  // 10 holds 28
  EXPECT_EQ(ExpandPlaceholders("<InstallDir>"), "C:\\Demo");
  Form1.Edit1.Text = "<SystemDir>\\x";  // 10 holds 4
  EXPECT_EQ(ExpandPlaceholders("<InstallDir>"), "<SystemDir>\\x");
  // User variables come first, in their order: one named like a built-in replaces it, and
  // their values may hold built-ins, but not variables before them.
  Form1.Edit1.Text = "C:\\Edit";
  UserVariables = {"<InstallDir>?D:\\Mine", "%target%?<InstallDir>\\<AppName>", "?never", "<empty>?"};
  EXPECT_EQ(ExpandPlaceholders("<installdir>|%TARGET%|<empty>|?"), "D:\\Mine|C:\\Edit\\Demo||?");
}

TEST_F(PlaceholderTest, AValueThatCannotBeReadLeavesItsPlaceholder) {
  // A registry value of the wrong type cannot be read as a string; the text keeps the name.
  sim::SetRegistryDword(RegistryRoot::LocalMachine, kCurrentVersion, "ProgramFilesDir", 7);
  sim::SetRegistryString(RegistryRoot::LocalMachine, kCurrentVersion, "CommonFilesDir", "%X%\\Common",
                         platform::RegistryType::ExpandString);
  EXPECT_EQ(ExpandPlaceholders("<ProgramFiles>|<CommonFiles>|<AppName>"), "<ProgramFiles>|%X%\\Common|Demo");
  EXPECT_EQ(PlaceholderValue(1), "");
}

class VariableTest : public PlaceholderTest {
 protected:
  static std::string Variable(size_t index) {
    return index < UserVariables.size() ? UserVariables[index] : "(none)";
  }
};

TEST_F(VariableTest, ValuesComeFromTheRegistryOrTheDefault) {
  const char key[] = "Software\\Acme\\Demo";
  sim::SetRegistryString(RegistryRoot::LocalMachine, key, "Path", "D:\\Acme");
  sim::SetRegistryString(RegistryRoot::LocalMachine, key, "Expand", "%ProgramFiles%\\Acme",
                         platform::RegistryType::ExpandString);
  sim::SetRegistryDword(RegistryRoot::LocalMachine, key, "Count", 4294967295u);
  sim::SetRegistryDword(RegistryRoot::CurrentUser, key, "Level", 3);
  struct Case {
    const char* entry;
    const char* expected;  // the variable as held, name?value
  } cases[] = {
      {"<P>*?HKEY_LOCAL_MACHINE*?Software\\Acme\\Demo*?Path*?STRING*?C:\\Default", "<P>?D:\\Acme"},
      {"<P>*?HKEY_LOCAL_MACHINE*?software\\acme\\DEMO*?path*?STRING*?x", "<P>?D:\\Acme"},
      {"<E>*?HKEY_LOCAL_MACHINE*?Software\\Acme\\Demo*?Expand*?STRING*?x", "<E>?%ProgramFiles%\\Acme"},
      {"<N>*?HKEY_LOCAL_MACHINE*?Software\\Acme\\Demo*?Count*?DWORD*?0", "<N>?-1"},
      {"<N>*?HKEY_LOCAL_MACHINE*?Software\\Acme\\Demo*?Count*?anything*?0", "<N>?-1"},
      // A value of the other type keeps the default.
      {"<T>*?HKEY_LOCAL_MACHINE*?Software\\Acme\\Demo*?Count*?STRING*?kept", "<T>?kept"},
      {"<T>*?HKEY_LOCAL_MACHINE*?Software\\Acme\\Demo*?Path*?DWORD*?12", "<T>?12"},
      // STRING is compared with case: "string" asks for a number.
      {"<T>*?HKEY_LOCAL_MACHINE*?Software\\Acme\\Demo*?Path*?string*?12", "<T>?12"},
      // Roots by exact name; anything else is HKEY_CURRENT_USER.
      {"<R>*?hkey_local_machine*?Software\\Acme\\Demo*?Level*?DWORD*?0", "<R>?3"},
      {"<R>*?HKEY_CURRENT_USER*?Software\\Acme\\Demo*?Path*?STRING*?none", "<R>?none"},
      // Missing key or value: the expanded default; five fields mean an empty default.
      {"<M>*?HKEY_LOCAL_MACHINE*?Software\\Acme\\Other*?Path*?STRING*?<AppName> <AppVersion>", "<M>?Demo 2.5"},
      {"<M>*?HKEY_LOCAL_MACHINE*?Software\\Acme\\Demo*?Nothing*?STRING", "<M>?"},
      {"<I>*?HKEY_LOCAL_MACHINE*?x*?y*?STRING*?<InstallDir>", "<I>?"},
  };
  for (const Case& c : cases) {
    UserVariables.clear();
    DefineVariable(c.entry);
    EXPECT_EQ(Variable(0), c.expected) << c.entry;
  }
}

TEST_F(VariableTest, AnEntryUsesTheVariablesBeforeIt) {
  sim::SetRegistryString(RegistryRoot::CurrentUser, "Software\\Acme\\Demo 2.5", "Home", "D:\\Home");
  DefineVariable("%VENDOR%*?HKEY_CURRENT_USER*?x*?y*?STRING*?Acme");
  DefineVariable("%HOME%*?HKEY_CURRENT_USER*?Software\\%vendor%\\<AppName> <AppVersion>*?Home*?STRING*?none");
  EXPECT_EQ(Variable(0), "%VENDOR%?Acme");
  EXPECT_EQ(Variable(1), "%HOME%?D:\\Home");
  EXPECT_EQ(ExpandPlaceholders("%home%\\bin"), "D:\\Home\\bin");
}

TEST_F(VariableTest, AnEntryOfFewerThanFiveFieldsDefinesNothing) {
  for (const char* entry : {"", "<A>", "<A>*?HKEY_CURRENT_USER*?x*?y", "<A>*?HKEY_CURRENT_USER*?x*?y*?"}) {
    UserVariables.clear();
    DefineVariable(entry);
    EXPECT_TRUE(UserVariables.empty()) << entry;
  }
}

}  // namespace
