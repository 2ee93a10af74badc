#pragma once
// A time of day (DPT 10.001) between the KNX stack's fields, the helper library's TimeOfDay and
// TEVTIME, for the DPT table's converter and the direct conversion alike (not part of the API).
// Both weekday enumerations count 0 = no day, 1..7 = Monday..Sunday.

#include <boost/optional.hpp>

#include <KnxStack/GroupValue.h>
#include <QuorHelper/TimeOfDay.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/TimeOfDay.h"

namespace Quor {

inline void SetTimeOfDay(KnxStack::GroupValue& group, const QuorApp::TimeOfDay& timeOfDay) {
  group.SetAsTimeOfDay(timeOfDay.GetHour(), timeOfDay.GetMinute(), timeOfDay.GetSecond(),
                       static_cast<KnxStack::GroupValue::DayOfWeek>(timeOfDay.GetWeekday()));
}

// The stack's fields as received, and the time of day they make (none for an invalid one).
struct ReceivedTimeOfDay {
  int hour = 0;
  int minute = 0;
  int second = 0;
  KnxStack::GroupValue::DayOfWeek day = KnxStack::GroupValue::NoDay;
  boost::optional<QuorApp::TimeOfDay> timeOfDay;
};

inline ReceivedTimeOfDay ReadTimeOfDay(const KnxStack::GroupValue& group) {
  ReceivedTimeOfDay received;
  group.GetAsTimeOfDay(received.hour, received.minute, received.second, received.day);
  received.timeOfDay = QuorApp::TimeOfDay::Create(
      static_cast<unsigned char>(received.hour), static_cast<unsigned char>(received.minute),
      static_cast<unsigned char>(received.second), static_cast<QuorApp::DayOfWeek>(received.day));
  return received;
}

// On 2000-01-01, the weekday as a mask and meaningful, in UTC.
inline TEVTIME ToTevTime(const QuorApp::TimeOfDay& timeOfDay) {
  TEVTIME time{};
  time.year = 2000;
  time.month = 1;
  time.day = 1;
  time.hour = timeOfDay.GetHour();
  time.minute = timeOfDay.GetMinute();
  time.second = timeOfDay.GetSecond();
  time.hundredths = 0;
  time.weekday = QuorApp::ToTevWeekday(timeOfDay.GetWeekday());
  time.kind = 1;
  time.localTime = false;
  time.daylightSaving = false;
  return time;
}

}  // namespace Quor
