#pragma once
/// \file
/// The KNX stack's group-value container. Encodings follow the KNX datapoint types byte for
/// byte; multi-byte values are big-endian as on the bus. Part of the platform contract the
/// library relies on.
/// \ingroup platform

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

/// Marks the KNX stack library's exported symbols.
#define KNXSTACK_API __attribute__((visibility("default")))

namespace KnxStack {

/// What the group value's getters and setters throw on too short data or a value the
/// encoding cannot hold.
/// \ingroup platform
class KNXSTACK_API GroupValueException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Byte buffer: the raw bytes of a group value, as received from or sent to the bus. Up to
/// InlineCapacity bytes live inside the object (no allocation).
/// \ingroup platform
class KNXSTACK_API BinaryData {
 public:
  /// Bytes held without an allocation.
  static constexpr unsigned int InlineCapacity = 16;

  // Copies, moves and destruction of inline bytes are inline: they are fixed-size moves.
  /// No bytes.
  BinaryData() = default;
  /// A copy of size bytes from data (null for none).
  BinaryData(const unsigned char* data, unsigned int size) { Assign(data, size); }
  /// A copy.
  BinaryData(const BinaryData& other) : m_size(other.m_size) {
    if (other.m_heap == nullptr) {
      std::memcpy(m_inline, other.m_inline, InlineCapacity);
    } else {
      m_size = 0;
      AssignOutOfLine(other.m_heap, other.m_size);
    }
  }
  /// Copies the other's bytes.
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
  /// Takes the other's bytes (a heap buffer is handed over); the source is left empty.
  BinaryData(BinaryData&& other) noexcept { TakeFrom(other); }
  /// Takes the other's bytes; the source is left empty.
  BinaryData& operator=(BinaryData&& other) noexcept {
    if (this != &other) {
      delete[] m_heap;
      TakeFrom(other);
    }
    return *this;
  }
  ~BinaryData() { delete[] m_heap; }

  /// The number of bytes.
  unsigned int GetSize() const { return m_size; }
  /// The bytes.
  const unsigned char* GetData() const { return m_heap ? m_heap : m_inline; }

  /// The byte at index; throws GroupValueException past the end.
  uint8_t GetUInt8Value(unsigned int index) const;
  /// Three bytes from index, big-endian; throws GroupValueException past the end.
  uint32_t GetUInt24Value(unsigned int index) const;
  /// Four bytes from index, big-endian; with only three bytes left, their 24-bit value.
  uint32_t GetUInt32Value(unsigned int index) const;
  /// Sets the byte at index; grows the buffer (zero-filled) when index is past the end.
  void SetUInt8Value(unsigned int index, uint8_t value);
  /// Replaces the bytes in place; no allocation up to InlineCapacity bytes.
  // Inline so that the setters' fixed-size copies compile to plain moves.
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

  /// Bytes as lowercase hex pairs separated by blanks, e.g. "0c 33"; "" when empty.
  std::string ToString() const;

  /// Same bytes.
  friend KNXSTACK_API bool operator==(const BinaryData& a, const BinaryData& b);
  /// Different bytes.
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

/// An encoded KNX value: raw bytes and a defined size in bits. Values of 1 to 6 bits are
/// one byte with the value in its low bits. Setters replace the bytes and set the defined
/// size of their encoding; getters read the first bytes of the raw data and throw
/// GroupValueException when it is too short. A setter given a value its encoding cannot
/// hold throws GroupValueException as well.
///
/// A telegram received from the bus is bytes only: build its group value from the bytes and
/// the bit size of the DPT's main type (Quor::BitSizeOfMainType()).
/// \ingroup platform
class KNXSTACK_API GroupValue {
 public:
  /// Weekday of a KNX time of day; 0 = no day.
  enum DayOfWeek : unsigned char {
    NoDay = 0,      ///< No day given.
    Monday = 1,     ///< Monday.
    Tuesday = 2,    ///< Tuesday.
    Wednesday = 3,  ///< Wednesday.
    Thursday = 4,   ///< Thursday.
    Friday = 5,     ///< Friday.
    Saturday = 6,   ///< Saturday.
    Sunday = 7,     ///< Sunday.
  };

  /// No bytes, bit size 0.
  GroupValue() = default;
  /// The raw bytes with their size in bits, as received.
  GroupValue(const BinaryData& raw, unsigned int bitSize) : m_raw(raw), m_bitSize(bitSize) {}
  /// The raw bytes with their size in bits, as received.
  GroupValue(BinaryData&& raw, unsigned int bitSize) : m_raw(std::move(raw)), m_bitSize(bitSize) {}

  /// The defined size in bits.
  unsigned int GetDefinedSize() const { return m_bitSize; }
  /// The raw bytes.
  const BinaryData& GetRawData() const { return m_raw; }
  /// Replaces the raw bytes; the defined size stays.
  void SetRawData(const BinaryData& raw) { m_raw = raw; }

  /// \name 1 bit (DPT 1)
  /// @{

  /// Reads the value.
  bool GetAsBoolean() const;
  /// Writes the value and its defined size.
  void SetAsBoolean(bool value);
  /// @}

  /// \name 2 bits, control and value (DPT 2)
  /// The setter also takes the pair as nibbles: 0x10 = control 1, value 0; 0x11 = control 1,
  /// value 1.
  /// @{

  /// Reads the value.
  unsigned char GetAsUnsigned2() const;
  /// Writes the value and its defined size.
  void SetAsUnsigned2(unsigned char value);
  /// @}

  /// \name 3-bit field in the low bits (e.g. the mode of DPT 6.020)
  /// @{

  /// Reads the value.
  unsigned char GetAsUnsigned3() const;
  /// @}

  /// \name 4 bits (DPT 3)
  /// @{

  /// Reads the value.
  unsigned char GetAsUnsigned4() const;
  /// Writes the value and its defined size.
  void SetAsUnsigned4(unsigned char value);
  /// @}

  /// \name 8 bits (DPT 4, 5, 6, 17, 18, 20, ...)
  /// @{

  /// Reads the value.
  unsigned char GetAsUnsigned8() const;
  /// Writes the value and its defined size.
  void SetAsUnsigned8(unsigned char value);
  /// Reads the value.
  signed char GetAsSigned8() const;
  /// Writes the value and its defined size.
  void SetAsSigned8(signed char value);
  /// Writes the value and its defined size.
  void SetAsChar(char value);
  /// @}

  /// \name 16 bits (DPT 7, 8)
  /// @{

  /// Reads the value.
  uint16_t GetAsUnsigned16() const;
  /// Writes the value and its defined size.
  void SetAsUnsigned16(uint16_t value);
  /// Reads the value.
  int16_t GetAsSigned16() const;
  /// Writes the value and its defined size.
  void SetAsSigned16(int16_t value);
  /// @}

  /// \name 32 bits (DPT 12, 13)
  /// @{

  /// Reads the value.
  uint32_t GetAsUnsigned32() const;
  /// Writes the value and its defined size.
  void SetAsUnsigned32(uint32_t value);
  /// Reads the value.
  int32_t GetAsSigned32() const;
  /// Writes the value and its defined size.
  void SetAsSigned32(int32_t value);
  /// @}

  /// \name 2-byte float (DPT 9)
  /// 0.01 * mantissa * 2^exponent. 32767.0 and NaN write the invalid pattern 0x7FFF; a finite
  /// value that would encode as 0x7FFF is written 0x7FFE.
  /// @{

  /// Reads the value.
  double GetAsFloat16() const;
  /// Writes the value and its defined size.
  void SetAsFloat16(double value);
  /// @}

  /// \name 4-byte IEEE 754 float (DPT 14)
  /// @{

  /// Reads the value.
  float GetAsFloat32() const;
  /// Writes the value and its defined size.
  void SetAsFloat32(float value);
  /// @}

  /// \name 14-byte string (DPT 16)
  /// Cut at 14 bytes, zero-padded; the getter reads up to 14 bytes and stops at the first 0.
  /// @{

  /// Reads the value.
  std::string GetAsString14() const;
  /// Writes the value and its defined size.
  void SetAsString14(const std::string& value);
  /// @}

  /// \name Date (DPT 11)
  /// Full years 1990..2089 here, two digits on the bus.
  /// @{

  /// Reads the value.
  void GetAsDate(int& day, int& month, int& year) const;
  /// Writes the value and its defined size.
  void SetAsDate(int day, int month, int year);
  /// @}

  /// \name Time of day with weekday (DPT 10)
  /// @{

  /// Reads the value.
  void GetAsTimeOfDay(int& hour, int& minute, int& second, DayOfWeek& day) const;
  /// Writes the value and its defined size.
  void SetAsTimeOfDay(int hour, int minute, int second, DayOfWeek day);
  /// @}

  /// Same defined size and bytes.
  friend bool operator==(const GroupValue& a, const GroupValue& b) {
    return a.m_bitSize == b.m_bitSize && a.m_raw == b.m_raw;
  }
  /// Different defined size or bytes.
  friend bool operator!=(const GroupValue& a, const GroupValue& b) { return !(a == b); }

 private:
  void Store(const unsigned char* bytes, unsigned int count, unsigned int bitSize);

  BinaryData m_raw;
  unsigned int m_bitSize = 0;
};

}  // namespace KnxStack
