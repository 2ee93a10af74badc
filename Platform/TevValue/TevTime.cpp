// TEVTIME: Gregorian date checks, weekday derivation and the bridge to std::tm.

#include <ctime>
#include <limits>

#include "TevValue/TevValue.h"
#include "TevValue/TevValueDetail.hpp"

namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a valid proleptic Gregorian date.
long DaysFromCivil(int year, int month, int day) {
  const long y = year - (month <= 2 ? 1 : 0);
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yearOfEra = y - era * 400;
  const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// 0 = Sunday .. 6 = Saturday, as in std::tm.
int TmWeekday(long daysSinceEpoch) {
  const long weekday = (daysSinceEpoch + 4) % 7;  // 1970-01-01 was a Thursday
  return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

uint16_t MaskFromTmWeekday(int tmWeekday) {
  return static_cast<uint16_t>(1u << ((tmWeekday + 6) % 7));
}

}  // namespace

namespace TevValueDetail {

int DayFromWeekdayMask(uint16_t mask) {
  for (int day = 1; day <= 7; ++day) {
    if (mask == (1u << (day - 1))) {
      return day;
    }
  }
  return 0;
}

uint16_t WeekdayMaskOfDate(int year, int month, int day) {
  if (!TEVTIME::IsValidDate(year, month, day)) {
    return TevWeekDays::NONE;
  }
  return MaskFromTmWeekday(TmWeekday(DaysFromCivil(year, month, day)));
}

}  // namespace TevValueDetail

void TEVTIME::Clear(bool local) {
  *this = TEVTIME{};
  localTime = local;
}

bool TEVTIME::IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

bool TEVTIME::IsValidTime(int hour, int minute, int second) {
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

// An invalid date is stored as given, with no weekday: the caller checks validity.
void TEVTIME::SetDate(unsigned short y, unsigned char m, unsigned char d, bool local) {
  year = y;
  month = m;
  day = d;
  weekday = TevValueDetail::WeekdayMaskOfDate(y, m, d);
  kind = 1;
  localTime = local;
}

void TEVTIME::SetDateTime(unsigned short y, unsigned char m, unsigned char d, unsigned char h,
                          unsigned char min, unsigned char s, bool local) {
  SetDate(y, m, d, local);
  hour = h;
  minute = min;
  second = s;
  hundredths = 0;
}

std::tm TEVTIME::ToTm() const {
  std::tm result{};
  result.tm_year = year - 1900;
  result.tm_mon = month - 1;
  result.tm_mday = day;
  result.tm_hour = hour;
  result.tm_min = minute;
  result.tm_sec = second;
  result.tm_isdst = -1;
  // For an invalid date the derived fields stay 0; mktime recomputes them anyway.
  if (IsValidDate(year, month, day)) {
    const long days = DaysFromCivil(year, month, day);
    result.tm_wday = TmWeekday(days);
    result.tm_yday = static_cast<int>(days - DaysFromCivil(year, 1, 1));
  }
  return result;
}

// Seconds that localtime cannot break down, or whose year does not fit the 16-bit field,
// leave a cleared local time.
TEVTIME& TEVTIME::operator=(long secondsSinceEpoch) {
  Clear(true);
  const std::time_t seconds = static_cast<std::time_t>(secondsSinceEpoch);
  std::tm broken{};
  if (localtime_r(&seconds, &broken) == nullptr) {
    return *this;
  }
  const long fullYear = static_cast<long>(broken.tm_year) + 1900;
  if (fullYear < 0 || fullYear > std::numeric_limits<uint16_t>::max()) {
    return *this;
  }
  year = static_cast<uint16_t>(fullYear);
  month = static_cast<uint8_t>(broken.tm_mon + 1);
  day = static_cast<uint8_t>(broken.tm_mday);
  hour = static_cast<uint8_t>(broken.tm_hour);
  minute = static_cast<uint8_t>(broken.tm_min);
  second = static_cast<uint8_t>(broken.tm_sec);
  weekday = MaskFromTmWeekday(broken.tm_wday);
  kind = 1;
  daylightSaving = broken.tm_isdst > 0;
  return *this;
}
