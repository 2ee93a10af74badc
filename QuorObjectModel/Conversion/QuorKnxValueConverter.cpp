// The facade for callers that hold serialised values or only a bit size.

#include <cstdint>
#include <string>

#include "QuorObjectModel/KnxValueConverter.h"

namespace Quor {

QuorKnxValueConverter::QuorKnxValueConverter() = default;
QuorKnxValueConverter::~QuorKnxValueConverter() = default;

bool QuorKnxValueConverter::Init() {
  return m_converter.Init();
}

bool QuorKnxValueConverter::ToKnxValue(KNXDPT& dpt, const TEVVALUE& value,
                                       KnxStack::GroupValue& group) {
  return m_converter.ToKnxValue(dpt, value, group);
}

bool QuorKnxValueConverter::ToKnxValue(KNXDPT& dpt, const std::string& serialized,
                                       KnxStack::GroupValue& group) {
  // A text that does not deserialise is left to the type check of the conversion.
  TEVVALUE value;
  static_cast<void>(value.Deserialize(serialized));
  return m_converter.ToKnxValue(dpt, value, group);
}

bool QuorKnxValueConverter::ToKnxValue(const std::string& serialized, unsigned long bitSize,
                                       KnxStack::GroupValue& group) {
  KNXDPT dpt{static_cast<uint8_t>(bitSize & 0xFFu), 0, 0};
  TEVVALUE value;
  static_cast<void>(value.Deserialize(serialized));
  return m_converter.ToKnxValue(dpt, value, group);
}

bool QuorKnxValueConverter::FromKnxValue(KNXDPT& dpt, const KnxStack::GroupValue& group,
                                         TEVVALUE& value) {
  return m_converter.FromKnxValue(dpt, group, value);
}

bool QuorKnxValueConverter::FromKnxValue(const KnxStack::GroupValue& group, std::string& serialized,
                                         bool internalFormat) {
  KNXDPT dpt{static_cast<uint8_t>(group.GetDefinedSize() & 0xFFu), 0, 0};
  TEVVALUE value;
  const bool converted = m_converter.FromKnxValue(dpt, group, value);
  if (converted) {
    static_cast<void>(value.Serialize(serialized, internalFormat));
  }
  return converted;
}

}  // namespace Quor
