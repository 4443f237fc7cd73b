#include "install/file_dates.h"

#include <cstdint>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1970 (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = unsigned(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + int64_t(dayOfEra) - 719468;
}

// Digits only; nothing for an empty or non-numeric text.
std::optional<int> Number(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

// Whether `text` ends with the designator (without regard to case); if so, it is cut off.
bool CutDesignator(std::string& text, const std::string& designator) {
  if (designator.empty() || text.size() < designator.size()) return false;
  if (!text::SameText(text.substr(text.size() - designator.size()), designator)) return false;
  text = text::Trim(text.substr(0, text.size() - designator.size()));
  return true;
}

}  // namespace

std::optional<double> EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
    return std::nullopt;
  const int64_t days = DaysFromCivil(year, unsigned(month), unsigned(day)) - DaysFromCivil(1899, 12, 30);
  return double(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

double FileDateTime(const std::string& path) {
  uint16_t dosDate = 0, dosTime = 0;
  if (!platform::ReadFileDosTime(path, dosDate, dosTime)) return 0;
  std::optional<double> value = EncodeDateTime(1980 + (dosDate >> 9), (dosDate >> 5) & 15, dosDate & 31,
                                               dosTime >> 11, (dosTime >> 5) & 63, (dosTime & 31) * 2);
  return value ? *value : 0;
}

std::optional<double> ParseDateTime(const std::string& text, const platform::DateTimeFormat& format,
                                    const platform::LocalDate& today) {
  std::string rest = text::Trim(text);
  const size_t blank = rest.find(' ');
  const std::string datePart = rest.substr(0, blank);
  std::string timePart = blank == std::string::npos ? "" : text::Trim(rest.substr(blank));

  // The order of the fields as the short date picture names them: d, M and y.
  std::string order;
  for (char c : format.shortDate) {
    char field = text::LowerAscii(c);
    if ((field == 'd' || field == 'm' || field == 'y') && order.find(field) == std::string::npos) order += field;
  }
  if (order.size() != 3) order = "mdy";

  std::vector<std::string> fields = Split(datePart, format.dateSeparator);
  int year = today.year, month = 0, day = 0;
  bool yearGiven = fields.size() == 3;
  if (!yearGiven) {
    if (fields.size() != 2) return std::nullopt;
    order.erase(order.find('y'), 1);
  }
  for (size_t i = 0; i < fields.size(); ++i) {
    std::optional<int> value = Number(fields[i]);
    if (!value) return std::nullopt;
    if (order[i] == 'd') day = *value;
    else if (order[i] == 'm') month = *value;
    else if (fields[i].size() <= 2) {
      // A two-digit year: the one of that ending within 50 years of today.
      year = today.year / 100 * 100 + *value;
      if (year < today.year - 50) year += 100;
      else if (year > today.year + 50) year -= 100;
    } else {
      year = *value;
    }
  }

  int hour = 0, minute = 0, second = 0;
  if (!timePart.empty()) {
    const bool pm = CutDesignator(timePart, format.pm);
    const bool am = !pm && CutDesignator(timePart, format.am);
    std::vector<std::string> parts = Split(timePart, format.timeSeparator);
    if (parts.size() > 3) return std::nullopt;
    int* targets[] = {&hour, &minute, &second};
    for (size_t i = 0; i < parts.size(); ++i) {
      std::optional<int> value = Number(text::Trim(parts[i]));
      if (!value) return std::nullopt;
      *targets[i] = *value;
    }
    if (am || pm) {
      if (hour < 1 || hour > 12) return std::nullopt;
      hour = hour % 12 + (pm ? 12 : 0);
    }
  }
  return EncodeDateTime(year, month, day, hour, minute, second);
}
