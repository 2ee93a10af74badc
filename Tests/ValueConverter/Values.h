#pragma once
// Short constructors for platform values and group values used by the table tests.

#include <initializer_list>
#include <string>
#include <vector>

#include <KnxStack/GroupValue.h>
#include <TevValue/TevValue.h>

namespace QuorTest {

using Bytes = std::vector<unsigned char>;

inline KnxStack::GroupValue MakeGroup(const Bytes& bytes, unsigned int bits) {
  return KnxStack::GroupValue(
      KnxStack::BinaryData(bytes.data(), static_cast<unsigned int>(bytes.size())), bits);
}

inline std::string RawText(const Bytes& bytes) {
  return KnxStack::BinaryData(bytes.data(), static_cast<unsigned int>(bytes.size())).ToString();
}

inline TEVVALUE Bool(bool b) {
  TEVVALUE v(tvtBoolean);
  v.value.boolValue = b;
  return v;
}
inline TEVVALUE Byte(unsigned char b) {
  TEVVALUE v(tvtByte);
  v.value.byteValue = b;
  return v;
}
inline TEVVALUE Word(uint16_t w) {
  TEVVALUE v(tvtWord);
  v.value.wordValue = w;
  return v;
}
inline TEVVALUE DWord(uint32_t d) {
  TEVVALUE v(tvtDWord);
  v.value.dwordValue = d;
  return v;
}
inline TEVVALUE Int(int32_t i) {
  TEVVALUE v(tvtInteger);
  v.value.intValue = i;
  return v;
}
inline TEVVALUE Float(double d) {
  TEVVALUE v(tvtFloat);
  v.value.doubleValue = d;
  return v;
}
inline TEVVALUE Str(const std::string& s) {
  TEVVALUE v(tvtString);
  v.stringValue = s;
  return v;
}
inline TEVVALUE Invalid() {
  return TEVVALUE(tvtInvalid);
}

inline TEVVALUE Date(int year, int month, int day) {
  TEVVALUE v(tvtDate);
  v.value.timeValue.Clear(true);
  v.value.timeValue.SetDate(static_cast<unsigned short>(year), static_cast<unsigned char>(month),
                            static_cast<unsigned char>(day), true);
  return v;
}
inline TEVVALUE DateTime(int year, int month, int day, int hour, int minute, int second) {
  TEVVALUE v(tvtDateTime);
  v.value.timeValue.Clear(true);
  v.value.timeValue.SetDateTime(
      static_cast<unsigned short>(year), static_cast<unsigned char>(month),
      static_cast<unsigned char>(day), static_cast<unsigned char>(hour),
      static_cast<unsigned char>(minute), static_cast<unsigned char>(second), true);
  return v;
}
// A time of day with a weekday mask, as type tvt (tvtTime or tvtDayTime).
inline TEVVALUE TimeOfDay(TevValueType tvt, int hour, int minute, int second, uint16_t weekday) {
  TEVVALUE v(tvt);
  v.value.timeValue.Clear(true);
  v.value.timeValue.hour = static_cast<uint8_t>(hour);
  v.value.timeValue.minute = static_cast<uint8_t>(minute);
  v.value.timeValue.second = static_cast<uint8_t>(second);
  v.value.timeValue.weekday = weekday;
  return v;
}

}  // namespace QuorTest
