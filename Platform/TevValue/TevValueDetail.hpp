#pragma once
// Private to the value library (the .hpp suffix keeps it out of the installed headers):
// which storage member each value type uses, and the number/date text helpers shared by
// the text and the byte-array forms.

#include <cstdint>
#include <string>

#include "TevValue/TevValue.h"

namespace TevValueDetail {

// The storage member a value type lives in. Types that the callers only compare by number
// share the member of the type they are compatible with.
enum class Payload {
  None,  // tvtInvalid, tvtEmpty: no payload
  Boolean,
  Float,   // doubleValue
  Signed,  // intValue
  Byte,
  Word,
  DWord,
  String,
  Date,      // timeValue, date part
  Time,      // timeValue, time part
  DateTime,  // timeValue, both parts
  DayTime,   // timeValue, time part and weekday
};

struct TypeInfo {
  TevValueType tvt;
  const char* name;
  Payload payload;
};

// Nullptr for a number that is no value type of this library.
const TypeInfo* FindType(int32_t tvt);

// Day number 1 (Monday) .. 7 (Sunday) of a mask with exactly one day bit, else 0.
int DayFromWeekdayMask(uint16_t mask);
// Mask of the Gregorian date's weekday; NONE for an invalid date.
uint16_t WeekdayMaskOfDate(int year, int month, int day);

// Shortest decimal text that reads back as the same double; fixed notation for moderate
// magnitudes, scientific otherwise; "nan", "inf", "-inf" for the special values.
void AppendDouble(std::string& text, double value);
// Strict reading of AppendDouble's forms (optional sign, digits, point, exponent, or one of
// the three special names). Out of range numbers become +-inf or +-0 when saturate is set,
// otherwise they are refused.
bool ParseDouble(const char* first, const char* last, double& value, bool saturate);

}  // namespace TevValueDetail
