// Raw byte form of TEVVALUE. All numbers are big-endian.
//
// Writing, by the value's type:
//   boolean             1 byte, 0 or 1
//   byte kinds          1 byte
//   tvtWord             2 bytes
//   dword kinds         4 bytes
//   signed kinds        4 bytes, two's complement
//   float kinds         8 bytes IEEE 754 double. Into a buffer of fewer than 8 bytes the
//                       value rounded to nearest (halves away from zero) goes as one signed
//                       byte when it lies in -128..127 (dimming steps); otherwise refused.
//   tvtString           its bytes, no terminator; an empty string writes 0 bytes
//   date and time kinds a packed TEVTIME of 13 bytes: year (2), month, day, hour, minute,
//                       second, hundredths, weekday mask (2), kind (2), flags (bit 0
//                       localTime, bit 1 daylightSaving)
//   tvtInvalid, tvtEmpty, unknown type numbers: no layout, refused
// A buffer smaller than the layout is refused; length is left unchanged on refusal.
//
// Reading goes by the length alone, as the raw bytes carry no type: a 1-bit source gives
// tvtBoolean from bit 0 of byte 0; 1 byte tvtByte, 2 tvtWord, 4 tvtDWord, 8 tvtFloat. Any
// other length gives a tvtString of the bytes, the only kind that holds any count of bytes;
// this includes 13 bytes, so a packed TEVTIME does not come back as a time.

#include <cmath>
#include <cstring>

#include "TevValue/TevValue.h"
#include "TevValue/TevValueDetail.hpp"

namespace {

using TevValueDetail::Payload;

constexpr unsigned int kPackedTimeLength = 13;

template <class Unsigned>
void PutBigEndian(unsigned char* out, Unsigned number) {
  for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
    out[i] = static_cast<unsigned char>(number >> (8 * (sizeof(Unsigned) - 1 - i)));
  }
}

template <class Unsigned>
Unsigned GetBigEndian(const unsigned char* in) {
  Unsigned number = 0;
  for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
    number = static_cast<Unsigned>((number << 8) | in[i]);
  }
  return number;
}

void PackTime(const TEVTIME& time, unsigned char* out) {
  PutBigEndian<uint16_t>(out, time.year);
  out[2] = time.month;
  out[3] = time.day;
  out[4] = time.hour;
  out[5] = time.minute;
  out[6] = time.second;
  out[7] = time.hundredths;
  PutBigEndian<uint16_t>(out + 8, time.weekday);
  PutBigEndian<uint16_t>(out + 10, time.kind);
  out[12] = static_cast<unsigned char>((time.localTime ? 1 : 0) | (time.daylightSaving ? 2 : 0));
}

bool WriteFloat(double number, unsigned char* buffer, unsigned int& length) {
  if (length >= sizeof(double)) {
    uint64_t bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    PutBigEndian(buffer, bits);
    length = sizeof(double);
    return true;
  }
  const double rounded = std::round(number);
  if (!(rounded >= -128.0 && rounded <= 127.0)) {  // NaN fails here too
    return false;
  }
  buffer[0] = static_cast<unsigned char>(static_cast<int8_t>(rounded));
  length = 1;
  return true;
}

// Number of bytes the fixed layouts need; 0 for a kind without one.
unsigned int FixedLength(Payload payload) {
  switch (payload) {
    case Payload::Boolean:
    case Payload::Byte:
      return 1;
    case Payload::Word:
      return 2;
    case Payload::Signed:
    case Payload::DWord:
      return 4;
    case Payload::Date:
    case Payload::Time:
    case Payload::DateTime:
    case Payload::DayTime:
      return kPackedTimeLength;
    default:
      return 0;
  }
}

}  // namespace

bool TevValueToByteArray(const TEVVALUE& value, unsigned char* buffer, unsigned int& length) {
  const TevValueDetail::TypeInfo* info = TevValueDetail::FindType(value.tvt);
  if (buffer == nullptr || length == 0 || info == nullptr) {
    return false;
  }
  if (info->payload == Payload::Float) {
    return WriteFloat(value.value.doubleValue, buffer, length);
  }
  if (info->payload == Payload::String) {
    if (value.stringValue.size() > length) {
      return false;
    }
    std::memcpy(buffer, value.stringValue.data(), value.stringValue.size());
    length = static_cast<unsigned int>(value.stringValue.size());
    return true;
  }
  const unsigned int needed = FixedLength(info->payload);
  if (needed == 0 || needed > length) {
    return false;
  }
  switch (info->payload) {
    case Payload::Boolean:
      buffer[0] = value.value.boolValue ? 1 : 0;
      break;
    case Payload::Byte:
      buffer[0] = value.value.byteValue;
      break;
    case Payload::Word:
      PutBigEndian(buffer, value.value.wordValue);
      break;
    case Payload::Signed:
      PutBigEndian(buffer, static_cast<uint32_t>(value.value.intValue));
      break;
    case Payload::DWord:
      PutBigEndian(buffer, value.value.dwordValue);
      break;
    default:
      PackTime(value.value.timeValue, buffer);
      break;
  }
  length = needed;
  return true;
}

bool ByteArrayToTevValue(const unsigned char* bytes, unsigned int length, TEVVALUE& value,
                         bool oneBit) {
  if (bytes == nullptr || length == 0) {
    return false;
  }
  if (oneBit) {
    value = TEVVALUE(tvtBoolean);
    value.value.boolValue = (bytes[0] & 1) != 0;
    return true;
  }
  switch (length) {
    case 1:
      value = TEVVALUE(tvtByte);
      value.value.byteValue = bytes[0];
      return true;
    case 2:
      value = TEVVALUE(tvtWord);
      value.value.wordValue = GetBigEndian<uint16_t>(bytes);
      return true;
    case 4:
      value = TEVVALUE(tvtDWord);
      value.value.dwordValue = GetBigEndian<uint32_t>(bytes);
      return true;
    case 8: {
      const uint64_t bits = GetBigEndian<uint64_t>(bytes);
      value = TEVVALUE(tvtFloat);
      std::memcpy(&value.value.doubleValue, &bits, sizeof bits);
      return true;
    }
    default:
      value = TEVVALUE(tvtString);
      value.stringValue.assign(reinterpret_cast<const char*>(bytes), length);
      return true;
  }
}
