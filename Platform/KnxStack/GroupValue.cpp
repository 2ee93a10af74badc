#include "KnxStack/GroupValue.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>

namespace KnxStack {

namespace {

// Defined sizes in bits of the encodings the setters write.
constexpr unsigned int kBooleanBits = 1;
constexpr unsigned int kUnsigned2Bits = 2;
constexpr unsigned int kUnsigned4Bits = 4;
constexpr unsigned int kOctetBits = 8;
constexpr unsigned int kWordBits = 16;
constexpr unsigned int kDoubleWordBits = 32;
constexpr unsigned int kString14Bits = 112;
constexpr unsigned int kDateBits = 24;
constexpr unsigned int kTimeOfDayBits = 24;

constexpr unsigned int kString14Bytes = 14;

// 2-byte float: 0.01 * M * 2^E with a 12-bit two's complement mantissa and a 4-bit exponent.
constexpr int kFloat16MantissaMin = -2048;
constexpr int kFloat16MantissaMax = 2047;
constexpr int kFloat16ExponentMax = 15;
constexpr double kFloat16Min = -671088.64;  // -2048 * 2^15 / 100
constexpr double kFloat16Max = 670760.96;   // 2047 * 2^15 / 100
constexpr uint16_t kFloat16Invalid = 0x7FFF;
// Callers send this value to mean "invalid" on the bus.
constexpr double kFloat16InvalidMarker = 32767.0;

constexpr int kDateYearMin = 1990;
constexpr int kDateYearMax = 2089;
// Two-digit years below this belong to the 21st century.
constexpr int kDateCenturyPivot = 90;

std::string Plural(unsigned int count, const char* unit) {
  return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
}

[[noreturn]] void ThrowTooShort(const char* accessor, unsigned int size, unsigned int needed) {
  throw GroupValueException(std::string(accessor) + ": raw data has " + Plural(size, "byte") +
                            ", needs " + std::to_string(needed));
}

template <typename Value>
[[noreturn]] void ThrowOutOfRange(const char* accessor, const char* what, Value value,
                                  const std::string& range) {
  std::ostringstream text;
  text.precision(10);
  text << accessor << ": " << what << " " << +value << " out of range " << range;
  throw GroupValueException(text.str());
}

// First `count` bytes of the raw data, refusing data that is too short.
const unsigned char* Leading(const BinaryData& raw, unsigned int count, const char* accessor) {
  if (raw.GetSize() < count) {
    ThrowTooShort(accessor, raw.GetSize(), count);
  }
  return raw.GetData();
}

uint32_t ReadBigEndian(const unsigned char* bytes, unsigned int count) {
  uint32_t value = 0;
  for (unsigned int i = 0; i < count; ++i) {
    value = (value << 8) | bytes[i];
  }
  return value;
}

template <unsigned int Count>
std::array<unsigned char, Count> BigEndian(uint32_t value) {
  std::array<unsigned char, Count> bytes{};
  for (unsigned int i = 0; i < Count; ++i) {
    bytes[Count - 1 - i] = static_cast<unsigned char>(value >> (8 * i));
  }
  return bytes;
}

// std::lround's rounding (half away from zero) inline, without the library call. Exact for
// |x| < 2^52: x minus its truncation is representable.
long RoundHalfAwayFromZero(double x) {
  const auto truncated = static_cast<long>(x);
  const double fraction = x - static_cast<double>(truncated);
  if (fraction >= 0.5) {
    return truncated + 1;
  }
  if (fraction <= -0.5) {
    return truncated - 1;
  }
  return truncated;
}

// 2^-e for the exponents of the 2-byte float; scaling by them is exact, as std::ldexp is.
constexpr std::array<double, kFloat16ExponentMax + 1> kInversePowersOfTwo = [] {
  std::array<double, kFloat16ExponentMax + 1> powers{};
  double power = 1.0;
  for (double& p : powers) {
    p = power;
    power /= 2.0;
  }
  return powers;
}();

uint16_t EncodeFloat16(double value) {
  if (std::isnan(value) || value == kFloat16InvalidMarker) {
    return kFloat16Invalid;
  }
  if (!(value >= kFloat16Min && value <= kFloat16Max)) {
    ThrowOutOfRange("SetAsFloat16", "value", value, "-671088.64..670760.96");
  }
  const double hundredths = value * 100.0;
  // Rounding can carry the mantissa out of its 12 bits; the next exponent then takes it.
  int exponent = 0;
  long mantissa = RoundHalfAwayFromZero(hundredths);
  while (mantissa < kFloat16MantissaMin || mantissa > kFloat16MantissaMax) {
    ++exponent;
    mantissa = RoundHalfAwayFromZero(hundredths * kInversePowersOfTwo[exponent]);
  }
  // In range, so exponent <= kFloat16ExponentMax here.
  const auto twelveBits = static_cast<uint16_t>(mantissa & 0x0FFF);
  const auto encoded = static_cast<uint16_t>(((twelveBits & 0x0800) << 4) | (exponent << 11) |
                                             (twelveBits & 0x07FF));
  // 0x7FFF is the invalid pattern on the bus; a real value never takes it.
  return encoded == kFloat16Invalid ? kFloat16Invalid - 1 : encoded;
}

double DecodeFloat16(uint16_t encoded) {
  const int exponent = (encoded >> 11) & kFloat16ExponentMax;
  int mantissa = encoded & 0x07FF;
  if (encoded & 0x8000) {
    mantissa -= 2048;
  }
  // Divide rather than multiply by 0.01 so that exact hundredths come out exact.
  return static_cast<double>(mantissa * (1 << exponent)) / 100.0;
}

}  // namespace

void GroupValue::Store(const unsigned char* bytes, unsigned int count, unsigned int bitSize) {
  m_raw.Assign(bytes, count);
  m_bitSize = bitSize;
}

bool GroupValue::GetAsBoolean() const {
  return (Leading(m_raw, 1, "GetAsBoolean")[0] & 0x01) != 0;
}

void GroupValue::SetAsBoolean(bool value) {
  const unsigned char byte = value ? 1 : 0;
  Store(&byte, 1, kBooleanBits);
}

unsigned char GroupValue::GetAsUnsigned2() const {
  return Leading(m_raw, 1, "GetAsUnsigned2")[0] & 0x03;
}

void GroupValue::SetAsUnsigned2(unsigned char value) {
  // The nibble form (0x1c = control 1, value c) maps onto the 2-bit code; 0x00 and 0x01
  // read the same either way.
  unsigned char code = value;
  if (value == 0x10 || value == 0x11) {
    code = static_cast<unsigned char>(0x02 | (value & 0x01));
  } else if (value > 0x03) {
    ThrowOutOfRange("SetAsUnsigned2", "value", value, "0..3 or 0x10, 0x11");
  }
  Store(&code, 1, kUnsigned2Bits);
}

unsigned char GroupValue::GetAsUnsigned3() const {
  return Leading(m_raw, 1, "GetAsUnsigned3")[0] & 0x07;
}

unsigned char GroupValue::GetAsUnsigned4() const {
  return Leading(m_raw, 1, "GetAsUnsigned4")[0] & 0x0F;
}

void GroupValue::SetAsUnsigned4(unsigned char value) {
  if (value > 0x0F) {
    ThrowOutOfRange("SetAsUnsigned4", "value", value, "0..15");
  }
  Store(&value, 1, kUnsigned4Bits);
}

unsigned char GroupValue::GetAsUnsigned8() const {
  return Leading(m_raw, 1, "GetAsUnsigned8")[0];
}

void GroupValue::SetAsUnsigned8(unsigned char value) {
  Store(&value, 1, kOctetBits);
}

signed char GroupValue::GetAsSigned8() const {
  return static_cast<signed char>(Leading(m_raw, 1, "GetAsSigned8")[0]);
}

void GroupValue::SetAsSigned8(signed char value) {
  const auto byte = static_cast<unsigned char>(value);
  Store(&byte, 1, kOctetBits);
}

void GroupValue::SetAsChar(char value) {
  const auto byte = static_cast<unsigned char>(value);
  Store(&byte, 1, kOctetBits);
}

uint16_t GroupValue::GetAsUnsigned16() const {
  return static_cast<uint16_t>(ReadBigEndian(Leading(m_raw, 2, "GetAsUnsigned16"), 2));
}

void GroupValue::SetAsUnsigned16(uint16_t value) {
  const auto bytes = BigEndian<2>(value);
  Store(bytes.data(), 2, kWordBits);
}

int16_t GroupValue::GetAsSigned16() const {
  return static_cast<int16_t>(ReadBigEndian(Leading(m_raw, 2, "GetAsSigned16"), 2));
}

void GroupValue::SetAsSigned16(int16_t value) {
  const auto bytes = BigEndian<2>(static_cast<uint16_t>(value));
  Store(bytes.data(), 2, kWordBits);
}

uint32_t GroupValue::GetAsUnsigned32() const {
  return ReadBigEndian(Leading(m_raw, 4, "GetAsUnsigned32"), 4);
}

void GroupValue::SetAsUnsigned32(uint32_t value) {
  const auto bytes = BigEndian<4>(value);
  Store(bytes.data(), 4, kDoubleWordBits);
}

int32_t GroupValue::GetAsSigned32() const {
  return static_cast<int32_t>(ReadBigEndian(Leading(m_raw, 4, "GetAsSigned32"), 4));
}

void GroupValue::SetAsSigned32(int32_t value) {
  const auto bytes = BigEndian<4>(static_cast<uint32_t>(value));
  Store(bytes.data(), 4, kDoubleWordBits);
}

double GroupValue::GetAsFloat16() const {
  return DecodeFloat16(static_cast<uint16_t>(ReadBigEndian(Leading(m_raw, 2, "GetAsFloat16"), 2)));
}

void GroupValue::SetAsFloat16(double value) {
  const auto bytes = BigEndian<2>(EncodeFloat16(value));
  Store(bytes.data(), 2, kWordBits);
}

float GroupValue::GetAsFloat32() const {
  const uint32_t bits = ReadBigEndian(Leading(m_raw, 4, "GetAsFloat32"), 4);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void GroupValue::SetAsFloat32(float value) {
  static_assert(sizeof(float) == 4, "DPT 14 needs IEEE 754 single precision");
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const auto bytes = BigEndian<4>(bits);
  Store(bytes.data(), 4, kDoubleWordBits);
}

std::string GroupValue::GetAsString14() const {
  // Lenient on purpose: a shortened text telegram still reads as the text it carries.
  const auto bytes = reinterpret_cast<const char*>(m_raw.GetData());
  const unsigned int size = std::min(m_raw.GetSize(), kString14Bytes);
  return std::string(bytes, std::find(bytes, bytes + size, '\0'));
}

void GroupValue::SetAsString14(const std::string& value) {
  std::array<unsigned char, kString14Bytes> bytes{};
  std::memcpy(bytes.data(), value.data(), std::min<std::size_t>(value.size(), kString14Bytes));
  Store(bytes.data(), kString14Bytes, kString14Bits);
}

void GroupValue::GetAsDate(int& day, int& month, int& year) const {
  const unsigned char* bytes = Leading(m_raw, 3, "GetAsDate");
  day = bytes[0] & 0x1F;
  month = bytes[1] & 0x0F;
  // Bytes 100..127 are no KNX year, but follow the same rule (100 reads as 2000): the caller
  // decides whether to refuse them.
  const int twoDigits = bytes[2] & 0x7F;
  year = (twoDigits < kDateCenturyPivot ? 2000 : 1900) + twoDigits;
}

void GroupValue::SetAsDate(int day, int month, int year) {
  if (day < 1 || day > 31) {
    ThrowOutOfRange("SetAsDate", "day", day, "1..31");
  }
  if (month < 1 || month > 12) {
    ThrowOutOfRange("SetAsDate", "month", month, "1..12");
  }
  if (year < kDateYearMin || year > kDateYearMax) {
    ThrowOutOfRange("SetAsDate", "year", year, "1990..2089");
  }
  const std::array<unsigned char, 3> bytes{static_cast<unsigned char>(day),
                                           static_cast<unsigned char>(month),
                                           static_cast<unsigned char>(year % 100)};
  Store(bytes.data(), 3, kDateBits);
}

void GroupValue::GetAsTimeOfDay(int& hour, int& minute, int& second, DayOfWeek& day) const {
  const unsigned char* bytes = Leading(m_raw, 3, "GetAsTimeOfDay");
  day = static_cast<DayOfWeek>(bytes[0] >> 5);
  hour = bytes[0] & 0x1F;
  minute = bytes[1] & 0x3F;
  second = bytes[2] & 0x3F;
}

void GroupValue::SetAsTimeOfDay(int hour, int minute, int second, DayOfWeek day) {
  if (hour < 0 || hour > 23) {
    ThrowOutOfRange("SetAsTimeOfDay", "hour", hour, "0..23");
  }
  if (minute < 0 || minute > 59) {
    ThrowOutOfRange("SetAsTimeOfDay", "minute", minute, "0..59");
  }
  if (second < 0 || second > 59) {
    ThrowOutOfRange("SetAsTimeOfDay", "second", second, "0..59");
  }
  if (day > Sunday) {
    ThrowOutOfRange("SetAsTimeOfDay", "day", static_cast<int>(day), "0..7");
  }
  const std::array<unsigned char, 3> bytes{static_cast<unsigned char>((day << 5) | hour),
                                           static_cast<unsigned char>(minute),
                                           static_cast<unsigned char>(second)};
  Store(bytes.data(), 3, kTimeOfDayBits);
}

}  // namespace KnxStack
