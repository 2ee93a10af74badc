#pragma once
// Stand-in for the KNX stack's group-value container. Encodings follow the KNX
// datapoint types byte for byte; multi-byte values are big-endian as on the bus.

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

#define KNXSTACK_API __attribute__((visibility("default")))

namespace KnxStack {

class KNXSTACK_API GroupValueException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Byte buffer; up to InlineCapacity bytes live inside the object (no allocation).
class KNXSTACK_API BinaryData {
 public:
  static constexpr unsigned int InlineCapacity = 16;

  // Copies, moves and destruction of inline bytes are inline: they are fixed-size moves.
  BinaryData() = default;
  BinaryData(const unsigned char* data, unsigned int size) { Assign(data, size); }
  BinaryData(const BinaryData& other) : m_size(other.m_size) {
    if (other.m_heap == nullptr) {
      std::memcpy(m_inline, other.m_inline, InlineCapacity);
    } else {
      m_size = 0;
      AssignOutOfLine(other.m_heap, other.m_size);
    }
  }
  BinaryData& operator=(const BinaryData& other) {
    if (this != &other) {
      if (m_heap == nullptr && other.m_heap == nullptr) {
        std::memcpy(m_inline, other.m_inline, InlineCapacity);
        m_size = other.m_size;
      } else {
        AssignOutOfLine(other.GetData(), other.m_size);
      }
    }
    return *this;
  }
  // Moves hand over a heap buffer instead of copying it; the source is left empty.
  BinaryData(BinaryData&& other) noexcept { TakeFrom(other); }
  BinaryData& operator=(BinaryData&& other) noexcept {
    if (this != &other) {
      delete[] m_heap;
      TakeFrom(other);
    }
    return *this;
  }
  ~BinaryData() { delete[] m_heap; }

  unsigned int GetSize() const { return m_size; }
  const unsigned char* GetData() const { return m_heap ? m_heap : m_inline; }

  // Field access at a byte index; throws GroupValueException past the end.
  uint8_t GetUInt8Value(unsigned int index) const;
  uint32_t GetUInt24Value(unsigned int index) const;
  // Four bytes from index; with only three bytes left, their 24-bit value.
  uint32_t GetUInt32Value(unsigned int index) const;
  // Grows the buffer (zero-filled) when index is past the end.
  void SetUInt8Value(unsigned int index, uint8_t value);
  // Replaces the bytes in place; no allocation up to InlineCapacity bytes. Inline so that
  // the setters' fixed-size copies compile to plain moves.
  void Assign(const unsigned char* data, unsigned int size) {
    if (size <= InlineCapacity && m_heap == nullptr) {
      // data may point into our own bytes; it may be null for no bytes.
      if (size > 0) {
        std::memmove(m_inline, data, size);
      }
      m_size = size;
      return;
    }
    AssignOutOfLine(data, size);
  }

  // Bytes as lowercase hex pairs separated by blanks, e.g. "0c 33"; "" when empty.
  std::string ToString() const;

  friend KNXSTACK_API bool operator==(const BinaryData& a, const BinaryData& b);
  friend bool operator!=(const BinaryData& a, const BinaryData& b) { return !(a == b); }

 private:
  unsigned char* MutableData() { return m_heap ? m_heap : m_inline; }
  void AssignOutOfLine(const unsigned char* data, unsigned int size);
  void Resize(unsigned int size);
  void Release() noexcept;
  void TakeFrom(BinaryData& other) noexcept {
    m_size = other.m_size;
    m_heap = other.m_heap;
    std::memcpy(m_inline, other.m_inline, InlineCapacity);
    other.m_heap = nullptr;
    other.m_size = 0;
  }

  unsigned int m_size = 0;
  unsigned char m_inline[InlineCapacity] = {};
  unsigned char* m_heap = nullptr;
};

// An encoded KNX value: raw bytes and a defined size in bits. Values of 1 to 6 bits are
// one byte with the value in its low bits. Setters replace the bytes and set the defined
// size of their encoding; getters read the first bytes of the raw data and throw
// GroupValueException when it is too short. A setter given a value its encoding cannot
// hold throws GroupValueException as well.
class KNXSTACK_API GroupValue {
 public:
  enum DayOfWeek : unsigned char {
    NoDay = 0,
    Monday = 1,
    Tuesday = 2,
    Wednesday = 3,
    Thursday = 4,
    Friday = 5,
    Saturday = 6,
    Sunday = 7,
  };

  GroupValue() = default;
  GroupValue(const BinaryData& raw, unsigned int bitSize) : m_raw(raw), m_bitSize(bitSize) {}
  GroupValue(BinaryData&& raw, unsigned int bitSize) : m_raw(std::move(raw)), m_bitSize(bitSize) {}

  unsigned int GetDefinedSize() const { return m_bitSize; }
  const BinaryData& GetRawData() const { return m_raw; }
  void SetRawData(const BinaryData& raw) { m_raw = raw; }

  // 1 bit (DPT 1).
  bool GetAsBoolean() const;
  void SetAsBoolean(bool value);
  // 2 bits, control and value (DPT 2). The setter also takes the pair as nibbles:
  // 0x10 = control 1, value 0; 0x11 = control 1, value 1.
  unsigned char GetAsUnsigned2() const;
  void SetAsUnsigned2(unsigned char value);
  // 3-bit field in the low bits (e.g. the mode of DPT 6.020).
  unsigned char GetAsUnsigned3() const;
  // 4 bits (DPT 3).
  unsigned char GetAsUnsigned4() const;
  void SetAsUnsigned4(unsigned char value);
  // 8 bits (DPT 4, 5, 6, 17, 18, 20, ...).
  unsigned char GetAsUnsigned8() const;
  void SetAsUnsigned8(unsigned char value);
  signed char GetAsSigned8() const;
  void SetAsSigned8(signed char value);
  void SetAsChar(char value);
  // 16 bits (DPT 7, 8).
  uint16_t GetAsUnsigned16() const;
  void SetAsUnsigned16(uint16_t value);
  int16_t GetAsSigned16() const;
  void SetAsSigned16(int16_t value);
  // 32 bits (DPT 12, 13).
  uint32_t GetAsUnsigned32() const;
  void SetAsUnsigned32(uint32_t value);
  int32_t GetAsSigned32() const;
  void SetAsSigned32(int32_t value);
  // 2-byte float (DPT 9): 0.01 * mantissa * 2^exponent. 32767.0 and NaN write the
  // invalid pattern 0x7FFF; a finite value that would encode as 0x7FFF is written 0x7FFE.
  double GetAsFloat16() const;
  void SetAsFloat16(double value);
  // 4-byte IEEE 754 float (DPT 14).
  float GetAsFloat32() const;
  void SetAsFloat32(float value);
  // 14-byte string (DPT 16): cut at 14 bytes, zero-padded; the getter reads up to 14 bytes
  // and stops at the first 0.
  std::string GetAsString14() const;
  void SetAsString14(const std::string& value);
  // Date (DPT 11): full years 1990..2089 here, two digits on the bus.
  void GetAsDate(int& day, int& month, int& year) const;
  void SetAsDate(int day, int month, int year);
  // Time of day with weekday (DPT 10).
  void GetAsTimeOfDay(int& hour, int& minute, int& second, DayOfWeek& day) const;
  void SetAsTimeOfDay(int hour, int minute, int second, DayOfWeek day);

  friend bool operator==(const GroupValue& a, const GroupValue& b) {
    return a.m_bitSize == b.m_bitSize && a.m_raw == b.m_raw;
  }
  friend bool operator!=(const GroupValue& a, const GroupValue& b) { return !(a == b); }

 private:
  void Store(const unsigned char* bytes, unsigned int count, unsigned int bitSize);

  BinaryData m_raw;
  unsigned int m_bitSize = 0;
};

}  // namespace KnxStack
