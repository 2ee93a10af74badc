#pragma once
// Facts of the KNX wire format, and of the object model's DPT numbers, that the DPT table's
// converters and the direct conversion share: each has one name here (not part of the API).

#include <array>
#include <cstdint>

#include <KnxStack/GroupValue.h>

namespace Quor {
namespace Knx {

// ---- Numbers of the object model ------------------------------------------------------------

// DPT numbers and object-model ids are 32 bits wide, as unsigned long is on the device: a
// wider host looks at the same low 32 bits.
constexpr std::uint32_t Low32Bits(unsigned long number) {
  return static_cast<std::uint32_t>(number);
}

// ---- Status with mode (DPT 6.020), 1 byte ------------------------------------------------------
//   A B C D E F F F  five status bits, then the mode: 1, 2 or 4 are valid
constexpr unsigned char kStatusModeField = 0x07;

constexpr unsigned int StatusModeOf(std::uint8_t status) {
  return status & kStatusModeField;
}

constexpr bool IsValidStatusMode(unsigned int mode) {
  return mode == 1 || mode == 2 || mode == 4;
}

// ---- 2-byte float (DPT 9.x) -------------------------------------------------------------------
constexpr std::uint16_t kFloat16Invalid = 0x7FFF;
// What the stack's SetAsFloat16 takes to write kFloat16Invalid.
constexpr double kFloat16InvalidValue = 32767.0;

// ---- Scene number (DPT 17.001, and the low 6 bits of 18.001 and 26.001) ----------------------
constexpr unsigned char kHighestSceneNumber = 63;

// ---- 3-byte unsigned (DPT 232.600): bits 23..16, 15..8, 7..0 -----------------------------------

constexpr unsigned int kUnsigned24Bits = 24;

constexpr std::array<unsigned char, 3> Unsigned24Bytes(std::uint32_t value) {
  return {static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 8),
          static_cast<unsigned char>(value)};
}

// ---- Time of day (DPT 10.001), 3 bytes --------------------------------------------------------
//   byte 0  DDDH HHHH  weekday (1 = Monday .. 7 = Sunday, 0 = none), hour
//   byte 1  00MM MMMM  minute
//   byte 2  00SS SSSS  second
// The 0 bits are reserved: as one 24-bit value, 0x00C0C0.
constexpr std::uint32_t kTimeOfDayReservedBits = (0xC0u << 8) | 0xC0u;

// ---- Date (DPT 11.001), 3 bytes ---------------------------------------------------------------
//   byte 0  000D DDDD  day
//   byte 1  0000 MMMM  month
//   byte 2  0YYY YYYY  year: 90..99 are 1990..1999, 0..89 are 2000..2089
// The 0 bits are reserved: as one 24-bit value, 0xE0F080.
constexpr std::uint32_t kDateReservedBits = (0xE0u << 16) | (0xF0u << 8) | 0x80u;
constexpr unsigned int kDateBytes = 3;
constexpr int kFirstDateYear = 1990;
constexpr unsigned int kDateYears = 100;

// ---- Date and time (DPT 19.001), 8 bytes ------------------------------------------------------
//   byte 0  YYYY YYYY  year - 1900
//   byte 1  0000 MMMM  month
//   byte 2  000D DDDD  day of month
//   byte 3  WWWH HHHH  weekday (1 = Monday .. 7 = Sunday, 0 = none), hour
//   byte 4  00MM MMMM  minute
//   byte 5  00SS SSSS  second
//   byte 6  flags      F WD NWD NY ND NDOW NT SUTI
//   byte 7  flags      CLQ SRC, then reserved
constexpr unsigned int kDateTimeBytes = 8;
constexpr unsigned int kDateTimeBits = 64;
using DateTimeBytes = std::array<unsigned char, kDateTimeBytes>;
constexpr int kFirstDateTimeYear = 1900;
constexpr unsigned int kDateTimeYears = 256;
constexpr unsigned char kMonthField = 0x0F;
constexpr unsigned char kDayField = 0x1F;
constexpr unsigned char kHourField = 0x1F;
constexpr unsigned char kMinuteField = 0x3F;
constexpr unsigned char kSecondField = 0x3F;
constexpr int kWeekdayShift = 5;

// The bits of byte 6.
constexpr unsigned char kFault = 0x80;
constexpr unsigned char kNoWorkingDay = 0x20;  // the working-day bit is not valid
constexpr unsigned char kNoYear = 0x10;
constexpr unsigned char kNoDate = 0x08;
constexpr unsigned char kNoDayOfWeek = 0x04;
constexpr unsigned char kNoTime = 0x02;

// A valid date-time's flags: only the working day is unknown; byte 7 is 0.
constexpr unsigned char kDateTimeFlags = kNoWorkingDay;
// Sent when a date-time cannot be built: every field zero and marked not valid, with the
// fault bit (byte 6 is 0xBE).
constexpr DateTimeBytes kInvalidDateTime = {
    0, 0, 0, 0, 0, 0, kFault | kNoWorkingDay | kNoYear | kNoDate | kNoDayOfWeek | kNoTime, 0};

// The fields a receiver reads from the 8 bytes; the weekday and the flags are not read.
struct DateTimeFields {
  int year;
  int month;
  int day;
  int hour;
  int minute;
  int second;
};

// Throws the stack's exception when raw has fewer than 6 bytes.
inline DateTimeFields ReadDateTimeFields(const KnxStack::BinaryData& raw) {
  return {raw.GetUInt8Value(0) + kFirstDateTimeYear, raw.GetUInt8Value(1) & kMonthField,
          raw.GetUInt8Value(2) & kDayField,          raw.GetUInt8Value(3) & kHourField,
          raw.GetUInt8Value(4) & kMinuteField,       raw.GetUInt8Value(5) & kSecondField};
}

// The fields as a sender writes them, unmasked; weekday 0 is "none". Only the working day is
// flagged unknown, and byte 7 is 0.
constexpr DateTimeBytes WriteDateTimeFields(const DateTimeFields& f, int weekday = 0) {
  return {static_cast<unsigned char>(f.year - kFirstDateTimeYear),
          static_cast<unsigned char>(f.month),
          static_cast<unsigned char>(f.day),
          static_cast<unsigned char>(f.hour | (weekday << kWeekdayShift)),
          static_cast<unsigned char>(f.minute),
          static_cast<unsigned char>(f.second),
          kDateTimeFlags,
          0};
}

inline KnxStack::GroupValue DateTimeGroupValue(const DateTimeBytes& bytes) {
  return KnxStack::GroupValue(KnxStack::BinaryData(bytes.data(), kDateTimeBytes), kDateTimeBits);
}

}  // namespace Knx
}  // namespace Quor
