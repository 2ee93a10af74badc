#pragma once
// Value makers and an exact comparison shared by the value library tests.

#include <cstring>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include <TevValue/TevValue.h>

namespace TevTest {

inline TEVVALUE Boolean(bool b) {
  TEVVALUE v(tvtBoolean);
  v.value.boolValue = b;
  return v;
}

inline TEVVALUE Float(double d, TevValueType t = tvtFloat) {
  TEVVALUE v(t);
  v.value.doubleValue = d;
  return v;
}

inline TEVVALUE Signed(int32_t i, TevValueType t = tvtInteger) {
  TEVVALUE v(t);
  v.value.intValue = i;
  return v;
}

inline TEVVALUE Byte(uint8_t b, TevValueType t = tvtByte) {
  TEVVALUE v(t);
  v.value.byteValue = b;
  return v;
}

inline TEVVALUE Word(uint16_t w) {
  TEVVALUE v(tvtWord);
  v.value.wordValue = w;
  return v;
}

inline TEVVALUE DWord(uint32_t d, TevValueType t = tvtDWord) {
  TEVVALUE v(t);
  v.value.dwordValue = d;
  return v;
}

inline TEVVALUE String(const std::string& s) {
  TEVVALUE v(tvtString);
  v.stringValue = s;
  return v;
}

inline TEVTIME Time(int year, int month, int day, int hour, int minute, int second) {
  TEVTIME t;
  t.Clear(true);
  t.SetDateTime(static_cast<unsigned short>(year), static_cast<unsigned char>(month),
                static_cast<unsigned char>(day), static_cast<unsigned char>(hour),
                static_cast<unsigned char>(minute), static_cast<unsigned char>(second), true);
  return t;
}

inline TEVVALUE Timed(TevValueType t, const TEVTIME& time) {
  TEVVALUE v(t);
  v.value.timeValue = time;
  return v;
}

// Bit-exact: type, state, string and every byte of the storage.
inline ::testing::AssertionResult Same(const TEVVALUE& expected, const TEVVALUE& actual) {
  if (expected.tvt == actual.tvt && expected.state == actual.state &&
      expected.stringValue == actual.stringValue &&
      std::memcmp(&expected.value, &actual.value, sizeof expected.value) == 0) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "expected " << expected.ToString() << " (state " << expected.state << "), got "
         << actual.ToString() << " (state " << actual.state << ")";
}

inline std::string Internal(const TEVVALUE& v) {
  std::string text;
  v.Serialize(text, true);
  return text;
}

inline std::string Plain(const TEVVALUE& v) {
  std::string text;
  v.Serialize(text, false);
  return text;
}

}  // namespace TevTest

// Readable test names and failure output.
inline void PrintTo(const TEVVALUE& v, std::ostream* os) {
  *os << v.ToString();
}
