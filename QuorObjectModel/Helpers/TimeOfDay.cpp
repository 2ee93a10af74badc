#include "QuorObjectModel/TimeOfDay.h"

#include <algorithm>
#include <iterator>
#include <sstream>

#include <Quor/Unreachable.h>

namespace QuorApp {

namespace {

// Weekday mask of each day number; the index is the DayOfWeek.
constexpr TevWeekDays::WEEK_DAY_TYPES kWeekdayMasks[] = {
    TevWeekDays::NONE,       // NoDay
    TevWeekDays::MONDAY,     // Monday
    TevWeekDays::TUESDAY,    // Tuesday
    TevWeekDays::WEDNESDAY,  // Wednesday
    TevWeekDays::THURSDAY,   // Thursday
    TevWeekDays::FRIDAY,     // Friday
    TevWeekDays::SATURDAY,   // Saturday
    TevWeekDays::SUNDAY,     // Sunday
};

}  // namespace

boost::optional<TimeOfDay> FromTevTime(const TEVTIME& time) {
  // A mask that is not exactly one day (none, several, unknown bits) means no day.
  const auto* const begin = std::begin(kWeekdayMasks);
  const auto* const found = std::find(begin, std::end(kWeekdayMasks), time.weekday);
  const auto day = found == std::end(kWeekdayMasks) ? NoDay : static_cast<DayOfWeek>(found - begin);
  return TimeOfDay::Create(time.hour, time.minute, time.second, day);
}

TevWeekDays::WEEK_DAY_TYPES ToTevWeekday(DayOfWeek day) {
  if (day >= std::size(kWeekdayMasks)) {
    QUOR_UNREACHABLE();
  }
  return kWeekdayMasks[day];
}

std::string FormatTevTimeFields(const TEVTIME& time) {
  std::ostringstream text;
  text << time.year << ' ' << unsigned{time.month} << ' ' << unsigned{time.day} << ' '
       << unsigned{time.hour} << ' ' << unsigned{time.minute} << ' ' << unsigned{time.second} << ' '
       << unsigned{time.hundredths} << ' ' << time.weekday << ' ' << time.kind << ' '
       << int{time.localTime} << ' ' << int{time.daylightSaving};
  return text.str();
}

}  // namespace QuorApp
