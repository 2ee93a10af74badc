#pragma once
// Builders, a readable form of values and a fixed time zone for the direct conversion tests.

#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <KnxStack/GroupValue.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/TimeOfDay.h"
#include "Support/LogCapture.h"

namespace DirectTest {

using Bytes = std::vector<unsigned char>;
using Lines = std::vector<std::pair<int, std::string>>;

constexpr unsigned long Dpt(unsigned long mainType, unsigned long subType) {
  return (mainType << 16) | subType;
}

inline KnxStack::GroupValue Group(const Bytes& bytes, unsigned int bits) {
  return {KnxStack::BinaryData(bytes.data(), static_cast<unsigned int>(bytes.size())), bits};
}

inline Bytes RawBytes(const KnxStack::GroupValue& group) {
  const auto& raw = group.GetRawData();
  return Bytes(raw.GetData(), raw.GetData() + raw.GetSize());
}

inline TEVVALUE Boolean(bool b) {
  TEVVALUE value(tvtBoolean);
  value.value.boolValue = b;
  return value;
}

inline TEVVALUE Byte(unsigned char b) {
  TEVVALUE value(tvtByte);
  value.value.byteValue = b;
  return value;
}

// Words and double words live in the 32-bit field.
inline TEVVALUE Unsigned(TevValueType tvt, uint32_t u) {
  TEVVALUE value(tvt);
  value.value.dwordValue = u;
  return value;
}

inline TEVVALUE Integer(int32_t i) {
  TEVVALUE value(tvtInteger);
  value.value.intValue = i;
  return value;
}

inline TEVVALUE Float(double d) {
  TEVVALUE value(tvtFloat);
  value.value.doubleValue = d;
  return value;
}

inline TEVVALUE Text(std::string text) {
  TEVVALUE value(tvtString);
  value.stringValue = std::move(text);
  return value;
}

inline TEVVALUE Time(TevValueType tvt, TEVTIME time) {
  TEVVALUE value(tvt);
  value.value.timeValue = time;
  return value;
}

// A local date and time as the platform breaks seconds down: weekday mask, kind 1, local.
inline TEVTIME Local(unsigned short year, unsigned char month, unsigned char day,
                     unsigned char hour, unsigned char minute, unsigned char second,
                     uint16_t weekday, bool daylightSaving) {
  return TEVTIME{year, month, day, hour, minute, second, 0, weekday, 1, true, daylightSaving};
}

// A time of day as the direct conversion makes it: dated 2000-01-01, not local.
inline TEVTIME DayTime(unsigned char hour, unsigned char minute, unsigned char second,
                       uint16_t weekday) {
  return TEVTIME{2000, 1, 1, hour, minute, second, 0, weekday, 1, false, false};
}

// Type and the storage of its kind, so that comparisons ignore bytes a kind does not use.
inline std::string Show(const TEVVALUE& value) {
  std::ostringstream text;
  text << "tvt " << static_cast<int>(value.tvt) << ": ";
  switch (value.tvt) {
    case tvtBoolean:
      text << value.value.boolValue;
      break;
    case tvtByte:
      text << unsigned{value.value.byteValue};
      break;
    case tvtWord:
    case tvtDWord:
      text << value.value.dwordValue;
      break;
    case tvtInteger:
      text << value.value.intValue;
      break;
    case tvtFloat:
      text << std::setprecision(17) << value.value.doubleValue;
      break;
    case tvtString:
      text << '"' << value.stringValue << '"';
      break;
    case tvtDate:
    case tvtDateTime:
    case tvtDayTime:
      text << QuorApp::FormatTevTimeFields(value.value.timeValue);
      break;
    default:
      break;
  }
  return text.str();
}

inline std::pair<int, std::string> Debug(std::string body) {
  return {log4cplus::DEBUG_LOG_LEVEL, std::move(body)};
}

inline std::pair<int, std::string> Error(std::string body) {
  return {log4cplus::ERROR_LOG_LEVEL, std::move(body)};
}

inline std::pair<int, std::string> Warn(std::string body) {
  return {log4cplus::WARN_LOG_LEVEL, std::move(body)};
}

// Captured lines without the timing line of a slow decode, which depends on the machine.
inline Lines LinesOf(const QuorTest::LogCapture& capture) {
  Lines lines;
  for (auto& line : capture.Lines()) {
    if (line.second.rfind("Decoding a KNX value took ", 0) != 0) {
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

// Runs each test in Central European time (with daylight saving) and restores the zone after.
class InCentralEurope : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* zone = std::getenv("TZ");
    m_hadZone = zone != nullptr;
    m_zone = m_hadZone ? zone : "";
    UseZone("CET-1CEST,M3.5.0,M10.5.0/3");
  }

  void TearDown() override {
    if (m_hadZone) {
      setenv("TZ", m_zone.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

  static void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }

 private:
  bool m_hadZone = false;
  std::string m_zone;
};

}  // namespace DirectTest
