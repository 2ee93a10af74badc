// Converters for KNX characters (4.x), 14-byte strings (16.x), dates (11.001), times of day
// (10.001) and date-times (19.001). Platform strings are UTF-8, KNX characters single bytes.

#include <cstdint>
#include <exception>
#include <string>

#include <Quor/Log.h>

#include "QuorObjectModel/ConverterTrace.h"
#include "QuorObjectModel/KnxConverter.h"
#include "QuorObjectModel/KnxConverterDetail.h"
#include "QuorObjectModel/KnxTimeOfDay.h"
#include "QuorObjectModel/KnxWireFormat.h"
#include "QuorObjectModel/TimeOfDay.h"

namespace Quor {

namespace {

// Reads a UTF-8 text as single bytes, up to its first zero byte. A two-byte sequence folds
// into the one byte it encodes; any other byte (including the parts of longer sequences)
// comes through unchanged.
class SingleByteReader {
 public:
  explicit SingleByteReader(const std::string& text) : m_next(text.c_str()) {}

  bool Next(unsigned char& byte) {
    const auto lead = static_cast<unsigned char>(*m_next);
    if (lead == 0) {
      return false;
    }
    ++m_next;
    // c_str() ends in a zero, so looking at the byte after the lead never leaves the text.
    // A lead with nothing after it is truncated: it comes through unchanged, like any other
    // byte that does not start a complete two-byte sequence.
    const auto follower = static_cast<unsigned char>(*m_next);
    if ((lead & 0xE0) == 0xC0 && follower != 0) {
      byte = static_cast<unsigned char>((lead << 6) | (follower & 0x3F));
      ++m_next;
    } else {
      byte = lead;
    }
    return true;
  }

 private:
  const char* m_next;
};

void AppendAsUtf8(std::string& text, unsigned char byte) {
  if (byte < 0x80) {
    text += static_cast<char>(byte);
  } else {
    text += static_cast<char>(0xC0 | (byte >> 6));
    text += static_cast<char>(0x80 | (byte & 0x3F));
  }
}

bool IsInWindow(const IntegerRange& range, unsigned char byte) {
  return byte >= range.internalMin && byte <= range.internalMax;
}

}  // namespace

bool KnxConverter8BitString::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                        KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesStrictCheck(dpt.mainNumber == 4, value.tvt == tvtString)) {
    QUOR_LOG_ERROR("Wrong tev value type (tvtString) or DPT main number (4.x)!");
    return false;
  }
  // Only the first character goes on the bus; an empty text sends 0.
  unsigned char first = 0;
  SingleByteReader(value.stringValue).Next(first);
  if (dpt.subNumber == 1 && (first & 0x80) != 0) {
    QUOR_LOG_ERROR("Value out of raw range [0..127] for DPT 4.001: " << first);
    return false;
  }
  group.SetAsChar(static_cast<char>(first));
  return true;
}

bool KnxConverter8BitString::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                          TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (dpt.mainNumber != 4) {
    QUOR_LOG_ERROR("Wrong DPT main number (4.x)!");
    return false;
  }
  const unsigned char c = group.GetAsUnsigned8();
  if (dpt.subNumber == 1) {
    if (c >= 0x80) {
      QUOR_LOG_ERROR("Value out of raw range [0..127] for DPT 4.001: " << c);
      return false;
    }
    value.stringValue.assign(1, static_cast<char>(c));
  } else {
    value.stringValue.clear();
    AppendAsUtf8(value.stringValue, c);
  }
  value.tvt = tvtString;
  return true;
}

bool KnxConverter14ByteString::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                          KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 16, value.tvt == tvtString)) {
    QUOR_LOG_ERROR("Wrong DPT main number (16.x) or tev value type (tvtString)!");
    return false;
  }
  std::string bytes;
  bytes.reserve(value.stringValue.size());
  SingleByteReader reader(value.stringValue);
  for (unsigned char byte = 0; reader.Next(byte);) {
    bytes += IsInWindow(m_range, byte) ? static_cast<char>(byte) : '_';
  }
  group.SetAsString14(bytes);
  return true;
}

bool KnxConverter14ByteString::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                            TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (dpt.mainNumber != 16) {
    QUOR_LOG_ERROR("Wrong DPT main number (16.x)!");
    return false;
  }
  const std::string received = group.GetAsString14();
  std::string text;
  text.reserve(2 * received.size());
  for (const char c : received) {
    AppendAsUtf8(text, static_cast<unsigned char>(c));
  }
  // The window applies to the UTF-8 bytes, so a character outside it costs one "_" per byte.
  bool replaced = false;
  for (char& c : text) {
    if (!IsInWindow(m_range, static_cast<unsigned char>(c))) {
      c = '_';
      replaced = true;
    }
  }
  if (replaced) {
    QUOR_LOG_INFO("Invalid characters for DPT " << dpt.mainNumber << "." << dpt.subNumber
                                                << " has been replaced with _.");
  }
  value.tvt = tvtString;
  value.stringValue = std::move(text);
  return true;
}

bool KnxConverterDate::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                  KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  try {
    if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 11, dpt.subNumber == 1,
                                       value.tvt == tvtDate)) {
      QUOR_LOG_ERROR("Wrong DPT main number (11.001) or tev value type (tvtDate)!");
      return false;
    }
    const TEVTIME& date = value.value.timeValue;
    if (static_cast<unsigned>(date.year - Knx::kFirstDateYear) >= Knx::kDateYears) {
      QUOR_LOG_ERROR("Cannot convert the date outside of the range [1990...2089]: year="
                     << date.year << ", month=" << date.month << ", day=" << date.day);
      return false;
    }
    group.SetAsDate(date.day, date.month, date.year);
    return true;
  } catch (const std::exception& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of date: " << e.what());
    return false;
  }
}

bool KnxConverterDate::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                    TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  try {
    if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 11, dpt.subNumber == 1)) {
      QUOR_LOG_ERROR("Wrong DPT main number (11.001)!");
      return false;
    }
    if ((group.GetRawData().GetUInt24Value(0) & Knx::kDateReservedBits) != 0) {
      QUOR_LOG_ERROR("No valid Date datagram, reserved fields are not zero!");
      return false;
    }
    int day = 0;
    int month = 0;
    int year = 0;
    group.GetAsDate(day, month, year);
    if (!TEVTIME::IsValidDate(year, month, day)) {
      QUOR_LOG_ERROR("Cannot convert invalid date: year=" << year << ", month=" << month
                                                          << ", day=" << day);
      return false;
    }
    TEVTIME& date = value.value.timeValue;
    date.Clear(true);
    date.SetDate(static_cast<unsigned short>(year), static_cast<unsigned char>(month),
                 static_cast<unsigned char>(day), true);
    value.tvt = tvtDate;
    return true;
  } catch (const std::exception& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of date: " << e.what());
    return false;
  }
}

bool KnxConverterTimeOfDay::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                       KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 10, dpt.subNumber == 1,
                                     value.tvt == tvtDayTime)) {
    QUOR_LOG_ERROR("Wrong DPT main number (10.001) or tev value type (tvtDayTime)!");
    return false;
  }
  const TEVTIME& time = value.value.timeValue;
  const auto timeOfDay = QuorApp::FromTevTime(time);
  if (!timeOfDay) {
    QUOR_LOG_ERROR("Could not convert TEVTIME " << QuorApp::FormatTevTimeFields(time)
                                                << " to TimeOfDay");
    return false;
  }
  SetTimeOfDay(group, *timeOfDay);
  return true;
}

bool KnxConverterTimeOfDay::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                         TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 10, dpt.subNumber == 1)) {
    QUOR_LOG_ERROR("Wrong DPT main number (10.001)!");
    return false;
  }
  if ((group.GetRawData().GetUInt24Value(0) & Knx::kTimeOfDayReservedBits) != 0) {
    QUOR_LOG_ERROR("No valid TimeOfDay datagram, reserved fields are not zero!");
    return false;
  }
  const auto timeOfDay = ReadTimeOfDay(group).timeOfDay;
  if (!timeOfDay) {
    QUOR_LOG_ERROR("No valid TimeOfDay (10.001)!");
    return false;
  }
  value.tvt = tvtDayTime;
  value.value.timeValue = ToTevTime(*timeOfDay);
  return true;
}

bool KnxConverterDateTime::ToKnxValue(const KNXDPT& /*dpt*/, const TEVVALUE& value,
                                      KnxStack::GroupValue& group) {
  try {
    const TEVTIME& time = value.value.timeValue;
    if (static_cast<unsigned>(time.year - Knx::kFirstDateTimeYear) >= Knx::kDateTimeYears) {
      QUOR_LOG_ERROR("Cannot convert the date and time outside of the range [1900...2155]: year="
                     << time.year);
      return false;
    }
    // The weekday is not sent, and the flags say the working day is unknown.
    const unsigned char bytes[Knx::kDateTimeBytes] = {
        static_cast<unsigned char>(time.year - Knx::kFirstDateTimeYear),
        time.month,
        time.day,
        time.hour,
        time.minute,
        time.second,
        Knx::kDateTimeFlags,
        0,
    };
    group =
        KnxStack::GroupValue(KnxStack::BinaryData(bytes, Knx::kDateTimeBytes), Knx::kDateTimeBits);
    return true;
  } catch (const std::exception& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of date and time: " << e.what());
    return false;
  }
}

bool KnxConverterDateTime::FromKnxValue(const KNXDPT& /*dpt*/, const KnxStack::GroupValue& group,
                                        TEVVALUE& value) {
  try {
    const auto [year, month, day, hour, minute, second] =
        Knx::ReadDateTimeFields(group.GetRawData());
    if (!TEVTIME::IsValidDate(year, month, day) || !TEVTIME::IsValidTime(hour, minute, second)) {
      QUOR_LOG_ERROR("Cannot convert invalid date and time: year="
                     << year << ", month=" << month << ", day=" << day << ", hour=" << hour
                     << ", minute=" << minute << ", second=" << second);
      return false;
    }
    TEVTIME& time = value.value.timeValue;
    time.Clear(true);
    time.SetDateTime(static_cast<unsigned short>(year), static_cast<unsigned char>(month),
                     static_cast<unsigned char>(day), static_cast<unsigned char>(hour),
                     static_cast<unsigned char>(minute), static_cast<unsigned char>(second), true);
    return true;
  } catch (const std::exception& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of date and time: " << e.what());
    return false;
  }
}

}  // namespace Quor
