#pragma once
// Small builders shared by the text, date and time converter tests.

#include <string>
#include <vector>

#include <KnxStack/GroupValue.h>
#include <TevValue/TevValue.h>

namespace TextDateTest {

using Bytes = std::vector<unsigned char>;

inline Bytes RawBytes(const KnxStack::GroupValue& group) {
  const auto& raw = group.GetRawData();
  return Bytes(raw.GetData(), raw.GetData() + raw.GetSize());
}

inline KnxStack::GroupValue MakeGroup(const Bytes& bytes, unsigned int bits) {
  return KnxStack::GroupValue(
      KnxStack::BinaryData(bytes.data(), static_cast<unsigned int>(bytes.size())), bits);
}

inline TEVVALUE MakeString(const std::string& text) {
  TEVVALUE value(tvtString);
  value.stringValue = text;
  return value;
}

inline TEVVALUE MakeTime(TevValueType tvt, unsigned short year, unsigned char month,
                         unsigned char day, unsigned char hour = 0, unsigned char minute = 0,
                         unsigned char second = 0) {
  TEVVALUE value(tvt);
  TEVTIME& time = value.value.timeValue;
  time.Clear(true);
  time.year = year;
  time.month = month;
  time.day = day;
  time.hour = hour;
  time.minute = minute;
  time.second = second;
  return value;
}

}  // namespace TextDateTest
