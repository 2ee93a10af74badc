#pragma once
// Builders and log-line shorthands shared by the text, date and time converter tests.

#include <string>
#include <utility>
#include <vector>

#include <KnxStack/GroupValue.h>
#include <TevValue/TevValue.h>

#include "Support/LogCapture.h"

namespace TextDateTest {

using Bytes = std::vector<unsigned char>;
using Lines = std::vector<std::pair<int, std::string>>;

inline std::pair<int, std::string> Error(std::string body) {
  return {log4cplus::ERROR_LOG_LEVEL, std::move(body)};
}

inline Bytes RawBytes(const KnxStack::GroupValue& group) {
  const auto& raw = group.GetRawData();
  return Bytes(raw.GetData(), raw.GetData() + raw.GetSize());
}

inline KnxStack::GroupValue Group(const Bytes& bytes, unsigned int bits) {
  return {KnxStack::BinaryData(bytes.data(), static_cast<unsigned int>(bytes.size())), bits};
}

inline TEVVALUE Text(const std::string& text) {
  TEVVALUE value(tvtString);
  value.stringValue = text;
  return value;
}

inline TEVVALUE Time(TevValueType tvt, unsigned short year, unsigned char month, unsigned char day,
                     unsigned char hour = 0, unsigned char minute = 0, unsigned char second = 0,
                     uint16_t weekday = 0) {
  TEVVALUE value(tvt);
  value.value.timeValue =
      TEVTIME{year, month, day, hour, minute, second, 0, weekday, 1, true, false};
  return value;
}

}  // namespace TextDateTest
