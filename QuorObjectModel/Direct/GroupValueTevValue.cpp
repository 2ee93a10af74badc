#include "QuorObjectModel/GroupValueTevValue.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <exception>
#include <iterator>
#include <limits>
#include <stdexcept>

#include <boost/chrono/duration.hpp>
#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/conversion.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>

#include <Quor/Assert.h>
#include <Quor/Log.h>
#include <Quor/MeasureDuration.h>
#include <Quor/TevValueHelper.h>
#include <QuorHelper/TimeOfDay.h>
#include <QuorHelper/Utf8String.h>

#include "QuorObjectModel/Helpers/KnxTimeOfDay.h"
#include "QuorObjectModel/KnxValueConverter.h"
#include "QuorObjectModel/KnxZebMapping.h"
#include "QuorObjectModel/TimeOfDay.h"
#include "QuorObjectModel/Wire/KnxWireFormat.h"

namespace Quor {

namespace {

using KnxStack::BinaryData;
using KnxStack::GroupValue;

// A decode that takes this long is worth a line in the log.
constexpr boost::chrono::nanoseconds kSlowDecode{100000000};

constexpr unsigned int kDateTwoDigitYearLimit = 100;
constexpr int kDateLastYear = Knx::kFirstDateYear + static_cast<int>(Knx::kDateYears) - 1;
constexpr std::uint32_t kWordLimit = 65536;

static_assert(std::numeric_limits<float>::is_iec559,
              "narrowing a double beyond the float range must give an infinity");

// Empty for a year, month or day that boost refuses, such as 30 February.
boost::optional<boost::gregorian::date> MakeDate(int year, int month, int day) {
  try {
    return boost::gregorian::date(static_cast<unsigned short>(year),
                                  static_cast<unsigned short>(month),
                                  static_cast<unsigned short>(day));
  } catch (const std::out_of_range&) {
    return boost::none;
  }
}

// ---- Decoding -------------------------------------------------------------------------------

// Empty: the received value is refused, and the refusal is logged.
using Decoder = boost::optional<TEVVALUE> (*)(const GroupValue& group, TevValueType tvt,
                                              const LogSite& site);

// One accessor of the group value, its result taken as a T.
template <auto Getter, class T>
boost::optional<TEVVALUE> Read(const GroupValue& group, TevValueType tvt, const LogSite& /*site*/) {
  return ToTevValue<T>(static_cast<T>((group.*Getter)()), tvt);
}

boost::optional<TEVVALUE> ReadDoubleWord(const GroupValue& group, TevValueType tvt,
                                         const LogSite& /*site*/) {
  // Three raw bytes (DPT 232) read as their 24-bit value.
  const unsigned long value = group.GetRawData().GetUInt32Value(0);
  return ToTevValue<unsigned long>(value, tvt);
}

boost::optional<TEVVALUE> ReadString14(const GroupValue& group, TevValueType tvt,
                                       const LogSite& /*site*/) {
  return ToTevValue(getUTF8FromLatin1(group.GetAsString14()).str(), tvt);
}

boost::optional<TEVVALUE> DecodeTimeOfDay(const GroupValue& group, TevValueType tvt,
                                          const LogSite& site) {
  const ReceivedTimeOfDay received = ReadTimeOfDay(group);
  const auto& timeOfDay = received.timeOfDay;
  if (!timeOfDay) {
    QUOR_LOG_WARN_AT(site, "Received invalid DPT 10 time of day: "
                               << received.hour << ":" << received.minute << ":" << received.second
                               << " " << static_cast<int>(received.day));
    return boost::none;
  }
  TEVVALUE result = ToTevValue(*timeOfDay, tvt);
  QUOR_ASSERT2_IN(site.function, result.tvt == tvt);
  return result;
}

boost::optional<TEVVALUE> DecodeDate(const GroupValue& group, TevValueType tvt,
                                     const LogSite& site) {
  const BinaryData& raw = group.GetRawData();
  if (raw.GetSize() != Knx::kDateBytes) {
    QUOR_LOG_WARN_AT(site, "Received an invalid DPT 11.001 date from the KNX: Length in bytes is "
                               << raw.GetSize() << ", expected 3");
    return boost::none;
  }
  const unsigned int twoDigitYear = raw.GetUInt8Value(2);
  if (twoDigitYear >= kDateTwoDigitYearLimit) {
    QUOR_LOG_WARN_AT(site, "Received an invalid DPT 11.001 date from the KNX: Year "
                               << twoDigitYear << " is out of range (0-99)");
    return boost::none;
  }
  int day = 0;
  int month = 0;
  int year = 0;
  group.GetAsDate(day, month, year);
  const bool inRange = year >= Knx::kFirstDateYear && year <= kDateLastYear && month >= 1 &&
                       month <= 12 && day >= 1 && day <= 31;
  // Chosen: a day its month lacks is refused at WARN with the same line, so no calendar
  // exception reaches the caller. The converter check normally refuses such a date first.
  const auto date = inRange ? MakeDate(year, month, day) : boost::none;
  if (!date) {
    QUOR_LOG_WARN_AT(site, "Received an invalid DPT 11.001 date from the KNX: "
                               << year << "-" << month << "-" << day);
    return boost::none;
  }
  return ToTevValue(boost::posix_time::ptime(*date), tvt);
}

boost::optional<TEVVALUE> DecodeDateTime(const GroupValue& group, TevValueType tvt,
                                         const LogSite& site) {
  // A named record, not a structured binding: a C++17 lambda (the log line) cannot capture one.
  const Knx::DateTimeFields f = Knx::ReadDateTimeFields(group.GetRawData());
  // Chosen, as for DPT 11: a date that does not exist is refused at WARN, not thrown.
  const auto date = MakeDate(f.year, f.month, f.day);
  if (!date) {
    QUOR_LOG_WARN_AT(site, "Received an invalid DPT 19.001 date and time from the KNX: "
                               << f.year << "-" << f.month << "-" << f.day << " " << f.hour << ":"
                               << f.minute << ":" << f.second);
    return boost::none;
  }
  // Hour 24 rolls into the next day.
  const boost::posix_time::ptime time(*date, boost::posix_time::hours(f.hour) +
                                                 boost::posix_time::minutes(f.minute) +
                                                 boost::posix_time::seconds(f.second));
  return ToTevValue(time, tvt);
}

constexpr Decoder kBoolean = Read<&GroupValue::GetAsBoolean, bool>;
constexpr Decoder kUnsigned2 = Read<&GroupValue::GetAsUnsigned2, unsigned char>;
constexpr Decoder kUnsigned3 = Read<&GroupValue::GetAsUnsigned3, unsigned char>;
constexpr Decoder kUnsigned4 = Read<&GroupValue::GetAsUnsigned4, unsigned char>;
constexpr Decoder kOctet = Read<&GroupValue::GetAsUnsigned8, unsigned char>;
// The bit pattern of the signed byte: -1 becomes 255.
constexpr Decoder kSigned8 = Read<&GroupValue::GetAsSigned8, unsigned char>;
constexpr Decoder kWord = Read<&GroupValue::GetAsUnsigned16, unsigned short>;
constexpr Decoder kSigned16 = Read<&GroupValue::GetAsSigned16, short>;
constexpr Decoder kSigned32 = Read<&GroupValue::GetAsSigned32, long>;
constexpr Decoder kFloat16 = Read<&GroupValue::GetAsFloat16, double>;
constexpr Decoder kFloat32 = Read<&GroupValue::GetAsFloat32, double>;

// ---- Encoding -------------------------------------------------------------------------------

// Empty: nothing is to be sent.
using Encoder = boost::optional<GroupValue> (*)(const TEVVALUE& value, unsigned long mainType,
                                                const LogSite& site);

// One setter of the group value, given the stored field converted to its argument type.
template <class Argument, void (GroupValue::*Setter)(Argument), auto Field>
boost::optional<GroupValue> Write(const TEVVALUE& value, unsigned long /*mainType*/,
                                  const LogSite& /*site*/) {
  GroupValue group;
  (group.*Setter)(static_cast<Argument>(value.value.*Field));
  return group;
}

boost::optional<GroupValue> EncodeSceneNumber(const TEVVALUE& value, unsigned long /*mainType*/,
                                              const LogSite& /*site*/) {
  if (value.value.byteValue > Knx::kHighestSceneNumber) {
    return boost::none;
  }
  GroupValue group;
  group.SetAsUnsigned8(value.value.byteValue);
  return group;
}

boost::optional<GroupValue> EncodeWord(const TEVVALUE& value, unsigned long mainType,
                                       const LogSite& site) {
  std::uint32_t word = value.value.dwordValue;
  if (word >= kWordLimit) {
    QUOR_LOG_ERROR_AT(site, "Value out of range: " << word << " (DPT " << mainType << ")");
    word = kWordLimit - 1;
  }
  GroupValue group;
  group.SetAsUnsigned16(static_cast<std::uint16_t>(word));
  return group;
}

boost::optional<GroupValue> EncodeSigned16(const TEVVALUE& value, unsigned long mainType,
                                           const LogSite& site) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int16_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int16_t>::max();
  const std::int32_t integer = value.value.intValue;
  if (integer < kMin || integer > kMax) {
    QUOR_LOG_ERROR_AT(site, "Value out of range: " << integer << " (DPT " << mainType << ")");
  }
  GroupValue group;
  group.SetAsSigned16(static_cast<std::int16_t>(std::clamp(integer, kMin, kMax)));
  return group;
}

boost::optional<GroupValue> EncodeFloat16(const TEVVALUE& value, unsigned long /*mainType*/,
                                          const LogSite& /*site*/) {
  // NaN goes on: the stack writes it as the invalid pattern.
  if (std::isinf(value.value.doubleValue)) {
    return boost::none;
  }
  GroupValue group;
  group.SetAsFloat16(value.value.doubleValue);
  return group;
}

boost::optional<GroupValue> EncodeUnsigned24(const TEVVALUE& value, unsigned long /*mainType*/,
                                             const LogSite& /*site*/) {
  const auto bytes = Knx::Unsigned24Bytes(value.value.dwordValue);
  return GroupValue(BinaryData(bytes.data(), bytes.size()), Knx::kUnsigned24Bits);
}

boost::optional<GroupValue> EncodeTimeOfDay(const TEVVALUE& value, unsigned long /*mainType*/,
                                            const LogSite& site) {
  const TEVTIME& time = value.value.timeValue;
  const auto timeOfDay = QuorApp::FromTevTime(time);
  if (!timeOfDay) {
    QUOR_LOG_ERROR_AT(site, "Could not convert TEVTIME " << QuorApp::FormatTevTimeFields(time)
                                                         << " to TimeOfDay");
    return boost::none;
  }
  GroupValue group;
  SetTimeOfDay(group, *timeOfDay);
  return group;
}

boost::optional<GroupValue> EncodeDate(const TEVVALUE& value, unsigned long /*mainType*/,
                                       const LogSite& site) {
  const TEVTIME& time = value.value.timeValue;
  if (!TEVTIME::IsValidDate(time.year, time.month, time.day)) {
    QUOR_LOG_ERROR_AT(
        site, "Not a valid date: " << time.year << " " << time.month << " " << time.day << " ");
    return boost::none;
  }
  GroupValue group;
  group.SetAsDate(time.day, time.month, time.year);
  return group;
}

boost::optional<GroupValue> EncodeString14(const TEVVALUE& value, unsigned long /*mainType*/,
                                           const LogSite& site) {
  const auto text = UTF8String::FromString(value.stringValue);
  if (!text) {
    QUOR_LOG_ERROR_AT(site, "Got TEVVALUE that contains a non-UTF8 string");
    return boost::none;
  }
  GroupValue group;
  group.SetAsString14(getLatin1FromUTF8Lossy(*text));
  return group;
}

// Throws when the calendar refuses the date (year outside 1400..9999, a day the month lacks).
Knx::DateTimeBytes ToDateTimeBytes(const TEVTIME& time) {
  const boost::posix_time::ptime dateTime = boost::posix_time::ptime_from_tm(time.ToTm());
  const boost::gregorian::date date = dateTime.date();
  const boost::posix_time::time_duration timeOfDay = dateTime.time_of_day();
  // 1 = Monday .. 7 = Sunday; boost counts 0 = Sunday.
  const int weekday = (date.day_of_week().as_number() + 6) % 7 + 1;
  return Knx::WriteDateTimeFields(
      {date.year(), date.month(), date.day(), static_cast<int>(timeOfDay.hours()),
       static_cast<int>(timeOfDay.minutes()), static_cast<int>(timeOfDay.seconds())},
      weekday);
}

boost::optional<GroupValue> EncodeDateTime(const TEVVALUE& value, unsigned long /*mainType*/,
                                           const LogSite& site) {
  const TEVTIME& time = value.value.timeValue;
  Knx::DateTimeBytes bytes = Knx::kInvalidDateTime;
  try {
    bytes = ToDateTimeBytes(time);
  } catch (const std::exception& e) {
    QUOR_LOG_ERROR_AT(site, "Could not convert TEVTIME "
                                << QuorApp::FormatTevTimeFields(time)
                                << " to a KNX date and time: " << e.what());
  }
  return Knx::DateTimeGroupValue(bytes);
}

using Storage = TEVVALUE::Storage;
constexpr Encoder kSetBoolean = Write<bool, &GroupValue::SetAsBoolean, &Storage::boolValue>;
constexpr Encoder kSetUnsigned2 =
    Write<unsigned char, &GroupValue::SetAsUnsigned2, &Storage::byteValue>;
constexpr Encoder kSetUnsigned4 =
    Write<unsigned char, &GroupValue::SetAsUnsigned4, &Storage::byteValue>;
constexpr Encoder kSetOctet =
    Write<unsigned char, &GroupValue::SetAsUnsigned8, &Storage::byteValue>;
// The stored byte read as a signed byte: 255 goes out as -1.
constexpr Encoder kSetSigned8 = Write<signed char, &GroupValue::SetAsSigned8, &Storage::byteValue>;
constexpr Encoder kSetSigned32 =
    Write<std::int32_t, &GroupValue::SetAsSigned32, &Storage::intValue>;
constexpr Encoder kSetFloat32 = Write<float, &GroupValue::SetAsFloat32, &Storage::doubleValue>;
constexpr Encoder kSetDoubleWord =
    Write<std::uint32_t, &GroupValue::SetAsUnsigned32, &Storage::dwordValue>;

// What the direct path knows of a main type. A main type without a row, or without an encoder,
// is not sent; one without a row or decoder, but with a value type, decodes to the empty value.
struct MainTypeRow {
  unsigned long mainType;
  Decoder decode;
  Encoder encode;
};

// clang-format off
constexpr MainTypeRow kMainTypes[] = {
//   main decoder           encoder
    {1,   kBoolean,         kSetBoolean},
    {2,   kUnsigned2,       kSetUnsigned2},
    {3,   kUnsigned4,       kSetUnsigned4},
    {5,   kOctet,           kSetOctet},
    {6,   kSigned8,         kSetSigned8},
    {7,   kWord,            EncodeWord},
    {8,   kSigned16,        EncodeSigned16},
    {9,   kFloat16,         EncodeFloat16},
    {10,  DecodeTimeOfDay,  EncodeTimeOfDay},
    {11,  DecodeDate,       EncodeDate},
    {12,  ReadDoubleWord,   kSetDoubleWord},
    {13,  kSigned32,        kSetSigned32},
    {14,  kFloat32,         kSetFloat32},
    {15,  ReadDoubleWord,   kSetDoubleWord},
    {16,  ReadString14,     EncodeString14},
    {17,  kOctet,           EncodeSceneNumber},
    {18,  kOctet,           kSetOctet},
    {19,  DecodeDateTime,   EncodeDateTime},
    {20,  kOctet,           kSetOctet},
    {21,  kOctet,           kSetOctet},
    {22,  kWord,            EncodeWord},
    {23,  kUnsigned2,       kSetUnsigned2},
    {26,  kOctet,           kSetOctet},
    {27,  ReadDoubleWord,   kSetDoubleWord},
    {31,  kUnsigned3,       nullptr},
    {217, kWord,            EncodeWord},
    {232, ReadDoubleWord,   EncodeUnsigned24},
    {234, kWord,            EncodeWord},
    {237, kWord,            EncodeWord},
    {238, kOctet,           kSetOctet},
};
// clang-format on

const MainTypeRow* FindRow(unsigned long mainType) {
  const MainTypeRow* const found =
      std::find_if(std::begin(kMainTypes), std::end(kMainTypes),
                   [mainType](const MainTypeRow& row) { return row.mainType == mainType; });
  return found == std::end(kMainTypes) ? nullptr : found;
}

TevValueType ValueTypeOf(unsigned long dpt) {
  return KnxZebMapping::GetTvtFromDpt(Knx::Low32Bits(dpt));
}

}  // namespace

boost::optional<GroupValue> TevValueToGroupValue(const TEVVALUE& value, unsigned long dpt) {
  const TevValueType expected = ValueTypeOf(dpt);
  if (value.tvt != expected) {
    QUOR_LOG_ERROR("Value type mismatch: Expected '"
                   << TEVVALUE::GetNameFromValueType(expected) << "', got '"
                   << TEVVALUE::GetNameFromValueType(value.tvt) << "'");
    return boost::none;
  }
  const unsigned long mainType = MainTypeOf(dpt);
  const MainTypeRow* const row = FindRow(mainType);
  if (row == nullptr || row->encode == nullptr) {
    QUOR_LOG_ERROR("Value type " << mainType << " not supported (dwDPT=" << Knx::Low32Bits(dpt)
                                 << " with value='"
                                 << "tvt: " << static_cast<int>(value.tvt)
                                 << ", ToString(): " << value.ToString() << "').");
    return boost::none;
  }
  return row->encode(value, mainType, QUOR_LOG_SITE);
}

boost::optional<TEVVALUE> GroupValueToTevValue(const GroupValue& group, unsigned long dpt) {
  const MeasureDuration duration("Decoding a KNX value took ", kSlowDecode);
  const TevValueType tvt = ValueTypeOf(dpt);
  if (tvt == tvtEmpty) {
    QUOR_LOG_ERROR("Unsupported DPT: " << MainTypeOf(dpt) << "." << SubTypeOf(dpt));
    return boost::none;
  }
  if (!CheckGroupValue(group, dpt)) {
    QUOR_LOG_ERROR("Received invalid value " << group.GetRawData().ToString() << " for DPT "
                                             << MainTypeOf(dpt) << "." << SubTypeOf(dpt));
    return boost::none;
  }
  const MainTypeRow* const row = FindRow(MainTypeOf(dpt));
  if (row == nullptr || row->decode == nullptr) {
    return TEVVALUE();
  }
  return row->decode(group, tvt, QUOR_LOG_SITE);
}

bool CheckGroupValue(const GroupValue& group, unsigned long dpt) {
  KNXDPT knxDpt{static_cast<std::uint8_t>(group.GetDefinedSize()),
                static_cast<std::uint16_t>(MainTypeOf(dpt)),
                static_cast<std::uint16_t>(SubTypeOf(dpt))};
  KnxValueConverter converter;
  if (!converter.Init()) {
    QUOR_LOG_FATAL("Could not Init() the value converter");
    return false;
  }
  QUOR_LOG_DEBUG("DPT is " << knxDpt.mainNumber << "." << knxDpt.subNumber << " with bit size "
                           << knxDpt.bitSize);
  TEVVALUE scratch;
  return converter.FromKnxValue(knxDpt, group, scratch);
}

}  // namespace Quor
