// Reading the real registry: the types the setup tells apart, names without regard to case,
// strings taken as stored, and missing keys and values. The values are written with the
// system's own functions under a key of this test, which is removed afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/registry.h"

using platform::RegistryRoot;
using platform::RegistryType;

namespace {

const char kKey[] = "Software\\zxsetup-tests\\Registry";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  }
  void Set(const char* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }
  HKEY key_ = nullptr;
};

TEST_F(RegistryTest, ValuesComeWithTheirType) {
  Set("Path", REG_SZ, "C:\\Acme", 8);
  Set("Expand", REG_EXPAND_SZ, "%SystemRoot%\\x", 15);
  Set("Unterminated", REG_SZ, "abc", 3);
  Set("", REG_SZ, "default", 8);
  DWORD number = 0xFFFFFFFF;
  Set("Count", REG_DWORD, &number, 4);
  Set("Blob", REG_BINARY, "\1\2\3\4", 4);
  Set("Empty", REG_SZ, "", 1);

  struct Case {
    const char* name;
    RegistryType type;
    const char* text;
  } cases[] = {
      {"Path", RegistryType::String, "C:\\Acme"},
      {"PATH", RegistryType::String, "C:\\Acme"},
      {"Expand", RegistryType::ExpandString, "%SystemRoot%\\x"},  // not expanded
      {"Unterminated", RegistryType::String, "abc"},
      {"", RegistryType::String, "default"},
      {"Count", RegistryType::Dword, ""},
      {"Blob", RegistryType::Other, ""},
      {"Empty", RegistryType::String, ""},
      {"Missing", RegistryType::Missing, ""},
  };
  for (const Case& c : cases) {
    platform::RegistryValue value = platform::ReadRegistryValue(RegistryRoot::CurrentUser, kKey, c.name);
    EXPECT_EQ(value.type, c.type) << c.name;
    EXPECT_EQ(value.text, c.text) << c.name;
  }
  EXPECT_EQ(platform::ReadRegistryValue(RegistryRoot::CurrentUser, kKey, "count").number, 0xFFFFFFFFu);
  EXPECT_EQ(platform::ReadRegistryValue(RegistryRoot::CurrentUser, "software\\ZXSETUP-TESTS\\registry", "Path").text,
            "C:\\Acme");
}

TEST_F(RegistryTest, AMissingKeyOrRootHasNoValues) {
  Set("Path", REG_SZ, "C:\\Acme", 8);
  EXPECT_EQ(platform::ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\zxsetup-tests\\None", "Path").type,
            RegistryType::Missing);
  EXPECT_EQ(platform::ReadRegistryValue(RegistryRoot::LocalMachine, kKey, "Path").type, RegistryType::Missing);
  EXPECT_EQ(platform::ReadRegistryValue(RegistryRoot::Users, kKey, "Path").type, RegistryType::Missing);
}

}  // namespace
