// Converters for scene numbers (17.001), scene control (18.001) and scene information (26.001).

#include "QuorObjectModel/Converters/ConverterTrace.h"
#include "QuorObjectModel/Converters/KnxConverterDetail.h"
#include "QuorObjectModel/KnxConverter.h"
#include "QuorObjectModel/Wire/KnxWireFormat.h"

namespace Quor {

namespace {

// Scene control (18.001):  C R NNNNNN  learn (C), reserved (R), scene number (N)
// Scene info (26.001):     R I NNNNNN  reserved (R), scene inactive (I), scene number (N)
constexpr uint8_t kSceneControlLearnBit = 0x80;
constexpr uint8_t kSceneControlReservedBit = 0x40;
constexpr uint8_t kSceneInfoReservedBit = 0x80;

}  // namespace

bool KnxConverterSceneNumber::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                         KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 17, dpt.subNumber == 1,
                                     value.tvt == tvtByte)) {
    QUOR_LOG_ERROR("Wrong DPT main number (17.001) or tev value type (tvtByte)!");
    return false;
  }
  // The whole 32-bit integer, whatever the tvt, so that negatives fail the window.
  const int32_t scene = value.value.intValue;
  if (!Detail::IsInWindow(scene, m_range.internalMin, m_range.internalMax)) {
    QUOR_LOG_ERROR("Scene number is out of range (>63) for SceneNumber: " << scene);
    return false;
  }
  group.SetAsUnsigned8(static_cast<uint8_t>(scene));
  return true;
}

bool KnxConverterSceneNumber::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                           TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (!Detail::PassesPermissiveCheck(dpt.mainNumber == 17, dpt.subNumber == 1)) {
    QUOR_LOG_ERROR("Wrong DPT main number (17.001)!");
    return false;
  }
  // Stored before the window test: a refused scene still reaches the caller.
  const uint8_t scene = group.GetAsUnsigned8();
  value.value.intValue = scene;
  if (!Detail::IsInWindow<int32_t>(scene, m_range.internalMin, m_range.internalMax)) {
    QUOR_LOG_ERROR("Scene number is out of range (>63) for SceneNumber: " << scene);
    return false;
  }
  value.tvt = tvtByte;
  return true;
}

bool KnxConverterSceneControl::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                          KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesStrictCheck(dpt.mainNumber == 18, dpt.subNumber == 1, value.tvt == tvtByte)) {
    QUOR_LOG_ERROR("Wrong DPT for Scene number (18.001) or tev value type (tvtByte).");
    return false;
  }
  const uint8_t b = value.value.byteValue;
  const int scene = b & ~kSceneControlLearnBit;
  if (scene > Knx::kHighestSceneNumber) {
    QUOR_LOG_ERROR("Scene number is out of range (>63) for SceneControl: " << scene);
    return false;
  }
  group.SetAsUnsigned8(b);
  return true;
}

bool KnxConverterSceneControl::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                            TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (!Detail::PassesStrictCheck(dpt.mainNumber == 18, dpt.subNumber == 1)) {
    QUOR_LOG_ERROR("Wrong DPT for Scene number, only 18.001 is valid.");
    return false;
  }
  const uint8_t b = group.GetAsUnsigned8();
  if (b & kSceneControlReservedBit) {
    QUOR_LOG_ERROR("Reserved bit is used for scene number in DPT scene control!");
    return false;
  }
  value.value.byteValue = b;
  return true;
}

bool KnxConverterSceneInfo::ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value,
                                       KnxStack::GroupValue& group) {
  QUOR_TRACE_TO_KNX(dpt, value);
  if (!Detail::PassesStrictCheck(dpt.mainNumber == 26, dpt.subNumber == 1, value.tvt == tvtByte)) {
    QUOR_LOG_ERROR("Wrong DPT for Scene number (26.001) or tev value type (tvtByte).");
    return false;
  }
  const uint8_t b = value.value.byteValue;
  if (b & kSceneInfoReservedBit) {
    QUOR_LOG_ERROR("Reserved bit 8 is set for SceneInfo; skipped.");
    return false;
  }
  group.SetAsUnsigned8(b);
  return true;
}

bool KnxConverterSceneInfo::FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                                         TEVVALUE& value) {
  QUOR_TRACE_FROM_KNX(dpt, group);
  if (!Detail::PassesStrictCheck(dpt.mainNumber == 26, dpt.subNumber == 1)) {
    QUOR_LOG_ERROR("Wrong DPT for Scene number, only 26.001 is valid.");
    return false;
  }
  const uint8_t b = group.GetAsUnsigned8();
  if (b & kSceneInfoReservedBit) {
    // Wording chosen to match the sending direction's message.
    QUOR_LOG_ERROR("Reserved bit 8 is set for SceneInfo; refused.");
    return false;
  }
  value.value.byteValue = b;
  return true;
}

}  // namespace Quor
