#pragma once
// Value, group-value and log-line builders shared by every test area.

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <log4cplus/loglevel.h>

#include <KnxStack/GroupValue.h>
#include <KnxStack/KnxDpt.h>
#include <TevValue/TevValue.h>

#include <QuorObjectModel/DptNumber.h>

namespace QuorTest {

using Bytes = std::vector<unsigned char>;
using Line = std::pair<int, std::string>;
using Lines = std::vector<Line>;

// Debug("text") and so on: a record as LogCapture::Lines gives it.
struct LevelLine {
  int level;
  Line operator()(std::string body) const { return {level, std::move(body)}; }
};
constexpr LevelLine Debug{log4cplus::DEBUG_LOG_LEVEL}, Info{log4cplus::INFO_LOG_LEVEL},
    Warn{log4cplus::WARN_LOG_LEVEL}, Error{log4cplus::ERROR_LOG_LEVEL};

// Of the given type with one storage member set; words and double words share the 32 bits.
template <class Field>
TEVVALUE Make(TevValueType tvt, Field TEVVALUE::Storage::*member, Field content) {
  TEVVALUE value(tvt);
  value.value.*member = content;
  return value;
}
inline TEVVALUE Boolean(bool b) {
  return Make(tvtBoolean, &TEVVALUE::Storage::boolValue, b);
}
inline TEVVALUE Byte(std::uint8_t b, TevValueType tvt = tvtByte) {
  return Make(tvt, &TEVVALUE::Storage::byteValue, b);
}
inline TEVVALUE Word(std::uint32_t w) {
  return Make(tvtWord, &TEVVALUE::Storage::dwordValue, w);
}
inline TEVVALUE DWord(std::uint32_t d, TevValueType tvt = tvtDWord) {
  return Make(tvt, &TEVVALUE::Storage::dwordValue, d);
}
inline TEVVALUE Integer(std::int32_t i, TevValueType tvt = tvtInteger) {
  return Make(tvt, &TEVVALUE::Storage::intValue, i);
}
inline TEVVALUE Float(double d, TevValueType tvt = tvtFloat) {
  return Make(tvt, &TEVVALUE::Storage::doubleValue, d);
}
inline TEVVALUE Invalid() {
  return TEVVALUE(tvtInvalid);
}
inline TEVVALUE Text(const std::string& text) {
  TEVVALUE value(tvtString);
  value.stringValue = text;
  return value;
}

// Fields as given: the weekday mask, kind 1, local time unless said otherwise.
inline TEVVALUE Time(TevValueType tvt, unsigned short year, unsigned char month, unsigned char day,
                     unsigned char hour = 0, unsigned char minute = 0, unsigned char second = 0,
                     std::uint16_t weekday = 0, bool daylightSaving = false) {
  return Make(tvt, &TEVVALUE::Storage::timeValue,
              TEVTIME{year, month, day, hour, minute, second, 0, weekday, 1, true, daylightSaving});
}
// As the platform sets a date and time: the weekday follows from the date.
inline TEVVALUE Calendar(TevValueType tvt, int year, int month, int day, int hour = 0,
                         int minute = 0, int second = 0) {
  TEVVALUE value(tvt);
  value.value.timeValue.Clear(true);
  value.value.timeValue.SetDateTime(
      static_cast<unsigned short>(year), static_cast<unsigned char>(month),
      static_cast<unsigned char>(day), static_cast<unsigned char>(hour),
      static_cast<unsigned char>(minute), static_cast<unsigned char>(second), true);
  return value;
}
// A time of day as the direct conversion makes it: dated 2000-01-01, not local.
inline TEVVALUE DayTime(unsigned char hour, unsigned char minute, unsigned char second,
                        std::uint16_t weekday) {
  return Make(tvtDayTime, &TEVVALUE::Storage::timeValue,
              TEVTIME{2000, 1, 1, hour, minute, second, 0, weekday, 1, false, false});
}

// The table's DPT with its bit size, and the object model's DPT number.
inline KNXDPT Dpt(std::uint16_t main, std::uint16_t sub, std::uint8_t bits) {
  return KNXDPT{bits, main, sub};
}
constexpr unsigned long Dpt(std::uint16_t main, std::uint16_t sub) {
  return Quor::DptNumber(main, sub);
}

inline std::string Name(const KNXDPT& dpt) {
  return std::to_string(dpt.mainNumber) + "." + std::to_string(dpt.subNumber);
}

inline KnxStack::GroupValue Group(const Bytes& bytes, unsigned int bits) {
  return {KnxStack::BinaryData(bytes.data(), static_cast<unsigned int>(bytes.size())), bits};
}
inline std::string RawText(const Bytes& bytes) {
  return KnxStack::BinaryData(bytes.data(), static_cast<unsigned int>(bytes.size())).ToString();
}
inline Bytes RawBytes(const KnxStack::GroupValue& group) {
  const auto& raw = group.GetRawData();
  return Bytes(raw.GetData(), raw.GetData() + raw.GetSize());
}

// The value library's text of a value; the internal one reads back as type and value exactly,
// so Show compares both at once.
inline std::string Serialized(const TEVVALUE& value, bool internalFormat) {
  std::string text;
  value.Serialize(text, internalFormat);
  return text;
}
inline std::string Show(const TEVVALUE& value) {
  return Serialized(value, true);
}

// Bit-exact: type, state, string and every byte of the storage.
inline ::testing::AssertionResult Same(const TEVVALUE& expected, const TEVVALUE& actual) {
  if (expected.tvt == actual.tvt && expected.state == actual.state &&
      expected.stringValue == actual.stringValue &&
      std::memcmp(&expected.value, &actual.value, sizeof expected.value) == 0) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "expected " << expected.ToString() << ", got " << actual.ToString();
}

}  // namespace QuorTest

// Readable failure output.
inline void PrintTo(const TEVVALUE& v, std::ostream* os) {
  *os << v.ToString();
}
