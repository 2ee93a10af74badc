#include "QuorObjectModel/KnxZebMapping.h"

#include <array>

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/unordered_map.hpp>

#include <Quor/Assert.h>
#include <Quor/TevValueHelper.h>
#include <Quor/Unreachable.h>
#include <QuorHelper/TimeOfDay.h>

#include "QuorObjectModel/KnxWireFormat.h"
#include "QuorObjectModel/ObjectModelNames.h"

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

namespace {

constexpr unsigned long kDpt6020 = 0x60014;

// Creators of the table: each checks that its row's value type is the one its input makes.
TEVVALUE CreateDefaultValueBoolean(TevValueType tvt) {
  return ToTevValue<bool>(false, tvt);
}
TEVVALUE CreateDefaultValueByte(TevValueType tvt) {
  return ToTevValue<unsigned char>(0, tvt);
}
TEVVALUE CreateDefaultValueWord(TevValueType tvt) {
  return ToTevValue<unsigned short>(0, tvt);
}
TEVVALUE CreateDefaultValueWord5A5A(TevValueType tvt) {
  return ToTevValue<unsigned short>(0x5A5A, tvt);  // "ZZ"
}
TEVVALUE CreateDefaultValueDWord(TevValueType tvt) {
  return ToTevValue<unsigned long>(0, tvt);
}
TEVVALUE CreateDefaultValueInteger(TevValueType tvt) {
  return ToTevValue<short>(0, tvt);
}
TEVVALUE CreateDefaultValueFloat(TevValueType tvt) {
  return ToTevValue<float>(0.0f, tvt);
}
// 00:00:00 without a day is a valid time of day; should the helper library ever refuse it,
// the process stops here rather than hand out an undefined default.
TEVVALUE CreateDefaultValueTimeOfDay(TevValueType tvt) {
  return ToTevValue(UndefinedBehaviourIfNone(QuorApp::TimeOfDay::Create(0, 0, 0, QuorApp::NoDay)),
                    tvt);
}
TEVVALUE CreateDefaultValueDate1990(TevValueType tvt) {
  return ToTevValue(boost::posix_time::ptime(boost::gregorian::date(1990, 1, 1)), tvt);
}
TEVVALUE CreateDefaultValueDateTime1900(TevValueType tvt) {
  return ToTevValue(boost::posix_time::ptime(boost::gregorian::date(1900, 1, 1)), tvt);
}
TEVVALUE CreateDefaultValueText(TevValueType tvt) {
  return ToTevValue(std::string(), tvt);
}

using TevDP::tstGeneric;
using TevDP::tstType12;
using TevDP::tstType2001;
using TevDP::tstType9;

// Built when the library is loaded and only read afterwards, so lookups need no lock.
const boost::unordered_map<unsigned long, DefaultValueEntry> kMainTypeTable = {
    {1, {tvtBoolean, tstType2001, CreateDefaultValueBoolean}},
    {2, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {3, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {4, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {5, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {6, {tvtByte, tstType9, CreateDefaultValueByte}},
    {7, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {8, {tvtInteger, tstType12, CreateDefaultValueInteger}},
    {9, {tvtFloat, tstGeneric, CreateDefaultValueFloat}},
    {10, {tvtDayTime, tstGeneric, CreateDefaultValueTimeOfDay}},
    {11, {tvtDate, tstGeneric, CreateDefaultValueDate1990}},
    {12, {tvtDWord, tstGeneric, CreateDefaultValueDWord}},
    {13, {tvtInteger, tstGeneric, CreateDefaultValueInteger}},
    {14, {tvtFloat, tstGeneric, CreateDefaultValueFloat}},
    {15, {tvtDWord, tstGeneric, CreateDefaultValueDWord}},
    {16, {tvtString, tstGeneric, CreateDefaultValueText}},
    {17, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {18, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {19, {tvtDateTime, tstGeneric, CreateDefaultValueDateTime1900}},
    {20, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {21, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {22, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {23, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {24, {tvtString, tstGeneric, CreateDefaultValueText}},
    {25, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {26, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {27, {tvtDWord, tstGeneric, CreateDefaultValueDWord}},
    {28, {tvtString, tstGeneric, CreateDefaultValueText}},
    {29, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {30, {tvtDWord, tstGeneric, CreateDefaultValueDWord}},
    {31, {tvtByte, tstGeneric, CreateDefaultValueByte}},
    {200, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {201, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {202, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {217, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {219, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {222, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {229, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {230, {tvtEmpty, tstGeneric, CreateDefaultValueEmpty}},
    {232, {tvtDWord, tstGeneric, CreateDefaultValueDWord}},
    {234, {tvtWord, tstGeneric, CreateDefaultValueWord5A5A}},
    {237, {tvtWord, tstGeneric, CreateDefaultValueWord}},
    {238, {tvtByte, tstGeneric, CreateDefaultValueByte}},
};

const DefaultValueEntry* FindRow(unsigned long mainType) {
  const auto found = kMainTypeTable.find(Knx::Low32Bits(mainType));
  return found == kMainTypeTable.end() ? nullptr : &found->second;
}

}  // namespace

TEVVALUE CreateDefaultValueEmpty(TevValueType tvt) {
  const TEVVALUE emptyTevValue;
  QUOR_ASSERT2(emptyTevValue.tvt == tvt);
  return emptyTevValue;
}

std::string GetTvtFromMainType(unsigned long mainType) {
  const DefaultValueEntry* const row = FindRow(mainType);
  return row ? TEVVALUE::GetNameFromValueType(row->tvt) : "Empty";
}

std::string GetTstFromMainType(unsigned long mainType) {
  const DefaultValueEntry* const row = FindRow(mainType);
  return row ? TevDP::GetNameFromValueSubType(row->tst) : "Generic";
}

TevValueType GetTvtFromDpt(unsigned int dpt) {
  const DefaultValueEntry* const row = FindRow(Knx::MainTypeOf(dpt));
  return row ? row->tvt : tvtEmpty;
}

boost::optional<std::string> GetDefaultValueFromDpt(unsigned long wideDpt, bool internalFormat) {
  const std::uint32_t dpt = Knx::Low32Bits(wideDpt);
  const DefaultValueEntry* const row = FindRow(Knx::MainTypeOf(dpt));
  if (!row) {
    return boost::none;
  }
  // DPT 6.020 (status with mode) starts at 1; every other 6.x at the row's 0.
  const TEVVALUE value =
      dpt == kDpt6020 ? ToTevValue<unsigned char>(1, row->tvt) : row->create(row->tvt);
  std::string text;
  value.Serialize(text, internalFormat);
  return text;
}

}  // namespace KnxZebMapping
}  // namespace Quor
