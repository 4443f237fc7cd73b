// [Commands]: which entries run in which phase, how they are started, and what is recorded for
// the uninstaller.
#include <gtest/gtest.h>

#include "form/form1.h"
#include "install/commands.h"
#include "install/uninstall_log.h"
#include "platform/sim/sim.h"

namespace {

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Reset();
    Form1 = TForm1();
    Form1.Edit1.Text = "C:\\Tools";
    sim::WriteFile("C:\\Tools\\tool.exe", "MZ");
    UninstallIni.Open("C:\\Temp\\uninstall.ini");
  }
  void TearDown() override { UninstallIni.Release(); }
};

TEST_F(CommandsTest, RunAndWaitQuotesTheProgramAndCutsAt255Characters) {
  const std::string longFolder = "C:\\" + std::string(290, 'd') + "\\p.exe";  // 300 characters
  struct Case {
    std::string program, parameters, commandLine, currentFolder;
  } cases[] = {
      {"C:\\Tools\\tool.exe", "/a /b", "\"C:\\Tools\\tool.exe\" /a /b", "C:\\Tools\\"},
      {"tool.exe", "", "\"tool.exe\" ", ""},
      {"C:tool.exe", "", "\"C:tool.exe\" ", "C:"},
      {longFolder, "/x", "\"" + longFolder.substr(0, 254), "C:\\"},  // the folder of the cut path
      {"C:\\p.exe", std::string(300, 'p'), "\"C:\\p.exe\" " + std::string(244, 'p'), "C:\\"},
  };
  for (const Case& c : cases) {
    sim::Machine().processes.clear();
    EXPECT_TRUE(RunAndWait(c.program, c.parameters, 3));
    ASSERT_EQ(sim::Machine().processes.size(), 1u);
    EXPECT_EQ(sim::Machine().processes[0].commandLine, c.commandLine) << c.program;
    EXPECT_EQ(sim::Machine().processes[0].commandLine.size(), std::min<size_t>(c.commandLine.size(), 255));
    EXPECT_EQ(sim::Machine().processes[0].currentFolder, c.currentFolder) << c.program;
    EXPECT_EQ(sim::Machine().processes[0].show, 3);
  }
  sim::Machine().processesStart = false;
  EXPECT_FALSE(RunAndWait("C:\\missing.exe", "", 1));
}

TEST_F(CommandsTest, EachPhaseRunsOrRecordsItsOwnKind) {
  struct Case {
    CommandPhase phase;
    std::string entry;
    size_t processes, shellOpens;
    std::string before, after;  // what the log records
  } cases[] = {
      {CommandPhase::InstallRun, "<InstallDir>\\tool.exe*?/s*?Hide*?After Installation*?Yes", 1, 0, "", ""},
      {CommandPhase::InstallRun, "<InstallDir>\\tool.exe*?/s*?Hide*?After Installation*?No", 0, 1, "", ""},
      {CommandPhase::InstallRun, "tool.exe*?/s*?Hide*?after installation*?Yes", 0, 0, "", ""},
      {CommandPhase::InstallRun, "tool.exe*?/s*?Hide*?Before Installation*?Yes", 0, 0, "", ""},
      {CommandPhase::StartUp, "tool.exe*?/s*?Hide*?Before Installation*?Yes", 1, 0, "", ""},
      {CommandPhase::StartUp, "tool.exe*?/s*?Hide*?After Installation*?Yes", 0, 0, "", ""},
      {CommandPhase::StartUp, "tool.exe*?/s*?Hide*?Before Uninstallation*?Yes", 0, 0, "", ""},
      {CommandPhase::InstallRun, "<InstallDir>\\cleanup.exe*?/all*?Hide*?Before Uninstallation*?Yes", 0, 0,
       "C:\\Tools\\cleanup.exe*?/all*?Hide*?Yes", ""},
      {CommandPhase::InstallRun, "x.exe*?<InstallDir>*?Other*?After Uninstallation*?no", 0, 0, "",
       "x.exe*?C:\\Tools*?Other*?no"},
      {CommandPhase::InstallRun, "tool.exe*?/s*?Hide*?After Installation", 0, 0, "", ""},  // four fields
  };
  for (const Case& c : cases) {
    SetUp();
    RunCommand(c.phase, c.entry);
    EXPECT_EQ(sim::Machine().processes.size(), c.processes) << c.entry;
    EXPECT_EQ(sim::Machine().shellOpens.size(), c.shellOpens) << c.entry;
    EXPECT_EQ(UninstallIni.ReadString("ExecBeforeUninstall", "0"), c.before) << c.entry;
    EXPECT_EQ(UninstallIni.ReadString("ExecAfterUninstall", "0"), c.after) << c.entry;
    EXPECT_EQ(sim::Machine().processMessagesCalls, 1) << c.entry;
  }
  RunCommand(CommandPhase::InstallRun, "<InstallDir>\\cleanup.exe*?/all*?Hide*?Before Uninstallation*?Yes");
  RunCommand(CommandPhase::InstallRun, "<InstallDir>\\cleanup.exe*?/all*?Hide*?Before Uninstallation*?Yes");
  EXPECT_EQ(UninstallIni.ReadSection("ExecBeforeUninstall").size(), 1u);
}

TEST_F(CommandsTest, WithoutWaitingAFileOpensInItsFolderAndAnythingElseAsItIs) {
  RunCommand(CommandPhase::InstallRun, "<InstallDir>\\tool.exe*?/a <InstallDir>*?Maximize*?After Installation*?No");
  RunCommand(CommandPhase::InstallRun, "https://example.invalid/?q=1*?/dropped*?Minimize*?After Installation*?No");
  ASSERT_EQ(sim::Machine().shellOpens.size(), 2u);
  const sim::ShellOpenRecord& file = sim::Machine().shellOpens[0];
  EXPECT_EQ(file.file, "tool.exe");
  EXPECT_EQ(file.parameters, "/a C:\\Tools");
  EXPECT_EQ(file.folder, "C:\\Tools");
  EXPECT_EQ(file.show, 3);
  const sim::ShellOpenRecord& address = sim::Machine().shellOpens[1];
  EXPECT_EQ(address.file, "https://example.invalid/?q=1");
  EXPECT_EQ(address.parameters, "");
  EXPECT_EQ(address.folder, "");
  EXPECT_EQ(address.show, 2);
}

TEST_F(CommandsTest, AnEmptyEntryDoesNothingAtAll) {
  RunCommand(CommandPhase::InstallRun, "");
  EXPECT_EQ(sim::Machine().processMessagesCalls, 0);
  EXPECT_TRUE(sim::Machine().processes.empty());
}

}  // namespace
