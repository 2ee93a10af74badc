// Converters for dates (11.001), times of day (10.001) and date-times (19.001).

#include <exception>

#include <Quor/Log.h>

#include "QuorObjectModel/Converters/ConverterTrace.h"
#include "QuorObjectModel/Converters/KnxConverterDetail.h"
#include "QuorObjectModel/Helpers/KnxTimeOfDay.h"
#include "QuorObjectModel/KnxConverter.h"
#include "QuorObjectModel/TimeOfDay.h"
#include "QuorObjectModel/Wire/KnxWireFormat.h"

namespace Quor {

bool KnxConverterDate::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                  KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  try {
    if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 11, dpt.subNumber == 1,
                                       value.tvt == tvtDate)) {
      QUOR_LOG_ERROR("Wrong DPT main number (11.001) or tev value type (tvtDate)!");
      return false;
    }
    const TEVTIME& date = value.value.timeValue;
    if (static_cast<unsigned>(date.year - Knx::kFirstDateYear) >= Knx::kDateYears) {
      QUOR_LOG_ERROR("Cannot convert the date outside of the range [1990...2089]: year="
                     << date.year << ", month=" << date.month << ", day=" << date.day);
      return false;
    }
    group.SetAsDate(date.day, date.month, date.year);
    return true;
  } catch (const std::exception& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of date: " << e.what());
    return false;
  }
}

bool KnxConverterDate::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                    TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  try {
    if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 11, dpt.subNumber == 1)) {
      QUOR_LOG_ERROR("Wrong DPT main number (11.001)!");
      return false;
    }
    if ((group.GetRawData().GetUInt24Value(0) & Knx::kDateReservedBits) != 0) {
      QUOR_LOG_ERROR("No valid Date datagram, reserved fields are not zero!");
      return false;
    }
    int day = 0;
    int month = 0;
    int year = 0;
    group.GetAsDate(day, month, year);
    if (!TEVTIME::IsValidDate(year, month, day)) {
      QUOR_LOG_ERROR("Cannot convert invalid date: year=" << year << ", month=" << month
                                                          << ", day=" << day);
      return false;
    }
    TEVTIME& date = value.value.timeValue;
    date.Clear(true);
    date.SetDate(static_cast<unsigned short>(year), static_cast<unsigned char>(month),
                 static_cast<unsigned char>(day), true);
    value.tvt = tvtDate;
    return true;
  } catch (const std::exception& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of date: " << e.what());
    return false;
  }
}

bool KnxConverterTimeOfDay::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                       KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 10, dpt.subNumber == 1,
                                     value.tvt == tvtDayTime)) {
    QUOR_LOG_ERROR("Wrong DPT main number (10.001) or tev value type (tvtDayTime)!");
    return false;
  }
  const TEVTIME& time = value.value.timeValue;
  const auto timeOfDay = QuorApp::FromTevTime(time);
  if (!timeOfDay) {
    QUOR_LOG_ERROR("Could not convert TEVTIME " << QuorApp::FormatTevTimeFields(time)
                                                << " to TimeOfDay");
    return false;
  }
  SetTimeOfDay(group, *timeOfDay);
  return true;
}

bool KnxConverterTimeOfDay::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                         TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 10, dpt.subNumber == 1)) {
    QUOR_LOG_ERROR("Wrong DPT main number (10.001)!");
    return false;
  }
  if ((group.GetRawData().GetUInt24Value(0) & Knx::kTimeOfDayReservedBits) != 0) {
    QUOR_LOG_ERROR("No valid TimeOfDay datagram, reserved fields are not zero!");
    return false;
  }
  const auto timeOfDay = ReadTimeOfDay(group).timeOfDay;
  if (!timeOfDay) {
    QUOR_LOG_ERROR("No valid TimeOfDay (10.001)!");
    return false;
  }
  value.tvt = tvtDayTime;
  value.value.timeValue = ToTevTime(*timeOfDay);
  return true;
}

bool KnxConverterDateTime::ToKnxValue(const KNXDPT& /*dpt*/, const TEVVALUE& value,
                                      KnxStack::GroupValue& group) {
  try {
    const TEVTIME& time = value.value.timeValue;
    if (static_cast<unsigned>(time.year - Knx::kFirstDateTimeYear) >= Knx::kDateTimeYears) {
      QUOR_LOG_ERROR("Cannot convert the date and time outside of the range [1900...2155]: year="
                     << time.year);
      return false;
    }
    // The weekday is not sent.
    group = Knx::DateTimeGroupValue(Knx::WriteDateTimeFields(
        {time.year, time.month, time.day, time.hour, time.minute, time.second}));
    return true;
  } catch (const std::exception& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of date and time: " << e.what());
    return false;
  }
}

bool KnxConverterDateTime::FromKnxValue(const KNXDPT& /*dpt*/, const KnxStack::GroupValue& group,
                                        TEVVALUE& value) {
  try {
    // A named record, not a structured binding: a C++17 lambda (the log line) cannot capture
    // one.
    const Knx::DateTimeFields f = Knx::ReadDateTimeFields(group.GetRawData());
    if (!TEVTIME::IsValidDate(f.year, f.month, f.day) ||
        !TEVTIME::IsValidTime(f.hour, f.minute, f.second)) {
      QUOR_LOG_ERROR("Cannot convert invalid date and time: year="
                     << f.year << ", month=" << f.month << ", day=" << f.day << ", hour=" << f.hour
                     << ", minute=" << f.minute << ", second=" << f.second);
      return false;
    }
    TEVTIME& time = value.value.timeValue;
    time.Clear(true);
    time.SetDateTime(static_cast<unsigned short>(f.year), static_cast<unsigned char>(f.month),
                     static_cast<unsigned char>(f.day), static_cast<unsigned char>(f.hour),
                     static_cast<unsigned char>(f.minute), static_cast<unsigned char>(f.second),
                     true);
    return true;
  } catch (const std::exception& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of date and time: " << e.what());
    return false;
  }
}

}  // namespace Quor
