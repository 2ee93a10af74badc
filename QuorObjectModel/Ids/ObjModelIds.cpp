// The object-model ids of the KNX device: the device, the two logical devices, their app
// control channel, their COs and their parameters, and which id is which.

#include <array>
#include <cstdint>

#include "QuorObjectModel/Ids/ObjectModelNames.h"
#include "QuorObjectModel/KnxZebMapping.h"
#include "QuorObjectModel/Wire/KnxWireFormat.h"

namespace Quor {
namespace KnxZebMapping {

namespace {

using Id = std::uint32_t;

// Indexed by the numeric value of ParameterType.
constexpr std::array<unsigned long, 3> kMaxParametersByType = {
    kMaxIpParameters,      // Ip
    kMaxNumberParameters,  // Number
    kMaxTextParameters,    // Text
};

Id BlockStart(LogicalDeviceId device) {
  return kLogicalDeviceBlockSize * static_cast<Id>(device.Get());
}

Id TypeNumber(ParameterType type) {
  return static_cast<Id>(type);
}

bool IsIdAt(unsigned long id, LogicalDeviceId device, Id offset) {
  return Knx::Low32Bits(id) == BlockStart(device) + offset;
}

bool IsCoChannel32(Id id) {
  // Offsets below 100 wrap around to huge values and fail the range check.
  const Id offsetFromFirstChannel = id % kLogicalDeviceBlockSize - kFirstCoChannelOffset;
  return id >= kLogicalDeviceBlockSize &&
         offsetFromFirstChannel <= kLastCoValueOffset - kFirstCoChannelOffset && id % 2 == 0;
}

bool IsParameterChannel32(Id id) {
  if (id < kFirstParameterObjModelId) {
    return false;
  }
  const Id offset = id % kLogicalDeviceBlockSize;
  if (offset < kParameterRegionOffset) {
    return false;
  }
  const Id inRegion = offset - kParameterRegionOffset;
  if (inRegion < 2) {
    return false;
  }
  const Id type = (inRegion - 2) / kParameterTypeRegionSize;
  if (type > TypeNumber(ParameterType::Text)) {
    return false;
  }
  const Id inType = type == 0 ? inRegion : inRegion % (kParameterTypeRegionSize * type);
  return inType / 2 <= GetMaxParametersOfType(static_cast<ParameterType>(type));
}

boost::optional<unsigned long> ValueIdOf(const boost::optional<unsigned long>& channel) {
  if (!channel) {
    return boost::none;
  }
  return static_cast<unsigned long>(Knx::Low32Bits(*channel) + 1);
}

}  // namespace

bool IsAnyLogicalKnxDeviceId(unsigned long id) {
  return Knx::Low32Bits(id) >= kLogicalDeviceBlockSize;
}

unsigned long GetDeviceObjModelId() {
  return kKnxDeviceObjModelId;
}

unsigned long GetKnxDeviceObjModelId() {
  return kKnxDeviceObjModelId;
}

unsigned long GetLogicalKnxDeviceObjModelId(LogicalDeviceId device) {
  return BlockStart(device);
}

unsigned long GetLastObjModelId(LogicalDeviceId device) {
  return BlockStart(device) + kLogicalDeviceBlockSize - 1;
}

boost::optional<LogicalDeviceId> GetLogicalDeviceIdFromObject(unsigned long id) {
  return LogicalDeviceId::Create(static_cast<int>(Knx::Low32Bits(id) / kLogicalDeviceBlockSize));
}

unsigned long GetAppHostAppControlChannelObjModelId(LogicalDeviceId device) {
  return BlockStart(device) + kAppControlChannelOffset;
}

unsigned long GetAppHostAppControlStateObjModelId(LogicalDeviceId device) {
  return BlockStart(device) + kAppControlStateOffset;
}

unsigned long GetAppHostAppControlEventObjModelId(LogicalDeviceId device) {
  return BlockStart(device) + kAppControlEventOffset;
}

unsigned long GetAppHostAppControlAliveObjModelId(LogicalDeviceId device) {
  return BlockStart(device) + kAppControlAliveOffset;
}

unsigned long GetAppHostAppControlAppDebugObjModelId(LogicalDeviceId device) {
  return BlockStart(device) + kAppControlAppDebugOffset;
}

bool IsAppHostAppControlState(unsigned long id, LogicalDeviceId device) {
  return IsIdAt(id, device, kAppControlStateOffset);
}

bool IsAppHostAppControlEvent(unsigned long id, LogicalDeviceId device) {
  return IsIdAt(id, device, kAppControlEventOffset);
}

bool IsAppHostAppControlAliveHeartbeat(unsigned long id, LogicalDeviceId device) {
  return IsIdAt(id, device, kAppControlAliveOffset);
}

bool IsAppHostAppControlAppDebug(unsigned long id, LogicalDeviceId device) {
  return IsIdAt(id, device, kAppControlAppDebugOffset);
}

boost::optional<unsigned long> GetCoChannelObjModelId(unsigned short coNumber,
                                                      LogicalDeviceId device) {
  if (coNumber >= kCoNumberLimit) {
    return boost::none;
  }
  return static_cast<unsigned long>(BlockStart(device) + kCoChannelBaseOffset +
                                    2 * static_cast<Id>(coNumber));
}

boost::optional<unsigned long> GetCoValueObjModelId(unsigned long channelId) {
  if (!IsCoChannel(channelId)) {
    return boost::none;
  }
  return ValueIdOf(channelId);
}

boost::optional<unsigned long> GetCoValueObjModelId(unsigned short coNumber,
                                                    LogicalDeviceId device) {
  const auto channel = GetCoChannelObjModelId(coNumber, device);
  return channel ? GetCoValueObjModelId(*channel) : boost::none;
}

bool IsCoChannel(unsigned long id) {
  return IsCoChannel32(Knx::Low32Bits(id));
}

bool IsCoValue(unsigned long id) {
  const Id narrow = Knx::Low32Bits(id);
  return narrow != 0 && IsCoChannel32(narrow - 1);
}

boost::optional<unsigned short> GetCoNumberFromObjModelId(unsigned long valueId,
                                                          LogicalDeviceId device) {
  const Id narrow = Knx::Low32Bits(valueId);
  if (narrow % 2 == 0 || !IsCoChannel32(narrow & ~Id{1})) {
    return boost::none;
  }
  const Id number = (narrow % BlockStart(device) - kFirstCoChannelOffset) / 2 + 1;
  return static_cast<unsigned short>(number);
}

unsigned long GetMaxParametersOfType(ParameterType type) {
  const Id index = TypeNumber(type);
  return index < kMaxParametersByType.size() ? kMaxParametersByType[index] : 0;
}

boost::optional<unsigned long> GetParameterChannelObjModelId(unsigned short parameterNumber,
                                                             LogicalDeviceId device,
                                                             ParameterType type) {
  if (parameterNumber > GetMaxParametersOfType(type)) {
    return boost::none;
  }
  return static_cast<unsigned long>(BlockStart(device) + kParameterRegionOffset +
                                    kParameterTypeRegionSize * TypeNumber(type) +
                                    2 * static_cast<Id>(parameterNumber));
}

boost::optional<unsigned long> GetParameterValueObjModelId(unsigned short parameterNumber,
                                                           LogicalDeviceId device,
                                                           ParameterType type) {
  return ValueIdOf(GetParameterChannelObjModelId(parameterNumber, device, type));
}

boost::optional<unsigned long> GetParameterValueObjModelId(unsigned long channelId) {
  if (!IsParameterChannel(channelId)) {
    return boost::none;
  }
  return ValueIdOf(channelId);
}

boost::optional<unsigned long> GetIpParameterValueObjModelId(unsigned short parameterNumber,
                                                             LogicalDeviceId device) {
  if (parameterNumber > GetMaxParametersOfType(ParameterType::Ip)) {
    return boost::none;
  }
  return GetParameterValueObjModelId(parameterNumber, device, ParameterType::Ip);
}

boost::optional<unsigned long> GetNumberParameterValueObjModelId(unsigned short parameterNumber,
                                                                 LogicalDeviceId device) {
  if (parameterNumber > GetMaxParametersOfType(ParameterType::Number)) {
    return boost::none;
  }
  return GetParameterValueObjModelId(parameterNumber, device, ParameterType::Number);
}

boost::optional<unsigned long> GetTextParameterValueObjModelId(unsigned short parameterNumber,
                                                               LogicalDeviceId device) {
  if (parameterNumber > kMaxTextParameters) {
    return boost::none;
  }
  return GetParameterValueObjModelId(parameterNumber, device, ParameterType::Text);
}

bool IsParameterChannel(unsigned long id) {
  return IsParameterChannel32(Knx::Low32Bits(id));
}

boost::optional<ParameterType> GetParameterTypeFromObjModelId(unsigned long id,
                                                              LogicalDeviceId device) {
  const Id narrow = Knx::Low32Bits(id);
  if (!IsParameterChannel32(narrow)) {
    return boost::none;
  }
  // An id of another block lands far outside 0..2 here.
  const Id type = narrow % (BlockStart(device) + kParameterRegionOffset) / kParameterTypeRegionSize;
  if (type > TypeNumber(ParameterType::Text)) {
    return boost::none;
  }
  return static_cast<ParameterType>(type);
}

boost::optional<unsigned short> GetParameterNumberFromObjModelId(unsigned long id,
                                                                 LogicalDeviceId device) {
  const auto type = GetParameterTypeFromObjModelId(id, device);
  if (!type) {
    return boost::none;
  }
  const Id typeStart =
      BlockStart(device) + kParameterRegionOffset + kParameterTypeRegionSize * TypeNumber(*type);
  return static_cast<unsigned short>(static_cast<Id>(id) % typeStart / 2);
}

}  // namespace KnxZebMapping
}  // namespace Quor
