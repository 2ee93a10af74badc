// Converters for KNX characters (4.x) and 14-byte strings (16.x). Platform strings are UTF-8,
// KNX characters single bytes.

#include <string>
#include <utility>

#include <Quor/Log.h>

#include "QuorObjectModel/Converters/ConverterTrace.h"
#include "QuorObjectModel/Converters/KnxConverterDetail.h"
#include "QuorObjectModel/KnxConverter.h"

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

}  // namespace Quor
