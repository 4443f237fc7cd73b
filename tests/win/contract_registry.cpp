// The registry contract tests write below one key of their own; it is removed before the run
// (leftovers of an interrupted one) and after it, so that every run creates its keys anew.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const char kContractKey[] = "Software\\zxsetup-tests\\Contract";

// RegDeleteKeyA removes only keys without subkeys, so the subkeys go first. False when a key
// stays.
bool RemoveKeyTree(HKEY parent, const std::string& name) {
  HKEY key;
  if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return false;
  char subkey[256];
  DWORD size = sizeof subkey;
  bool removed = true;
  while (removed && RegEnumKeyExA(key, 0, subkey, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
    removed = RemoveKeyTree(key, subkey);
    size = sizeof subkey;
  }
  RegCloseKey(key);
  return removed && RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

bool ContractKeyExists() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kContractKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class ContractRegistryKey : public ::testing::Environment {
 public:
  void SetUp() override {
    RemoveKeyTree(HKEY_CURRENT_USER, kContractKey);
    ASSERT_FALSE(ContractKeyExists()) << "HKEY_CURRENT_USER\\" << kContractKey << " could not be removed";
  }
  void TearDown() override { RemoveKeyTree(HKEY_CURRENT_USER, kContractKey); }
};

::testing::Environment* const contractRegistryKey = ::testing::AddGlobalTestEnvironment(new ContractRegistryKey);

}  // namespace
