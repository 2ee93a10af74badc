#pragma once
// Builders and a readable form of values for the direct conversion tests.

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "QuorObjectModel/TimeOfDay.h"
#include "Support/ScopedTimeZone.h"
#include "TextDate/TestValues.h"

namespace DirectTest {

using namespace TextDateTest;

constexpr unsigned long Dpt(unsigned long mainType, unsigned long subType) {
  return (mainType << 16) | subType;
}

// Of the given type with one storage field set; words and double words share the 32 bits.
template <class Field>
TEVVALUE Make(TevValueType tvt, Field TEVVALUE::Storage::*field, Field content) {
  TEVVALUE value(tvt);
  value.value.*field = content;
  return value;
}
inline TEVVALUE Boolean(bool b) {
  return Make(tvtBoolean, &TEVVALUE::Storage::boolValue, b);
}
inline TEVVALUE Byte(uint8_t b) {
  return Make(tvtByte, &TEVVALUE::Storage::byteValue, b);
}
inline TEVVALUE Word(uint32_t u) {
  return Make(tvtWord, &TEVVALUE::Storage::dwordValue, u);
}
inline TEVVALUE DWord(uint32_t u) {
  return Make(tvtDWord, &TEVVALUE::Storage::dwordValue, u);
}
inline TEVVALUE Integer(int32_t i) {
  return Make(tvtInteger, &TEVVALUE::Storage::intValue, i);
}
inline TEVVALUE Float(double d) {
  return Make(tvtFloat, &TEVVALUE::Storage::doubleValue, d);
}

// A local date and time as the platform breaks seconds down: weekday mask, kind 1, local.
inline TEVVALUE Local(TevValueType tvt, unsigned short year, unsigned char month, unsigned char day,
                      unsigned char hour, unsigned char minute, unsigned char second,
                      uint16_t weekday, bool daylightSaving) {
  return Make(tvt, &TEVVALUE::Storage::timeValue,
              TEVTIME{year, month, day, hour, minute, second, 0, weekday, 1, true, daylightSaving});
}

// A time of day as the direct conversion makes it: dated 2000-01-01, not local.
inline TEVVALUE DayTime(unsigned char hour, unsigned char minute, unsigned char second,
                        uint16_t weekday) {
  return Make(tvtDayTime, &TEVVALUE::Storage::timeValue,
              TEVTIME{2000, 1, 1, hour, minute, second, 0, weekday, 1, false, false});
}

// Type and the storage of its kind, so that comparisons ignore bytes a kind does not use.
inline std::string Show(const TEVVALUE& value) {
  std::ostringstream text;
  text << "tvt " << static_cast<int>(value.tvt) << ": " << std::setprecision(17);
  switch (value.tvt) {
    case tvtBoolean:
      return text.str() + std::to_string(value.value.boolValue);
    case tvtByte:
      return text.str() + std::to_string(value.value.byteValue);
    case tvtWord:
    case tvtDWord:
      return text.str() + std::to_string(value.value.dwordValue);
    case tvtInteger:
      return text.str() + std::to_string(value.value.intValue);
    case tvtFloat:
      text << value.value.doubleValue;
      return text.str();
    case tvtString:
      return text.str() + '"' + value.stringValue + '"';
    case tvtDate:
    case tvtDateTime:
    case tvtDayTime:
      return text.str() + QuorApp::FormatTevTimeFields(value.value.timeValue);
    default:
      return text.str();
  }
}

inline std::string DptText(unsigned long dpt) {
  return "DPT " + std::to_string(dpt >> 16) + "." + std::to_string(dpt & 0xFFFF);
}

inline std::pair<int, std::string> Debug(std::string body) {
  return {log4cplus::DEBUG_LOG_LEVEL, std::move(body)};
}

inline std::pair<int, std::string> Warn(std::string body) {
  return {log4cplus::WARN_LOG_LEVEL, std::move(body)};
}

// Captured lines without the timing line of a slow decode, which depends on the machine.
inline Lines LinesOf(const QuorTest::LogCapture& capture) {
  Lines lines = capture.Lines();
  lines.erase(std::remove_if(lines.begin(), lines.end(),
                             [](const auto& line) {
                               return line.second.rfind("Decoding a KNX value took ", 0) == 0;
                             }),
              lines.end());
  return lines;
}

// Every test runs in Central European time, with daylight saving.
class InCentralEurope : public ::testing::Test {
 private:
  QuorTest::ScopedTimeZone m_zone{QuorTest::kCentralEuropeZone};
};

}  // namespace DirectTest
