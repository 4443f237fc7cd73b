// Starting programs and opening them through the shell on the real system, with the command
// interpreter of the system folder as the program; and the local date and the user's date
// format as the system reports them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/process.h"
#include "platform/system.h"

namespace {

bool FileThere(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder name with a blank, so that it must reach the program as one.
    static unsigned tests = 0;
    char temp[MAX_PATH + 1];
    GetTempPathA(MAX_PATH, temp);
    do {
      folder_ = std::string(temp) + "process test " + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++tests);
    } while (!CreateDirectoryA(folder_.c_str(), nullptr));
    cmd_ = platform::SystemFolder() + "\\cmd.exe";
    ASSERT_TRUE(FileThere(cmd_)) << cmd_;
  }
  std::string folder_, cmd_;
};

TEST_F(ProcessTest, TheProgramRunsInTheGivenFolderAndIsWaitedFor) {
  DeleteFileA("mark.txt");
  ASSERT_TRUE(platform::StartProcessAndWait("\"" + cmd_ + "\" /c echo ran>mark.txt", folder_, SW_HIDE));
  EXPECT_TRUE(FileThere(folder_ + "\\mark.txt"));  // written before the wait returned
  EXPECT_FALSE(FileThere("mark.txt"));             // not in the caller's current folder
}

TEST_F(ProcessTest, AProgramThatCannotStartGivesFalse) {
  EXPECT_FALSE(platform::StartProcessAndWait("\"" + folder_ + "\\missing.exe\" /q", "", SW_HIDE));
  EXPECT_FALSE(platform::StartProcessAndWait("\"" + cmd_ + "\" /c echo ran>mark.txt", folder_ + "\\missing",
                                             SW_HIDE));
}

TEST_F(ProcessTest, TheShellOpensAProgramWithParametersInTheGivenFolder) {
  platform::ShellOpen(cmd_, "/c echo opened>shell.txt", folder_, SW_HIDE);
  // Not waited for: the mark comes when the program gets to it.
  bool marked = false;
  for (int i = 0; i < 100 && !marked; ++i) {
    marked = FileThere(folder_ + "\\shell.txt");
    if (!marked) Sleep(100);
  }
  EXPECT_TRUE(marked);
}

TEST(SystemDate, TodayIsTheLocalDate) {
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  platform::LocalDate today = platform::Today();
  GetLocalTime(&after);
  auto same = [&](const SYSTEMTIME& t) { return today.year == t.wYear && today.month == t.wMonth && today.day == t.wDay; };
  EXPECT_TRUE(same(before) || same(after)) << today.year << "-" << today.month << "-" << today.day;
}

TEST(SystemDate, TheShortDatePictureGivesTheShortDateAndHoldsItsSeparator) {
  platform::DateTimeFormat format = platform::UserDateTimeFormat();
  ASSERT_FALSE(format.shortDate.empty());
  EXPECT_NE(format.shortDate.find(format.dateSeparator), std::string::npos) << format.shortDate;
  EXPECT_FALSE(format.am.empty());
  EXPECT_FALSE(format.pm.empty());
  char formatted[128];
  int n = GetDateFormatA(LOCALE_USER_DEFAULT, 0, nullptr, format.shortDate.c_str(), formatted, sizeof formatted);
  ASSERT_GT(n, 1);
  EXPECT_EQ(std::string(formatted, n - 1), platform::ShortDateToday()) << format.shortDate;
}

}  // namespace
