// The build date read with the user's regional settings, and a file's time as the
// "Overwrite only if newer" mode compares them.
#include <gtest/gtest.h>

#include "install/file_dates.h"
#include "platform/files.h"
#include "platform/sim/sim.h"

namespace {

platform::DateTimeFormat Format(const char* picture, char dateSeparator, char timeSeparator = ':') {
  platform::DateTimeFormat format;
  format.shortDate = picture;
  format.dateSeparator = dateSeparator;
  format.timeSeparator = timeSeparator;
  return format;
}

double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return *EncodeDateTime(year, month, day, hour, minute, second);
}

TEST(FileDatesTest, ReadsTheBuildDateInTheUsersOrder) {
  const platform::LocalDate today{2026, 12, 11};
  const platform::DateTimeFormat us = Format("M/d/yyyy", '/'), german = Format("dd.MM.yyyy", '.'),
                                 iso = Format("yyyy-MM-dd", '-'), finnish = Format("d.M.yyyy", '.', '.');
  struct Case {
    const char* text;
    const platform::DateTimeFormat& format;
    double expected;  // 0: not a date
  } cases[] = {
      {"3/4/2025", us, At(2025, 3, 4)},
      {"3/4/2025 13:05:09", us, At(2025, 3, 4, 13, 5, 9)},
      {"3/4/2025 1:05 PM", us, At(2025, 3, 4, 13, 5)},
      {"3/4/2025 12:00 am", us, At(2025, 3, 4, 0, 0)},
      {"  3/4/25  ", us, At(2025, 3, 4)},
      {"3/4/75", us, At(2075, 3, 4)},  // within 50 years of today
      {"3/4/77", us, At(1977, 3, 4)},
      {"3/4", us, At(2026, 3, 4)},     // the current year
      {"04.03.2025", german, At(2025, 3, 4)},
      {"04.03.2025 23:59:58", german, At(2025, 3, 4, 23, 59, 58)},
      {"2025-03-04", iso, At(2025, 3, 4)},
      {"4.3.2025 8.30", finnish, At(2025, 3, 4, 8, 30)},
      {"2/29/2024", us, At(2024, 2, 29)},
      {"04.03.2025", us, 0},  // another separator
      {"2/29/2025", us, 0},
      {"13/1/2025", us, 0},
      {"3/4/2025 24:00", us, 0},
      {"3/4/2025 13:00 PM", us, 0},
      {"3/4/2025/1", us, 0},
      {"March 4, 2025", us, 0},
      {"", us, 0},
  };
  for (const Case& c : cases) {
    std::optional<double> value = ParseDateTime(c.text, c.format, today);
    if (c.expected == 0) {
      EXPECT_FALSE(value) << c.text;
    } else {
      ASSERT_TRUE(value) << c.text;
      EXPECT_DOUBLE_EQ(*value, c.expected) << c.text;
    }
  }
  EXPECT_DOUBLE_EQ(At(1899, 12, 30), 0);
  EXPECT_DOUBLE_EQ(At(1900, 1, 1, 18), 2.75);
}

TEST(FileDatesTest, AFileTimeHasTwoSecondResolutionAndAMissingFileIsZero) {
  sim::Reset();
  sim::WriteFile("C:\\a.txt", "a");
  // 4 March 2025, 13:05:09 as an MS-DOS date and time: seconds are stored halved.
  const uint16_t dosDate = uint16_t((2025 - 1980) << 9 | 3 << 5 | 4), dosTime = uint16_t(13 << 11 | 5 << 5 | 9 / 2);
  ASSERT_TRUE(platform::SetFileDosTime("C:\\a.txt", dosDate, dosTime));
  EXPECT_DOUBLE_EQ(FileDateTime("C:\\a.txt"), At(2025, 3, 4, 13, 5, 8));
  EXPECT_EQ(FileDateTime("C:\\missing.txt"), 0);
}

}  // namespace
