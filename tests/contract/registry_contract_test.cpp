// Writing the registry on both platforms: keys created with their missing parents, values that
// come back with the type they were written with, names without regard to case, and values
// replaced by a second write. The keys live below HKEY_CURRENT_USER\Software\zxsetup-tests\Contract,
// which the Windows test program removes before and after its run.
#include <gtest/gtest.h>

#include <string>

#include "contract.h"
#include "platform/registry.h"

using namespace platform;

namespace {

// Three levels below the test's own key, none of which exists before the test.
const char kKey[] = "Software\\zxsetup-tests\\Contract\\RegistryWrites\\Level2\\Level3";

class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override { ContractFolder(); }  // on the host: a fresh machine, its registry too
  static RegistryValue Read(const std::string& name) {
    return ReadRegistryValue(RegistryRoot::CurrentUser, kKey, name);
  }
};

TEST_F(RegistryContract, ValuesComeBackWithTheTypeTheyWereWrittenWith) {
  std::string longText;
  for (int i = 0; i < 300; ++i) longText += char('a' + i % 26);
  WritableRegistryKey key;
  EXPECT_FALSE(key.IsOpen());
  ASSERT_TRUE(key.Create(RegistryRoot::CurrentUser, kKey));
  EXPECT_TRUE(key.IsOpen());
  EXPECT_TRUE(key.WriteString("Path", "C:\\Acme Tools"));
  EXPECT_TRUE(key.WriteString("Empty", ""));
  EXPECT_TRUE(key.WriteString("Long", longText));
  EXPECT_TRUE(key.WriteString("", "default"));
  EXPECT_TRUE(key.WriteDword("Count", 0xFFFFFFFFu));
  EXPECT_TRUE(key.WriteDword("Zero", 0));

  struct Case {
    const char* name;
    RegistryType type;
    std::string text;
    uint32_t number;
  } cases[] = {
      {"Path", RegistryType::String, "C:\\Acme Tools", 0},
      {"PATH", RegistryType::String, "C:\\Acme Tools", 0},
      {"Empty", RegistryType::String, "", 0},
      {"Long", RegistryType::String, longText, 0},
      {"", RegistryType::String, "default", 0},
      {"Count", RegistryType::Dword, "", 0xFFFFFFFFu},
      {"Zero", RegistryType::Dword, "", 0},
      {"Missing", RegistryType::Missing, "", 0},
  };
  for (const Case& c : cases) {
    RegistryValue value = Read(c.name);
    EXPECT_EQ(value.type, c.type) << c.name;
    EXPECT_EQ(value.text, c.text) << c.name;
    EXPECT_EQ(value.number, c.number) << c.name;
  }
  EXPECT_EQ(ReadRegistryValue(RegistryRoot::CurrentUser,
                              "SOFTWARE\\ZXSETUP-TESTS\\contract\\registrywrites\\LEVEL2\\level3", "path")
                .text,
            "C:\\Acme Tools");
  // The parents were created as keys, not given the values.
  EXPECT_EQ(ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\zxsetup-tests\\Contract\\RegistryWrites\\Level2",
                              "Path")
                .type,
            RegistryType::Missing);
  EXPECT_TRUE(key.Close());
}

TEST_F(RegistryContract, WritingAgainReplacesTheValueAndItsType) {
  WritableRegistryKey key;
  ASSERT_TRUE(key.Create(RegistryRoot::CurrentUser, kKey));
  EXPECT_TRUE(key.WriteString("Name", "first, and longer"));
  EXPECT_TRUE(key.WriteString("NAME", "second"));
  EXPECT_TRUE(key.WriteString("Mixed", "text"));
  EXPECT_TRUE(key.WriteDword("Mixed", 7));
  EXPECT_TRUE(key.WriteDword("Number", 5));
  EXPECT_TRUE(key.WriteString("Number", "five"));

  RegistryValue name = Read("name"), mixed = Read("Mixed"), number = Read("Number");
  EXPECT_EQ(name.type, RegistryType::String);
  EXPECT_EQ(name.text, "second");
  EXPECT_EQ(mixed.type, RegistryType::Dword);
  EXPECT_EQ(mixed.number, 7u);
  EXPECT_EQ(mixed.text, "");
  EXPECT_EQ(number.type, RegistryType::String);
  EXPECT_EQ(number.text, "five");
  EXPECT_EQ(number.number, 0u);
}

TEST_F(RegistryContract, AKeyOpenedAgainKeepsItsValues) {
  {
    WritableRegistryKey key;
    ASSERT_TRUE(key.Create(RegistryRoot::CurrentUser, kKey));
    EXPECT_TRUE(key.WriteString("Kept", "one"));
    EXPECT_TRUE(key.Close());
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.Close());
    EXPECT_FALSE(key.WriteString("Late", "x"));  // a closed key takes no writes
    EXPECT_FALSE(key.WriteDword("Late", 1));
  }
  WritableRegistryKey again;
  ASSERT_TRUE(again.Create(RegistryRoot::CurrentUser, "software\\zxsetup-tests\\CONTRACT\\RegistryWrites\\Level2\\Level3"));
  EXPECT_TRUE(again.WriteDword("Added", 2));
  EXPECT_EQ(Read("Kept").text, "one");
  EXPECT_EQ(Read("Added").number, 2u);
  EXPECT_EQ(Read("Late").type, RegistryType::Missing);

  WritableRegistryKey never;
  EXPECT_FALSE(never.Close());
  EXPECT_FALSE(never.WriteString("Path", "x"));
}

}  // namespace
