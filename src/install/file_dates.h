// Dates as the "Overwrite only if newer" mode compares them: date-time values counted in days
// since 30 December 1899, the time of day as the fraction.
#pragma once
#include <optional>
#include <string>

#include "platform/system.h"

// A file's last modification time in local time, at the two-second resolution of an MS-DOS
// date and time; 0 when the file cannot be found or its time cannot be read.
double FileDateTime(const std::string& path);

// A date, optionally followed by a time, read with the user's regional settings: the order of
// day, month and year from the short date picture, the date and time separators, and the
// 12-hour designators. A date of two numbers takes the current year; a two-digit year lies
// within 50 years of today. Nothing when the text is no valid date and time.
std::optional<double> ParseDateTime(const std::string& text, const platform::DateTimeFormat& format,
                                    const platform::LocalDate& today);

// The value of a calendar date and time of day; nothing for an invalid one.
std::optional<double> EncodeDateTime(int year, int month, int day, int hour, int minute, int second);
