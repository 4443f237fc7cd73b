// Faults and records of the simulated Windows that the Windows side has no counterpart for
// (what both share is held to Windows in tests/contract).
#include <gtest/gtest.h>

#include "platform/process.h"
#include "platform/registry.h"
#include "platform/sim/sim.h"

using platform::RegistryRoot;

namespace {

TEST(SimRegistry, CreatedKeysExistWithEveryParentAndARefusedRootOpensNone) {
  sim::Reset();
  sim::Machine().refusedRegistryRoots = {RegistryRoot::LocalMachine};
  platform::WritableRegistryKey refused;
  EXPECT_FALSE(refused.Create(RegistryRoot::LocalMachine, "Software\\Acme\\Demo"));
  EXPECT_FALSE(refused.IsOpen());
  EXPECT_FALSE(refused.WriteString("Path", "C:\\Acme"));
  EXPECT_FALSE(refused.Close());

  platform::WritableRegistryKey key;
  ASSERT_TRUE(key.Create(RegistryRoot::CurrentUser, "Software\\Acme\\Demo\\"));
  const auto& registry = sim::Machine().registry;
  for (const char* path : {"HKEY_CURRENT_USER", "HKEY_CURRENT_USER\\Software", "HKEY_CURRENT_USER\\software\\Acme",
                           "HKEY_CURRENT_USER\\Software\\Acme\\Demo"}) {
    auto found = registry.find(path);
    ASSERT_NE(found, registry.end()) << path;
    EXPECT_TRUE(found->second.empty()) << path;
  }
  EXPECT_EQ(registry.size(), 4u);  // nothing below the refused root
}

TEST(SimRegistry, OpenKeysHaveHandlesOfTheirOwn) {
  sim::Reset();
  platform::WritableRegistryKey first, second;
  ASSERT_TRUE(first.Create(RegistryRoot::CurrentUser, "Software\\First"));
  ASSERT_TRUE(second.Create(RegistryRoot::LocalMachine, "Software\\Second"));
  EXPECT_TRUE(first.Close());
  platform::WritableRegistryKey third;  // may take the slot the first left
  ASSERT_TRUE(third.Create(RegistryRoot::CurrentUser, "Software\\Third"));
  EXPECT_TRUE(second.WriteString("Name", "second"));
  EXPECT_TRUE(third.WriteString("Name", "third"));
  EXPECT_EQ(platform::ReadRegistryValue(RegistryRoot::LocalMachine, "Software\\Second", "Name").text, "second");
  EXPECT_EQ(platform::ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\Third", "Name").text, "third");
  EXPECT_EQ(platform::ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\First", "Name").type,
            platform::RegistryType::Missing);
}

TEST(SimProcesses, AProgramRunsBeforeTheWaitReturnsUnlessStartsAreRefused) {
  for (bool starts : {true, false}) {
    sim::Reset();
    sim::Machine().processesStart = starts;
    std::vector<std::string> ran;
    sim::Machine().onProcess = [&](const sim::ProcessRecord& process) {
      ran.push_back(process.commandLine + "|" + process.currentFolder);
    };
    EXPECT_EQ(platform::StartProcessAndWait("\"C:\\Tools\\run.exe\" /q", "C:\\Work", 5), starts);
    EXPECT_EQ(ran, starts ? std::vector<std::string>{"\"C:\\Tools\\run.exe\" /q|C:\\Work"}
                          : std::vector<std::string>()) << starts;
    ASSERT_EQ(sim::Machine().processes.size(), starts ? 1u : 0u) << starts;
    if (starts) {
      EXPECT_EQ(sim::Machine().processes[0].show, 5);
    }
  }
}

}  // namespace
