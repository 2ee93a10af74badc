#include <Quor/TevValueHelper.h>

#include <cstdint>
#include <ctime>

#include <utf8.h>
#include <boost/date_time/posix_time/conversion.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>

#include <Quor/Assert.h>
#include <Quor/Unreachable.h>

#include "QuorObjectModel/Helpers/KnxTimeOfDay.h"
#include "QuorObjectModel/TimeOfDay.h"

namespace Quor {

namespace {

// The natural value of each input type: its value type and the one storage member it writes.
TEVVALUE Natural(bool value) {
  TEVVALUE result(tvtBoolean);
  result.value.boolValue = value;
  return result;
}
TEVVALUE Natural(unsigned char value) {
  TEVVALUE result(tvtByte);
  result.value.byteValue = value;
  return result;
}
TEVVALUE Natural(unsigned short value) {
  TEVVALUE result(tvtWord);
  result.value.dwordValue = value;
  return result;
}
TEVVALUE Natural(unsigned long value) {
  TEVVALUE result(tvtDWord);
  result.value.dwordValue = static_cast<std::uint32_t>(value);
  return result;
}
TEVVALUE Natural(short value) {
  TEVVALUE result(tvtInteger);
  result.value.intValue = value;
  return result;
}
TEVVALUE Natural(long value) {
  TEVVALUE result(tvtInteger);
  result.value.intValue = static_cast<std::int32_t>(value);
  return result;
}
TEVVALUE Natural(float value) {
  TEVVALUE result(tvtFloat);
  result.value.doubleValue = value;
  return result;
}
TEVVALUE Natural(double value) {
  TEVVALUE result(tvtFloat);
  result.value.doubleValue = value;
  return result;
}
TEVVALUE Natural(const std::string& value) {
  TEVVALUE result(tvtString);
  result.stringValue = value;
  return result;
}

namespace Check {

// A plain function, not a specialisation, so that a failure is reported as ToTevValue.
TEVVALUE ToTevValue(TEVVALUE result, TevValueType expectedType) {
  QUOR_ASSERT2(result.tvt == expectedType);
  return result;
}

}  // namespace Check

}  // namespace

#define QUOR_TO_TEV_VALUE(T)                                          \
  template <>                                                         \
  TEVVALUE ToTevValue<T>(const T& value, TevValueType expectedType) { \
    return Check::ToTevValue(Natural(value), expectedType);           \
  }

QUOR_TO_TEV_VALUE(bool)
QUOR_TO_TEV_VALUE(unsigned char)
QUOR_TO_TEV_VALUE(unsigned short)
QUOR_TO_TEV_VALUE(unsigned long)
QUOR_TO_TEV_VALUE(short)
QUOR_TO_TEV_VALUE(long)
QUOR_TO_TEV_VALUE(float)
QUOR_TO_TEV_VALUE(double)
QUOR_TO_TEV_VALUE(std::string)

#undef QUOR_TO_TEV_VALUE

TEVVALUE ToTevValue(const std::string& value, TevValueType expectedType) {
  QUOR_ASSERT2(utf8::is_valid(value.begin(), value.end()));
  return ToTevValue<std::string>(value, expectedType);
}

// Special values: not-a-date-time and +infinity compare after the limit and give the empty
// value; -infinity makes boost's to_tm throw std::out_of_range to the caller.
TEVVALUE ToTevValue(const boost::posix_time::ptime& value, TevValueType type) {
  // The last second a signed 32-bit count of seconds since 1970 reaches.
  static const boost::posix_time::ptime kLastTime32(boost::gregorian::date(2038, 1, 19),
                                                    boost::posix_time::time_duration(3, 14, 7));
  TEVVALUE result;
  if (value > kLastTime32) {
    return result;
  }
  result.tvt = type;
  std::tm broken = boost::posix_time::to_tm(value);
  // The device counts seconds in a 32-bit time_t: its mktime answers -1 for a time it cannot
  // count (before 1901-12-13 20:45:52 UTC, so the 1900 default among them). A wider host
  // gives the device's answer.
  const std::time_t seconds = std::mktime(&broken);
  result.value.timeValue =
      static_cast<std::int32_t>(seconds) == seconds ? static_cast<long>(seconds) : -1L;
  return result;
}

TEVVALUE ToTevValue(const QuorApp::TimeOfDay& value, TevValueType expectedType) {
  QUOR_ASSERT2(expectedType == tvtDayTime);
  TEVVALUE result;
  result.tvt = tvtDayTime;
  result.value.timeValue = ToTevTime(value);
  return result;
}

UTF8String RepairUTF8(std::string text) {
  if (utf8::is_valid(text.begin(), text.end())) {
    return UndefinedBehaviourIfNone(UTF8String::FromString(std::move(text)));
  }
  // The NUL after the text makes a sequence cut off at the very end a replaceable one too.
  text.push_back('\0');
  std::string repaired;
  repaired.reserve(text.size());
  utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(repaired), '?');
  if (!repaired.empty() && repaired.back() == '\0') {
    repaired.pop_back();
  }
  return UndefinedBehaviourIfNone(UTF8String::FromString(std::move(repaired)));
}

}  // namespace Quor
