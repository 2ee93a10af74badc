#pragma once

#include <boost/optional.hpp>

#include "QuorHelper/Export.h"

namespace QuorApp {

// Weekday as the KNX time of day counts it; 0 = no day.
enum DayOfWeek : unsigned char {
  NoDay = 0,
  Monday = 1,
  Tuesday = 2,
  Wednesday = 3,
  Thursday = 4,
  Friday = 5,
  Saturday = 6,
  Sunday = 7,
};

class QUORHELPER_API TimeOfDay {
 public:
  // Empty unless hour < 24, minute < 60, second < 60 and day <= 7.
  static boost::optional<TimeOfDay> Create(unsigned char hour, unsigned char minute,
                                           unsigned char second, DayOfWeek day);

  unsigned char GetHour() const { return m_hour; }
  unsigned char GetMinute() const { return m_minute; }
  unsigned char GetSecond() const { return m_second; }
  DayOfWeek GetWeekday() const { return m_day; }

 private:
  TimeOfDay(unsigned char hour, unsigned char minute, unsigned char second, DayOfWeek day)
      : m_hour(hour), m_minute(minute), m_second(second), m_day(day) {}

  unsigned char m_hour;
  unsigned char m_minute;
  unsigned char m_second;
  DayOfWeek m_day;
};

}  // namespace QuorApp
