// Converters for KNX integers of 8 to 32 bits and the 2- and 4-byte floats.

#include <cmath>
#include <cstring>
#include <limits>

#include "QuorObjectModel/Converters/ConverterTrace.h"
#include "QuorObjectModel/Converters/KnxConverterDetail.h"
#include "QuorObjectModel/KnxConverter.h"
#include "QuorObjectModel/Wire/KnxWireFormat.h"

namespace Quor {

using Detail::IsInWindow;

namespace {

float QuietNaN() {
  constexpr uint32_t bits = 0x7FC00000u;
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// IEEE narrowing rounds to nearest: up to half an ulp above FLT_MAX gives FLT_MAX, beyond it an
// infinity, the same bytes as the direct conversion sends.
static_assert(std::numeric_limits<float>::is_iec559, "narrowing must follow IEEE 754");

}  // namespace

bool KnxConverterByte8BitUnsigned::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                              KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (value.tvt != tvtByte) {
    QUOR_LOG_ERROR("Wrong tev value type (tvtByte)!");
    return false;
  }
  const uint8_t byte = value.value.byteValue;
  // Only 5.006 tests the window on the way out.
  if (dpt.mainNumber == 5 && dpt.subNumber == 6 &&
      !IsInWindow<int32_t>(byte, m_range.internalMin, m_range.internalMax)) {
    QUOR_LOG_ERROR("Value out of raw range [0..254] for DPT 5.006: " << byte);
    return false;
  }
  group.SetAsUnsigned8(byte);
  return true;
}

bool KnxConverterByte8BitUnsigned::FromKnxValue(const KNXDPT& dpt,
                                                const KnxStack::GroupValue& group,
                                                TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  const uint8_t v = group.GetAsUnsigned8();
  if (!IsInWindow<int32_t>(v, m_range.internalMin, m_range.internalMax)) {
    QUOR_LOG_ERROR("Value out of raw range " << m_range << " for DPT " << dpt.mainNumber << "."
                                             << dpt.subNumber << "; value was " << v);
    return false;
  }
  value.tvt = tvtByte;
  value.value.byteValue = v;
  return true;
}

bool KnxConverterInteger8BitSigned::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                               KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesStrictCheck(dpt.mainNumber == 6, value.tvt == tvtInteger)) {
    QUOR_LOG_ERROR("Wrong tev value type (tvtInteger) or DPT main number (6.x)!");
    return false;
  }
  // No window: only the low byte travels.
  group.SetAsSigned8(static_cast<signed char>(static_cast<uint8_t>(value.value.intValue)));
  return true;
}

bool KnxConverterInteger8BitSigned::FromKnxValue(const KNXDPT& dpt,
                                                 const KnxStack::GroupValue& group,
                                                 TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  value.tvt = tvtInteger;
  // A signed byte: its sign extends on purpose.
  value.value.intValue = group.GetAsSigned8();  // NOLINT(bugprone-signed-char-misuse)
  return true;
}

bool KnxConverterInteger16BitUnsigned::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                                  KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 7, value.tvt == tvtWord)) {
    QUOR_LOG_ERROR("Wrong DPT main number (7.x) or tev value type (tvtWord)!");
    return false;
  }
  group.SetAsUnsigned16(value.value.wordValue);
  return true;
}

bool KnxConverterInteger16BitUnsigned::FromKnxValue(const KNXDPT& dpt,
                                                    const KnxStack::GroupValue& group,
                                                    TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (dpt.mainNumber != 7) {
    QUOR_LOG_ERROR("Wrong DPT main number (7.x)!");
    return false;
  }
  value.tvt = tvtWord;
  value.value.wordValue = group.GetAsUnsigned16();
  return true;
}

bool KnxConverterInteger16BitSigned::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                                KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 8, value.tvt == tvtInteger)) {
    QUOR_LOG_ERROR("Wrong DPT main number (8.x) or tev value type (tvtInteger)!");
    return false;
  }
  group.SetAsSigned16(static_cast<int16_t>(static_cast<uint16_t>(value.value.intValue)));
  return true;
}

bool KnxConverterInteger16BitSigned::FromKnxValue(const KNXDPT& dpt,
                                                  const KnxStack::GroupValue& group,
                                                  TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (dpt.mainNumber != 8) {
    QUOR_LOG_ERROR("Wrong DPT main number (8.x)!");
    return false;
  }
  value.tvt = tvtInteger;
  value.value.intValue = group.GetAsSigned16();
  return true;
}

bool KnxConverterFloat16BitFloat::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                             KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 9, value.tvt == tvtFloat,
                                     value.tvt == tvtInvalid)) {
    QUOR_LOG_ERROR("Wrong DPT main number (9.x) or tev value type (tvtFloat)!");
    return false;
  }
  if (value.tvt == tvtInvalid) {
    group.SetAsFloat16(Knx::kFloat16InvalidValue);
    return true;
  }
  const double d = value.value.doubleValue;
  if (!IsInWindow(d, m_range.doubleMin, m_range.doubleMax)) {
    QUOR_LOG_ERROR("The internal value of DPT=" << dpt.mainNumber << "." << dpt.subNumber
                                                << ", f=" << d << " is out of the allowed range.");
    return false;
  }
  group.SetAsFloat16(d);
  return true;
}

bool KnxConverterFloat16BitFloat::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                               TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (group.GetAsUnsigned16() == Knx::kFloat16Invalid) {
    value.tvt = tvtInvalid;
    return true;
  }
  // Stored before the window test: a refused value still reaches the caller.
  const double d = group.GetAsFloat16();
  value.value.doubleValue = d;
  if (!IsInWindow(d, m_range.doubleMin, m_range.doubleMax)) {
    QUOR_LOG_ERROR("The internal value of DPT=" << dpt.mainNumber << "." << dpt.subNumber
                                                << ", f=" << d << " is out of the allowed range.");
    return false;
  }
  return true;
}

bool KnxConverterFloat32BitFloat::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                             KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 14, value.tvt == tvtFloat,
                                     value.tvt == tvtInvalid)) {
    QUOR_LOG_ERROR("Wrong DPT main number (14.x) or tev value type (tvtFloat)!");
    return false;
  }
  group.SetAsFloat32(value.tvt == tvtInvalid ? QuietNaN()
                                             : static_cast<float>(value.value.doubleValue));
  return true;
}

bool KnxConverterFloat32BitFloat::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                               TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (dpt.mainNumber != 14) {
    QUOR_LOG_ERROR("Wrong DPT main number (14.x)!");
    return false;
  }
  const float f = group.GetAsFloat32();
  value.value.doubleValue = f;
  value.tvt = std::isnan(f) ? tvtInvalid : tvtFloat;
  return true;
}

bool KnxConverterInteger24BitUnsigned::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                                  KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  // The highest byte of the dword is dropped.
  const auto bytes = Knx::Unsigned24Bytes(value.value.dwordValue);
  group =
      KnxStack::GroupValue(KnxStack::BinaryData(bytes.data(), bytes.size()), Knx::kUnsigned24Bits);
  return true;
}

bool KnxConverterInteger24BitUnsigned::FromKnxValue(const KNXDPT& dpt,
                                                    const KnxStack::GroupValue& group,
                                                    TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  // Only the dword; the tvt stays as the caller set it.
  value.value.dwordValue = group.GetRawData().GetUInt32Value(0);
  return true;
}

bool KnxConverterInteger32BitUnsigned::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                                  KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (value.tvt != tvtDWord) {
    QUOR_LOG_ERROR("Wrong tev value type (tvtDWord)!");
    return false;
  }
  const uint32_t dword = value.value.dwordValue;
  if (!IsInWindow<int64_t>(dword, m_range.internalMin, m_range.internalMax)) {
    QUOR_LOG_ERROR("The internal value of DPT=" << dpt.mainNumber << "." << dpt.subNumber
                                                << ", tvt=" << static_cast<int>(value.tvt)
                                                << " is out of range: " << dword << "!");
    return false;
  }
  group.SetAsUnsigned32(dword);
  return true;
}

bool KnxConverterInteger32BitUnsigned::FromKnxValue(const KNXDPT& dpt,
                                                    const KnxStack::GroupValue& group,
                                                    TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  const uint32_t v = group.GetAsUnsigned32();
  if (!IsInWindow<int64_t>(v, m_range.internalMin, m_range.internalMax)) {
    QUOR_LOG_ERROR("The internal value of DPT=" << dpt.mainNumber << "." << dpt.subNumber
                                                << ", tvt=" << static_cast<int>(value.tvt)
                                                << " is out of range: " << v << "!");
    return false;
  }
  value.value.dwordValue = v;
  value.tvt = tvtDWord;
  return true;
}

bool KnxConverterInteger32BitSigned::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                                KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 13, value.tvt == tvtInteger)) {
    QUOR_LOG_ERROR("Wrong DPT main number (13.x) or tev value type (tvtInteger)!");
    return false;
  }
  const int32_t v = value.value.intValue;
  if (!IsInWindow(v, m_range.internalMin, m_range.internalMax)) {
    QUOR_LOG_ERROR("The internal value of DPT=" << dpt.mainNumber << "." << dpt.subNumber
                                                << ", tvt=" << static_cast<int>(value.tvt)
                                                << " is out of range: " << v << "!");
    return false;
  }
  // Inside the window the mapped value lies in the external range, which is 32-bit.
  group.SetAsSigned32(static_cast<int32_t>(m_range.Map(v)));
  return true;
}

bool KnxConverterInteger32BitSigned::FromKnxValue(const KNXDPT& dpt,
                                                  const KnxStack::GroupValue& group,
                                                  TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (dpt.mainNumber != 13) {
    QUOR_LOG_ERROR("Wrong DPT main number (13.x)!");
    return false;
  }
  // Checked against the internal window without scaling back.
  const int32_t v = group.GetAsSigned32();
  if (!IsInWindow(v, m_range.internalMin, m_range.internalMax)) {
    QUOR_LOG_ERROR("The group value of DPT=" << dpt.mainNumber << "." << dpt.subNumber
                                             << " is out of range: " << v << "!");
    return false;
  }
  value.value.intValue = v;
  value.tvt = tvtInteger;
  return true;
}

}  // namespace Quor
