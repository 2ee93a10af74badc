#pragma once
/// \file
/// The helper library's time of day. Part of the platform contract the library relies on.
/// \ingroup platform

#include <boost/optional.hpp>

#include "QuorHelper/Export.h"

namespace QuorApp {

/// Weekday as the KNX time of day counts it; 0 = no day.
/// \ingroup platform
enum DayOfWeek : unsigned char {
  NoDay = 0,      ///< No day.
  Monday = 1,     ///< Monday.
  Tuesday = 2,    ///< Tuesday.
  Wednesday = 3,  ///< Wednesday.
  Thursday = 4,   ///< Thursday.
  Friday = 5,     ///< Friday.
  Saturday = 6,   ///< Saturday.
  Sunday = 7,     ///< Sunday.
};

/// A valid time of day with an optional weekday.
/// \ingroup platform
class QUORHELPER_API TimeOfDay {
 public:
  /// Empty unless hour < 24, minute < 60, second < 60 and day <= 7.
  static boost::optional<TimeOfDay> Create(unsigned char hour, unsigned char minute,
                                           unsigned char second, DayOfWeek day);

  /// 0..23.
  unsigned char GetHour() const { return m_hour; }
  /// 0..59.
  unsigned char GetMinute() const { return m_minute; }
  /// 0..59.
  unsigned char GetSecond() const { return m_second; }
  /// The weekday; NoDay when none.
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
