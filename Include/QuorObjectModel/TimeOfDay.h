#pragma once
/// \file
/// Between the helper library's time of day (weekday 0..7) and TEVTIME (weekday mask).
/// \ingroup conversion

#include <string>

#include <boost/optional.hpp>

#include <QuorHelper/TimeOfDay.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/Export.h"

namespace QuorApp {

/// The time of day of time's hour, minute, second and weekday: mask 1, 2, 4, ..., 64 gives
/// day 1..7, any other mask day 0. Empty when the fields are no valid time of day.
/// \ingroup conversion
QUOR_API boost::optional<TimeOfDay> FromTevTime(const TEVTIME& time);
/// The TEVTIME weekday mask of day: 0 gives 0, 1..7 give 2^(n-1); anything else is a bug and
/// ends the process (see QUOR_UNREACHABLE).
/// \ingroup conversion
QUOR_API TevWeekDays::WEEK_DAY_TYPES ToTevWeekday(DayOfWeek day);

/// Every TEVTIME field in storage order, separated by single blanks, numbers in decimal and
/// the flags as 0 or 1: the middle of the "Could not convert TEVTIME ... to TimeOfDay" lines.
/// \ingroup conversion
QUOR_API std::string FormatTevTimeFields(const TEVTIME& time);

}  // namespace QuorApp
