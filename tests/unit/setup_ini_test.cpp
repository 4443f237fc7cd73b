// The [Setup] keys of the setup script: their types and defaults, and typed reading.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "platform/sim/sim.h"
#include "platform/text.h"
#include "script/setup_ini.h"

namespace {

const char kPath[] = "C:\\t\\setup.ini";

class SetupIniTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }
  void TearDown() override { SetupIni = IniFile(); }

  void Script(const std::string& contents) {
    sim::WriteFile(kPath, contents);
    SetupIni = IniFile(kPath);
  }
};

// The keys whose default is not false, "" or 0.
const std::map<std::string, std::string> kExceptions = {
    {"Win9x", "1"},     {"WinNT", "1"},           {"Win2000", "1"},       {"WinXP", "1"},
    {"WinSrv2003", "1"}, {"WinVista", "1"},       {"Win7", "1"},          {"WinUnknow", "1"},
    {"PromptUninstall", "1"}, {"DefaultLanguage", "English"}, {"dotNETVersion", "1.0"},
    {"IEVersion", "3.0"}, {"ARVersion", "5.0"},   {"JavaVersion", "1.2"},
};

// The value of a key as text, read through its typed reader.
std::string ReadAsText(const SetupKey& key) {
  switch (key.type) {
    case SetupKeyType::Boolean: return SetupBool(key.name) ? "1" : "0";
    case SetupKeyType::Integer: return text::FromInt(SetupInteger(key.name));
    case SetupKeyType::String: break;
  }
  return SetupString(key.name);
}

TEST_F(SetupIniTest, AScriptWithoutSetupReadsEveryDefault) {
  Script("[Files]\n0=a?1?1\n[Other]\nAppName=not this one\nWin9x=0\n");
  for (const SetupKey& key : SetupKeys()) {
    auto exception = kExceptions.find(key.name);
    std::string expected = exception != kExceptions.end()       ? exception->second
                           : key.type == SetupKeyType::String ? ""
                                                              : "0";
    EXPECT_EQ(ReadAsText(key), expected) << key.name;
  }
}

TEST_F(SetupIniTest, TheTableHoldsEveryKeyOnceWithItsType) {
  std::set<std::string> names, integers;
  for (const SetupKey& key : SetupKeys()) {
    EXPECT_TRUE(names.insert(text::Lower(key.name)).second) << key.name;
    if (key.type == SetupKeyType::Integer) integers.insert(key.name);
  }
  EXPECT_EQ(integers, (std::set<std::string>{"FilesCount", "FilesSize", "UpgradeMode"}));
  for (const auto& exception : kExceptions) EXPECT_TRUE(names.count(text::Lower(exception.first))) << exception.first;
  // One key of each area, with its type.
  struct Case {
    const char* name;
    SetupKeyType type;
  } cases[] = {
      {"BuildDate", SetupKeyType::String},     {"CloseAppText", SetupKeyType::String},
      {"LinkJR", SetupKeyType::String},        {"AllUsersMenu", SetupKeyType::Boolean},
      {"VisitUninstallPage", SetupKeyType::Boolean}, {"SilentInstall", SetupKeyType::Boolean},
      {"DialogDestinationFolder", SetupKeyType::Boolean}, {"AutoDetectLanguage", SetupKeyType::Boolean},
      {"AcceptAgreement", SetupKeyType::Boolean}, {"InfoCustomName", SetupKeyType::String},
      {"CustomActionChecked", SetupKeyType::Boolean}, {"x64", SetupKeyType::Boolean},
  };
  for (const Case& c : cases) {
    const SetupKey* key = FindSetupKey(c.name);
    ASSERT_NE(key, nullptr) << c.name;
    EXPECT_EQ(key->type, c.type) << c.name;
  }
}

TEST_F(SetupIniTest, KeysAreFoundWithoutRegardToCase) {
  const SetupKey* key = FindSetupKey("dotnetversion");
  ASSERT_NE(key, nullptr);
  EXPECT_STREQ(key->name, "dotNETVersion");
  EXPECT_EQ(FindSetupKey("ExistMode"), nullptr);  // written by the builder, never read
  EXPECT_EQ(FindSetupKey(""), nullptr);
}

TEST_F(SetupIniTest, TypedValues) {
  Script("[setup]\n"
         "AppName =  My App  \n"
         "AppVersion=\" 1.0 \"\n"
         "DefaultLanguage=\n"
         "silentinstall=yes\n"
         "Admin=2\n"
         "Win9x=yes\n"
         "WinNT=0\n"
         "PromptUninstall=0x0\n"
         "FilesCount=$10\n"
         "FilesSize=lots\n"
         "UpgradeMode=-1\n");
  EXPECT_EQ(SetupString("AppName"), "My App");
  EXPECT_EQ(SetupString("AppVersion"), " 1.0 ");
  EXPECT_EQ(SetupString("DefaultLanguage"), "");  // present and empty is not missing
  EXPECT_EQ(SetupString("IEVersion"), "3.0");
  EXPECT_FALSE(SetupBool("SilentInstall"));       // a word yields the default
  EXPECT_TRUE(SetupBool("Admin"));                // any non-zero number is true
  EXPECT_TRUE(SetupBool("Win9x"));
  EXPECT_FALSE(SetupBool("WinNT"));
  EXPECT_FALSE(SetupBool("PromptUninstall"));
  EXPECT_TRUE(SetupBool("Win7"));
  EXPECT_EQ(SetupInteger("FilesCount"), 16);
  EXPECT_EQ(SetupInteger("FilesSize"), 0);
  EXPECT_EQ(SetupInteger("UpgradeMode"), -1);
}

TEST_F(SetupIniTest, ALongValueReadsAsIts2047FirstCharacters) {
  std::string value;
  for (int i = 0; i < 3000; ++i) value += char('0' + i % 10);
  Script("[Setup]\nAppName=" + value + "\n");
  EXPECT_EQ(SetupString("AppName"), value.substr(0, 2047));
}

TEST_F(SetupIniTest, NothingIsCached) {
  Script("[Setup]\nSilentInstall=0\n");
  EXPECT_FALSE(SetupBool("SilentInstall"));
  sim::WriteFile(kPath, "[Setup]\nSilentInstall=1\n");
  EXPECT_TRUE(SetupBool("SilentInstall"));
}

TEST_F(SetupIniTest, UnknownKeysAndWrongTypesAreMistakesOfTheProgram) {
  Script("[Setup]\nAppName=x\nExistMode=1\n");
  EXPECT_DEATH(SetupString("ExistMode"), "");
  EXPECT_DEATH(SetupBool("AppName"), "");
  EXPECT_DEATH(SetupInteger("SilentInstall"), "");
}

}  // namespace
