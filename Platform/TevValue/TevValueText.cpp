// The two text forms of TEVVALUE.
//
// Internal form: "<tvt>.7:<payload>", lossless for every value of a known type:
//   tvtInvalid, tvtEmpty    nothing
//   boolean                 "true" / "false"
//   float kinds             shortest round-trip decimal, "nan", "inf", "-inf" (-0.0 is "-0";
//                           every NaN is "nan", its payload bits are not kept)
//   integer kinds           decimal
//   tvtString               the bytes verbatim, NULs and invalid UTF-8 included
//   date and time kinds     every TEVTIME field:
//                           "YYYY-MM-DDTHH:MM:SS.hh <weekday> <kind> <localTime> <dst>"
// Plain form: the readable value alone; its type is inferred when read back, so it keeps
// the value but not always the type (2.0 reads back as the integer 2, a time as a day time).

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "TevValue/TevValue.h"
#include "TevValue/TevValueDetail.hpp"

namespace {

using TevValueDetail::Payload;

constexpr char kInternalMarker[] = ".7:";
constexpr std::size_t kInternalMarkerLength = sizeof kInternalMarker - 1;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

template <class Integer>
void AppendInteger(std::string& text, Integer number) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  text.append(buffer, result.ptr);
}

void AppendFields(std::string& text, const char* format, unsigned a, unsigned b, unsigned c) {
  char buffer[32];
  const int written = std::snprintf(buffer, sizeof buffer, format, a, b, c);
  text.append(buffer, static_cast<std::size_t>(written));
}

void AppendDate(std::string& text, const TEVTIME& time) {
  AppendFields(text, "%04u-%02u-%02u", time.year, time.month, time.day);
}

void AppendTime(std::string& text, const TEVTIME& time) {
  AppendFields(text, "%02u:%02u:%02u", time.hour, time.minute, time.second);
}

void AppendPlain(std::string& text, const TEVVALUE& value, Payload payload) {
  const TEVTIME& time = value.value.timeValue;
  switch (payload) {
    case Payload::None:
      text += value.tvt == tvtInvalid ? "invalid" : "";
      return;
    case Payload::Boolean:
      text += value.value.boolValue ? "true" : "false";
      return;
    case Payload::Float:
      TevValueDetail::AppendDouble(text, value.value.doubleValue);
      return;
    case Payload::Signed:
      AppendInteger(text, value.value.intValue);
      return;
    case Payload::Byte:
      AppendInteger(text, value.value.byteValue);
      return;
    case Payload::Word:
      AppendInteger(text, value.value.wordValue);
      return;
    case Payload::DWord:
      AppendInteger(text, value.value.dwordValue);
      return;
    case Payload::String:
      text += value.stringValue;
      return;
    case Payload::Date:
      AppendDate(text, time);
      return;
    case Payload::Time:
      AppendTime(text, time);
      return;
    case Payload::DateTime:
      AppendDate(text, time);
      text += 'T';
      AppendTime(text, time);
      return;
    case Payload::DayTime:
      AppendTime(text, time);
      if (const int day = TevValueDetail::DayFromWeekdayMask(time.weekday); day != 0) {
        text += '@';
        text += static_cast<char>('0' + day);
      }
      return;
  }
}

bool IsTimePayload(Payload payload) {
  return payload == Payload::Date || payload == Payload::Time || payload == Payload::DateTime ||
         payload == Payload::DayTime;
}

void AppendAllTimeFields(std::string& text, const TEVTIME& time) {
  AppendDate(text, time);
  text += 'T';
  AppendTime(text, time);
  char buffer[48];
  const int written =
      std::snprintf(buffer, sizeof buffer, ".%02u %u %u %u %u", time.hundredths, time.weekday,
                    time.kind, time.localTime ? 1u : 0u, time.daylightSaving ? 1u : 0u);
  text.append(buffer, static_cast<std::size_t>(written));
}

// Reads unsigned decimal fields of a text one after the other.
class Cursor {
 public:
  Cursor(const char* first, const char* last) : m_position(first), m_last(last) {}

  bool Number(unsigned long max, unsigned long& number) {
    const auto result = std::from_chars(m_position, m_last, number);
    if (result.ec != std::errc() || result.ptr == m_position || number > max) {
      return false;
    }
    m_position = result.ptr;
    return true;
  }

  // Exactly width digits.
  bool Digits(int width, int& number) {
    if (m_last - m_position < width) {
      return false;
    }
    number = 0;
    for (int i = 0; i < width; ++i, ++m_position) {
      if (!IsDigit(*m_position)) {
        return false;
      }
      number = number * 10 + (*m_position - '0');
    }
    return true;
  }

  bool Literal(char c) {
    if (m_position == m_last || *m_position != c) {
      return false;
    }
    ++m_position;
    return true;
  }

  bool AtEnd() const { return m_position == m_last; }

 private:
  const char* m_position;
  const char* m_last;
};

bool ReadAllTimeFields(const char* first, const char* last, TEVTIME& time) {
  Cursor cursor(first, last);
  unsigned long f[11];
  const bool read = cursor.Number(0xFFFF, f[0]) && cursor.Literal('-') &&
                    cursor.Number(0xFF, f[1]) && cursor.Literal('-') && cursor.Number(0xFF, f[2]) &&
                    cursor.Literal('T') && cursor.Number(0xFF, f[3]) && cursor.Literal(':') &&
                    cursor.Number(0xFF, f[4]) && cursor.Literal(':') && cursor.Number(0xFF, f[5]) &&
                    cursor.Literal('.') && cursor.Number(0xFF, f[6]) && cursor.Literal(' ') &&
                    cursor.Number(0xFFFF, f[7]) && cursor.Literal(' ') &&
                    cursor.Number(0xFFFF, f[8]) && cursor.Literal(' ') && cursor.Number(1, f[9]) &&
                    cursor.Literal(' ') && cursor.Number(1, f[10]) && cursor.AtEnd();
  if (!read) {
    return false;
  }
  time.year = static_cast<uint16_t>(f[0]);
  time.month = static_cast<uint8_t>(f[1]);
  time.day = static_cast<uint8_t>(f[2]);
  time.hour = static_cast<uint8_t>(f[3]);
  time.minute = static_cast<uint8_t>(f[4]);
  time.second = static_cast<uint8_t>(f[5]);
  time.hundredths = static_cast<uint8_t>(f[6]);
  time.weekday = static_cast<uint16_t>(f[7]);
  time.kind = static_cast<uint16_t>(f[8]);
  time.localTime = f[9] != 0;
  time.daylightSaving = f[10] != 0;
  return true;
}

// Optional '-' then digits, nothing else.
bool ReadSigned(const char* first, const char* last, long long& number) {
  const auto result = std::from_chars(first, last, number);
  return result.ec == std::errc() && result.ptr == last;
}

bool ReadIntegerPayload(const char* first, const char* last, Payload payload, TEVVALUE& value) {
  long long number = 0;
  if (!ReadSigned(first, last, number)) {
    return false;
  }
  const auto within = [number](long long low, long long high) {
    return number >= low && number <= high;
  };
  switch (payload) {
    case Payload::Signed:
      value.value.intValue = static_cast<int32_t>(number);
      return within(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    case Payload::Byte:
      value.value.byteValue = static_cast<uint8_t>(number);
      return within(0, 0xFF);
    case Payload::Word:
      value.value.wordValue = static_cast<uint16_t>(number);
      return within(0, 0xFFFF);
    case Payload::DWord:
      value.value.dwordValue = static_cast<uint32_t>(number);
      return within(0, 0xFFFFFFFFLL);
    default:
      return false;
  }
}

bool ReadInternalPayload(const char* first, const char* last, Payload payload, TEVVALUE& value) {
  const std::string_view text(first, static_cast<std::size_t>(last - first));
  switch (payload) {
    case Payload::None:
      return text.empty();
    case Payload::Boolean:
      value.value.boolValue = text == "true";
      return text == "true" || text == "false";
    case Payload::Float:
      return TevValueDetail::ParseDouble(first, last, value.value.doubleValue, false);
    case Payload::Signed:
    case Payload::Byte:
    case Payload::Word:
    case Payload::DWord:
      return ReadIntegerPayload(first, last, payload, value);
    case Payload::String:
      value.stringValue.assign(first, last);
      return true;
    case Payload::Date:
    case Payload::Time:
    case Payload::DateTime:
    case Payload::DayTime:
      return ReadAllTimeFields(first, last, value.value.timeValue);
  }
  return false;
}

// "<digits>.7:" at the start: the type number and where the payload begins.
bool SplitInternal(const std::string& text, int32_t& tvt, std::size_t& payloadStart) {
  const char* const first = text.data();
  const char* const last = first + text.size();
  const auto result = std::from_chars(first, last, tvt);
  if (result.ec != std::errc() || result.ptr == first || !IsDigit(*first) ||
      static_cast<std::size_t>(last - result.ptr) < kInternalMarkerLength ||
      std::string_view(result.ptr, kInternalMarkerLength) != kInternalMarker) {
    return false;
  }
  payloadStart = static_cast<std::size_t>(result.ptr - first) + kInternalMarkerLength;
  return true;
}

// Plain number: a decimal integer is the smallest of int32, uint32, double that holds it.
bool InferNumber(const std::string& text, TEVVALUE& value) {
  const char* first = text.data();
  const char* const last = first + text.size();
  const char* digits = first + ((*first == '+' || *first == '-') ? 1 : 0);
  const bool integral = digits != last && std::all_of(digits, last, IsDigit);
  long long number = 0;
  if (integral && ReadSigned(*first == '+' ? digits : first, last, number)) {
    if (number >= std::numeric_limits<int32_t>::min() &&
        number <= std::numeric_limits<int32_t>::max()) {
      value = TEVVALUE(tvtInteger);
      value.value.intValue = static_cast<int32_t>(number);
      return true;
    }
    if (number >= 0 && number <= 0xFFFFFFFFLL) {
      value = TEVVALUE(tvtDWord);
      value.value.dwordValue = static_cast<uint32_t>(number);
      return true;
    }
  }
  double floating = 0.0;
  if (!TevValueDetail::ParseDouble(first, last, floating, true)) {
    return false;
  }
  value = TEVVALUE(tvtFloat);
  value.value.doubleValue = floating;
  return true;
}

bool ReadPlainDate(Cursor& cursor, TEVTIME& time) {
  int year = 0, month = 0, day = 0;
  if (!(cursor.Digits(4, year) && cursor.Literal('-') && cursor.Digits(2, month) &&
        cursor.Literal('-') && cursor.Digits(2, day) && TEVTIME::IsValidDate(year, month, day))) {
    return false;
  }
  time.SetDate(static_cast<unsigned short>(year), static_cast<unsigned char>(month),
               static_cast<unsigned char>(day), true);
  return true;
}

bool ReadPlainTime(Cursor& cursor, TEVTIME& time) {
  int hour = 0, minute = 0, second = 0;
  if (!(cursor.Digits(2, hour) && cursor.Literal(':') && cursor.Digits(2, minute) &&
        cursor.Literal(':') && cursor.Digits(2, second) &&
        TEVTIME::IsValidTime(hour, minute, second))) {
    return false;
  }
  time.hour = static_cast<uint8_t>(hour);
  time.minute = static_cast<uint8_t>(minute);
  time.second = static_cast<uint8_t>(second);
  return true;
}

bool InferDate(const std::string& text, TEVVALUE& value) {
  Cursor cursor(text.data(), text.data() + text.size());
  TEVVALUE result(tvtDate);
  if (!ReadPlainDate(cursor, result.value.timeValue) || !cursor.AtEnd()) {
    return false;
  }
  value = result;
  return true;
}

bool InferDateTime(const std::string& text, TEVVALUE& value) {
  Cursor cursor(text.data(), text.data() + text.size());
  TEVVALUE result(tvtDateTime);
  if (!ReadPlainDate(cursor, result.value.timeValue) || !cursor.Literal('T') ||
      !ReadPlainTime(cursor, result.value.timeValue) || !cursor.AtEnd()) {
    return false;
  }
  value = result;
  return true;
}

// A time of day gets the same frame as the object model's day-time values: 2000-01-01,
// kind 1, UTC, no daylight saving; "@D" sets the weekday bit of day D.
bool InferDayTime(const std::string& text, TEVVALUE& value) {
  Cursor cursor(text.data(), text.data() + text.size());
  TEVVALUE result(tvtDayTime);
  TEVTIME& time = result.value.timeValue;
  time.Clear(false);
  time.year = 2000;
  time.month = 1;
  time.day = 1;
  time.kind = 1;
  if (!ReadPlainTime(cursor, time)) {
    return false;
  }
  if (cursor.Literal('@')) {
    int day = 0;
    if (!cursor.Digits(1, day) || day < 1 || day > 7) {
      return false;
    }
    time.weekday = static_cast<uint16_t>(1u << (day - 1));
  }
  if (!cursor.AtEnd()) {
    return false;
  }
  value = result;
  return true;
}

TEVVALUE InferPlain(const std::string& text) {
  if (text.empty()) {
    return TEVVALUE(tvtEmpty);
  }
  if (text == "invalid") {
    return TEVVALUE(tvtInvalid);
  }
  TEVVALUE result(tvtBoolean);
  if (text == "true" || text == "false") {
    result.value.boolValue = text == "true";
    return result;
  }
  if (InferNumber(text, result) || InferDate(text, result) || InferDayTime(text, result) ||
      InferDateTime(text, result)) {
    return result;
  }
  result = TEVVALUE(tvtString);
  result.stringValue = text;
  return result;
}

}  // namespace

bool TEVVALUE::Serialize(std::string& text, bool internalFormat) const {
  text.clear();
  const TevValueDetail::TypeInfo* info = TevValueDetail::FindType(tvt);
  if (info == nullptr) {
    return false;
  }
  if (!internalFormat) {
    AppendPlain(text, *this, info->payload);
    return true;
  }
  AppendInteger(text, static_cast<int32_t>(tvt));
  text += kInternalMarker;
  if (IsTimePayload(info->payload)) {
    AppendAllTimeFields(text, value.timeValue);
  } else if (info->payload != Payload::None) {
    AppendPlain(text, *this, info->payload);
  }
  return true;
}

// A text in the internal form that does not read back leaves tvtInvalid; a plain text always
// reads, as a string if nothing else fits.
bool TEVVALUE::Deserialize(const std::string& text) {
  int32_t number = 0;
  std::size_t payloadStart = 0;
  if (!SplitInternal(text, number, payloadStart)) {
    *this = InferPlain(text);
    return true;
  }
  const TevValueDetail::TypeInfo* info = TevValueDetail::FindType(number);
  TEVVALUE result(static_cast<TevValueType>(number));
  if (info == nullptr || !ReadInternalPayload(text.data() + payloadStart, text.data() + text.size(),
                                              info->payload, result)) {
    *this = TEVVALUE(tvtInvalid);
    return false;
  }
  *this = std::move(result);
  return true;
}
