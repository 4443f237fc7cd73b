// The languages of a package at start-up: the list, the choice by name or by the system's
// language, the texts put into the window, switching on the language page, and a package
// without any language file.
#include <gtest/gtest.h>

#include <functional>

#include "app/startup.h"
#include "form/form1.h"
#include "package/workdir.h"
#include "platform/files.h"
#include "platform/sim/sim.h"
#include "script/languages.h"
#include "package_fixture.h"

namespace {

constexpr int kNotEnded = -1;

std::string LanguageFile(const std::string& id, const std::string& lng, const std::string& tag) {
  return "[Info]\r\nid=" + id + "\r\nlng=" + lng + "\r\n[Title]\r\n0=" + tag + " Setup - <AppName> <AppVersion>\r\n" +
         "[Language]\r\n0=" + tag + " Welcome to <AppName>\r\n1=" + tag + " Select:\r\n" +
         "[Buttons]\r\n0=" + tag + " < &Back\r\n1=" + tag + " &Next > <AppName>\r\n2=" + tag + " Cancel\r\n";
}

const std::string kEnglish = LanguageFile("1033", "en", "EN");
const std::string kRussian = LanguageFile("1049", "ru", "RU");

class LanguageChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    ResetSetupState();
  }

  // Starts a package holding the given language files behind the script's [Setup] lines.
  static int Start(const std::string& setupLines, const fixture::Files& languages) {
    fixture::Files files;
    for (const auto& file : fixture::ValidConfiguration("[Setup]\r\nAppName=Demo\r\nAppVersion=2.5\r\n" + setupLines))
      if (file.first.find(".lng") == std::string::npos) files.push_back(file);
    files.insert(files.end(), languages.begin(), languages.end());
    sim::WriteFile("C:\\setup.exe",
                   fixture::MakePackage(fixture::MakeCabinet(files), fixture::Placement::FixedOffset));
    try {
      FormCreate();
    } catch (const sim::ProcessEnded& end) {
      return end.exitCode;
    }
    return kNotEnded;
  }

  static std::string Selected() { return Form1.ComboLng.ItemIndex < 0 ? "(none)" : Form1.ComboLng.Text; }
};

TEST_F(LanguageChoiceTest, TheChoiceByNameAndBySystemLanguage) {
  struct Case {
    const char* setup;
    unsigned systemLanguage;
    fixture::Files languages;
    const char* selected;
  } cases[] = {
      {"DefaultLanguage=Russian\r\n", 1033, {{"English.lng", kEnglish}, {"Russian.lng", kRussian}}, "Russian"},
      {"DefaultLanguage=Russian\r\nAutoDetectLanguage=1\r\n", 1033,
       {{"English.lng", kEnglish}, {"Russian.lng", kRussian}}, "English"},
      {"", 1049, {{"English.lng", kEnglish}, {"Russian.lng", kRussian}}, "English"},  // the default name
      {"DefaultLanguage=english\r\n", 1033, {{"English.lng", kEnglish}, {"Russian.lng", kRussian}}, "(none)"},
      {"", 1033, {{"Russian.lng", kRussian}}, "(none)"},
      {"AutoDetectLanguage=1\r\n", 1049, {{"Russian.lng", kRussian}}, "Russian"},
      {"AutoDetectLanguage=1\r\n", 1031, {{"English.lng", kEnglish}, {"Russian.lng", kRussian}}, "English"},
      // Of two files with the system's id, the later one in the list wins.
      {"AutoDetectLanguage=1\r\n", 1049,
       {{"Russian.lng", kRussian}, {"English.lng", kEnglish}, {"Cyrillic.lng", kRussian}}, "Russian"},
  };
  for (const Case& c : cases) {
    SetUp();
    sim::Machine().systemLanguageId = c.systemLanguage;
    ASSERT_EQ(Start(c.setup, c.languages), kNotEnded) << c.setup;
    EXPECT_EQ(Selected(), c.selected) << c.setup << " system " << c.systemLanguage;
    EXPECT_EQ(LangIni.Path(), WorkDir + "\\" + (c.selected[0] == '(' ? "" : c.selected) + ".lng");
  }
}

TEST_F(LanguageChoiceTest, TheListIsInNameOrderWithoutRegardToCase) {
  ASSERT_EQ(Start("", {{"polish.lng", kEnglish},
                       {"English.lng", kEnglish},
                       {"Russian.lng", kRussian},
                       {"Deutsch.lng", kEnglish},
                       {"notes.txt", "x"}}),
            kNotEnded);
  EXPECT_EQ(Form1.ComboLng.Items, (std::vector<std::string>{"Deutsch", "English", "polish", "Russian"}));
}

TEST_F(LanguageChoiceTest, TheChosenLanguageTitlesTheWindowAndItsButtons) {
  ASSERT_EQ(Start("DefaultLanguage=Russian\r\n", {{"English.lng", kEnglish}, {"Russian.lng", kRussian}}), kNotEnded);
  EXPECT_EQ(Form1.Caption, "RU Setup - Demo 2.5");
  EXPECT_EQ(Application.Title, "RU Setup - Demo 2.5");
  EXPECT_EQ(Form1.Label1.Caption, "RU Welcome to Demo");
  EXPECT_EQ(Form1.Label2.Caption, "RU Select:");
  EXPECT_EQ(Form1.BtnBack.Caption, "RU < &Back");
  EXPECT_EQ(Form1.BtnNext.Caption, "RU &Next > <AppName>");  // button captions are not expanded
  EXPECT_EQ(Form1.BtnCancel.Caption, "RU Cancel");
  EXPECT_EQ(LangText("Info", 0), "");
  EXPECT_EQ(LangText("Language", 1), "RU Select:");
  EXPECT_EQ(LangText("Language", 2), "");
}

TEST_F(LanguageChoiceTest, NoLanguageSelectedLeavesEveryTextEmpty) {
  ASSERT_EQ(Start("DefaultLanguage=english\r\n", {{"English.lng", kEnglish}}), kNotEnded);
  EXPECT_FALSE(platform::FileExists(LangIni.Path()));
  EXPECT_EQ(Form1.Caption, "");
  EXPECT_EQ(Form1.Label1.Caption, "");
  EXPECT_EQ(Form1.BtnNext.Caption, "");
  EXPECT_EQ(LangText("Buttons", 1), "");
}

TEST_F(LanguageChoiceTest, SwitchingTheLanguageChangesTheWindowAtOnce) {
  ASSERT_EQ(Start("", {{"English.lng", kEnglish}, {"Russian.lng", kRussian}}), kNotEnded);
  ASSERT_EQ(Form1.Caption, "EN Setup - Demo 2.5");
  Form1.ComboLng.Select(1);
  ComboLngChange();
  EXPECT_EQ(Form1.Caption, "RU Setup - Demo 2.5");
  EXPECT_EQ(Application.Title, "RU Setup - Demo 2.5");
  EXPECT_EQ(Form1.Label1.Caption, "RU Welcome to Demo");
  EXPECT_EQ(Form1.Label2.Caption, "RU Select:");
  EXPECT_EQ(Form1.BtnBack.Caption, "RU < &Back");
  EXPECT_EQ(Form1.BtnNext.Caption, "RU &Next > <AppName>");
  EXPECT_EQ(Form1.BtnCancel.Caption, "RU Cancel");
  EXPECT_EQ(LangText("Info", 0), "");
  EXPECT_EQ(LangIni.ReadString("Info", "lng", ""), "ru");
  EXPECT_EQ(Form1.ActiveControl, &Form1.ComboLng);
}

TEST_F(LanguageChoiceTest, EnterInTheListActsAsNext) {
  int nextClicks = 0;
  Form1.BtnNext.OnClick = [&] { ++nextClicks; };
  char key = 'a';
  ComboLngKeyPress(key);
  EXPECT_EQ(key, 'a');
  EXPECT_EQ(nextClicks, 0);
  key = '\r';
  ComboLngKeyPress(key);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(nextClicks, 1);
}

TEST_F(LanguageChoiceTest, APackageWithoutALanguageFileIsCorrupted) {
  EXPECT_EQ(Start("", {}), 1);
  const auto& boxes = sim::Machine().messageBoxes;
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].request.text, "The setup file is corrupted.");
  EXPECT_EQ(boxes[0].request.caption, "Error");
  EXPECT_TRUE(platform::ListFolder("C:\\Temp\\ZXTMP*").empty());
}

TEST_F(LanguageChoiceTest, AFolderNamedLikeALanguageFileIsNoLanguage) {
  WorkDir = "C:\\work";
  ASSERT_TRUE(platform::CreateFolder("C:\\work") && platform::CreateFolder("C:\\work\\English.lng"));
  EXPECT_FALSE(LoadLanguages());
  sim::WriteFile("C:\\work\\Russian.lng", kRussian);
  EXPECT_TRUE(LoadLanguages());
  EXPECT_EQ(Form1.ComboLng.Items, std::vector<std::string>{"Russian"});
}

}  // namespace
