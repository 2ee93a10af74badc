// Converters for switches, control pairs, dimming steps, status bytes and the
// byte-array fallback.

#include <array>

#include "QuorObjectModel/Converters/ConverterTrace.h"
#include "QuorObjectModel/Converters/KnxConverterDetail.h"
#include "QuorObjectModel/KnxConverter.h"
#include "QuorObjectModel/Wire/KnxWireFormat.h"

namespace Quor {

namespace {

// Largest encoding the fallback converter hands to the platform value library.
constexpr unsigned int kMaxDefaultBytes = 24;

// A 2-bit control value (DPT 2.x) in the stack's nibble form: control bit set, value 1 or 0.
constexpr unsigned char kControlledOn = 0x11;
constexpr unsigned char kControlledOff = 0x10;

}  // namespace

bool KnxConverterDefault::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                     KnxStack::GroupValue& group) {
  const unsigned int byteSize = (dpt.bitSize + 7u) / 8u;

  if (value.tvt == tvtType1005 || value.tvt == tvtDimStep) {
    unsigned char byte = 0;
    unsigned int length = 1;
    if (!TevValueToByteArray(value, &byte, length)) {
      QUOR_LOG_ERROR("TevValueToByteArray failed. DPT=" << dpt.mainNumber << "." << dpt.subNumber);
      return false;
    }
    group.SetAsUnsigned8(byte);
    return true;
  }

  if (value.tvt == tvtBoolean) {
    const bool on = value.value.byteValue != 0;
    if (dpt.mainNumber == 1) {
      group.SetAsBoolean(on);
    } else if (dpt.mainNumber == 2) {
      group.SetAsUnsigned2(on ? kControlledOn : kControlledOff);
    }
    // Any other main number: accepted, nothing written.
    return true;
  }

  std::array<unsigned char, kMaxDefaultBytes> buffer{};
  unsigned int length =
      (byteSize == 0 || byteSize >= kMaxDefaultBytes) ? kMaxDefaultBytes : byteSize;
  if (!TevValueToByteArray(value, buffer.data(), length)) {
    QUOR_LOG_ERROR("TevValueToByteArray failed. DPT=" << dpt.mainNumber << "." << dpt.subNumber
                                                      << " data size =" << length);
    return false;
  }
  if (length < 2) {
    group.SetAsUnsigned8(buffer[0]);
  } else {
    group.SetRawData(KnxStack::BinaryData(buffer.data(), length));
  }
  return true;
}

bool KnxConverterDefault::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                       TEVVALUE& value) {
  const KnxStack::BinaryData& raw = group.GetRawData();
  if (!ByteArrayToTevValue(raw.GetData(), raw.GetSize(), value, group.GetDefinedSize() == 1)) {
    value = TEVVALUE();
    QUOR_LOG_ERROR("ByteArrayToTevValue failed. DPT=" << dpt.mainNumber << "." << dpt.subNumber
                                                      << " data size =" << raw.GetSize());
    return false;
  }
  return true;
}

bool KnxConverter1Bit::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                  KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesStrictCheck(dpt.mainNumber == 1, value.tvt == tvtBoolean)) {
    return false;  // refused without a message of its own
  }
  group.SetAsBoolean(value.value.byteValue != 0);
  return true;
}

bool KnxConverter1Bit::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                    TEVVALUE& value) {
  if (dpt.mainNumber != 1) {
    return false;  // refused without a message of its own
  }
  value.value.byteValue = group.GetAsBoolean() ? 1 : 0;
  return true;
}

bool KnxConverter2Bit::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                  KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesStrictCheck(dpt.mainNumber == 2, value.tvt == tvtByte)) {
    QUOR_LOG_ERROR("Wrong tev value type (tvtByte) or DPT main number (2.x)!");
    return false;
  }
  group.SetAsUnsigned2(value.value.byteValue);
  return true;
}

bool KnxConverter2Bit::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                    TEVVALUE& value) {
  if (dpt.mainNumber != 2) {
    QUOR_LOG_ERROR("Wrong DPT main number (2.x)!");
    return false;
  }
  value.tvt = tvtByte;
  value.value.byteValue = group.GetAsUnsigned2();
  return true;
}

bool KnxConverter4Bit::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                  KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesStrictCheck(dpt.mainNumber == 3, value.tvt == tvtByte)) {
    QUOR_LOG_ERROR("Wrong tev value type (tvtByte) or DPT main number (3.x)!");
    return false;
  }
  const uint8_t code = value.value.byteValue;
  if (code >= 16) {
    QUOR_LOG_ERROR("Value out of raw range [0..15]: " << code);
    return false;
  }
  group.SetAsUnsigned4(code);
  return true;
}

bool KnxConverter4Bit::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                    TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (dpt.mainNumber != 3) {
    QUOR_LOG_ERROR("Wrong DPT main number (3.x)!");
    return false;
  }
  // Only the byte; the tvt stays as the caller set it.
  value.value.byteValue = group.GetAsUnsigned4();
  return true;
}

bool KnxConverterStatus8Bit::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                        KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 6, dpt.subNumber == 20,
                                     value.tvt == tvtByte)) {
    QUOR_LOG_ERROR("Wrong tev value type (tvtByte) or DPT main number (6.020)!");
    return false;
  }
  // Written first: a bad mode is reported, but the byte stays in the group value.
  group.SetAsUnsigned8(value.value.byteValue);
  const unsigned int mode = Knx::StatusModeOf(group.GetAsUnsigned8());
  if (!Knx::IsValidStatusMode(mode)) {
    QUOR_LOG_ERROR("The internal value of DPT=" << dpt.mainNumber << "." << dpt.subNumber << ", f="
                                                << mode << " is out of the allowed range.");
    return false;
  }
  return true;
}

bool KnxConverterStatus8Bit::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                          TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 6, dpt.subNumber == 20)) {
    QUOR_LOG_ERROR("Wrong DPT main number (6.020)!");
    return false;
  }
  const unsigned int mode = Knx::StatusModeOf(group.GetAsUnsigned8());
  if (!Knx::IsValidStatusMode(mode)) {
    QUOR_LOG_ERROR("The internal value of DPT=" << dpt.mainNumber << "." << dpt.subNumber << ", f="
                                                << mode << " is out of the allowed range.");
    return false;
  }
  value.tvt = tvtByte;
  value.value.byteValue = group.GetAsUnsigned8();
  return true;
}

}  // namespace Quor
