#pragma once
// Between the helper library's time of day (weekday 0..7) and TEVTIME (weekday mask).

#include <string>

#include <boost/optional.hpp>

#include <QuorHelper/TimeOfDay.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/Export.h"

namespace QuorApp {

// Mask 1, 2, 4, ..., 64 gives day 1..7; any other mask gives day 0.
QUOR_API boost::optional<TimeOfDay> FromTevTime(const TEVTIME& time);
// 0 gives 0, 1..7 give 2^(n-1); anything else ends the process.
QUOR_API TevWeekDays::WEEK_DAY_TYPES ToTevWeekday(DayOfWeek day);

// Every TEVTIME field in storage order, separated by single blanks, numbers in decimal and
// the flags as 0 or 1: the middle of the "Could not convert TEVTIME ... to TimeOfDay" lines.
QUOR_API std::string FormatTevTimeFields(const TEVTIME& time);

}  // namespace QuorApp
