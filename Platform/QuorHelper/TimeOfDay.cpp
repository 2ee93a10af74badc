#include "QuorHelper/TimeOfDay.h"

namespace QuorApp {

boost::optional<TimeOfDay> TimeOfDay::Create(unsigned char hour, unsigned char minute,
                                             unsigned char second, DayOfWeek day) {
  if (hour > 23 || minute > 59 || second > 59 || day > Sunday) {
    return boost::none;
  }
  return TimeOfDay(hour, minute, second, day);
}

}  // namespace QuorApp
