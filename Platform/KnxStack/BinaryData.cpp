#include "KnxStack/GroupValue.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace KnxStack {

namespace {

// Only reached on the refusal path, so building the text may allocate.
[[noreturn]] void ThrowPastEnd(const char* accessor, unsigned int index, unsigned int needed,
                               unsigned int size) {
  throw GroupValueException(std::string("BinaryData::") + accessor + ": index " +
                            std::to_string(index) + " needs " + std::to_string(needed) +
                            (needed == 1 ? " byte" : " bytes") + ", data has " +
                            std::to_string(size) + (size == 1 ? " byte" : " bytes"));
}

uint32_t ReadBigEndian(const unsigned char* bytes, unsigned int count) {
  uint32_t value = 0;
  for (unsigned int i = 0; i < count; ++i) {
    value = (value << 8) | bytes[i];
  }
  return value;
}

}  // namespace

void BinaryData::Release() noexcept {
  delete[] m_heap;
  m_heap = nullptr;
  m_size = 0;
}

void BinaryData::AssignOutOfLine(const unsigned char* data, unsigned int size) {
  if (size <= InlineCapacity) {
    // Copy before releasing: data may point into our own heap buffer.
    unsigned char bytes[InlineCapacity];
    if (size > 0) {
      std::memcpy(bytes, data, size);
    }
    Release();
    if (size > 0) {
      std::memcpy(m_inline, bytes, size);
    }
    m_size = size;
    return;
  }
  // The heap buffer always has exactly m_size bytes; one of the same size is reused.
  if (m_heap != nullptr && m_size == size) {
    std::memmove(m_heap, data, size);
    return;
  }
  auto* heap = new unsigned char[size];
  std::memcpy(heap, data, size);
  Release();
  m_heap = heap;
  m_size = size;
}

void BinaryData::Resize(unsigned int size) {
  if (size <= InlineCapacity) {
    std::fill(m_inline + m_size, m_inline + size, 0);
    m_size = size;
    return;
  }
  auto* heap = new unsigned char[size]();
  std::memcpy(heap, GetData(), m_size);
  delete[] m_heap;
  m_heap = heap;
  m_size = size;
}

uint8_t BinaryData::GetUInt8Value(unsigned int index) const {
  if (index >= m_size) {
    ThrowPastEnd("GetUInt8Value", index, 1, m_size);
  }
  return GetData()[index];
}

uint32_t BinaryData::GetUInt24Value(unsigned int index) const {
  if (index >= m_size || m_size - index < 3) {
    ThrowPastEnd("GetUInt24Value", index, 3, m_size);
  }
  return ReadBigEndian(GetData() + index, 3);
}

uint32_t BinaryData::GetUInt32Value(unsigned int index) const {
  if (index >= m_size || m_size - index < 3) {
    ThrowPastEnd("GetUInt32Value", index, 3, m_size);
  }
  // 24-bit values (DPT 232) travel in three bytes; readers of them use this accessor too.
  return ReadBigEndian(GetData() + index, std::min(m_size - index, 4u));
}

void BinaryData::SetUInt8Value(unsigned int index, uint8_t value) {
  if (index >= m_size) {
    Resize(index + 1);
  }
  MutableData()[index] = value;
}

std::string BinaryData::ToString() const {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  if (m_size == 0) {
    return text;
  }
  text.reserve(m_size * 3 - 1);
  const unsigned char* bytes = GetData();
  for (unsigned int i = 0; i < m_size; ++i) {
    if (i > 0) {
      text += ' ';
    }
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0x0F];
  }
  return text;
}

bool operator==(const BinaryData& a, const BinaryData& b) {
  return a.m_size == b.m_size && std::equal(a.GetData(), a.GetData() + a.m_size, b.GetData());
}

}  // namespace KnxStack
