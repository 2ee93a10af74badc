#pragma once
// Object-model numbering of the KNX device: the device, the two logical KNX devices, their
// app-control channel, their communication objects (COs) and their parameters.
//
// Every object carrying a value is a pair of ids: an even channel id and the value id after it.
// Object-model ids are 32 bits on the device; all arithmetic is done in std::uint32_t so that a
// 64-bit unsigned long gives the same results (including the wrap-arounds the scheme relies on).
// Ids are taken modulo 2^32, as the device's 32-bit unsigned long would hold them: an id
// given with higher bits set is read as its low 32 bits, and every id returned fits in 32 bits.

#include <cstdint>
#include <functional>
#include <string>

#include <boost/optional.hpp>

#include <Quor/BoundedInt.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/Export.h"

namespace Quor {

enum class ParameterType : int { Ip = 0, Number = 1, Text = 2 };

struct LogicalDeviceIdTag {};
using LogicalDeviceId = Quor::BoundedInt<int, 1, 2, LogicalDeviceIdTag>;

namespace KnxZebMapping {

// Constants of the scheme; offsets are relative to the start of a logical device's block.
constexpr std::uint32_t kKnxDeviceObjModelId = 1000;
constexpr std::uint32_t kLogicalDeviceBlockSize = 100000;
constexpr std::uint32_t kAppControlChannelOffset = 20;
constexpr std::uint32_t kAppControlStateOffset = 21;
constexpr std::uint32_t kAppControlEventOffset = 22;
constexpr std::uint32_t kAppControlAliveOffset = 23;
constexpr std::uint32_t kAppControlAppDebugOffset = 24;
constexpr std::uint32_t kCoChannelBaseOffset = 98;  // channel of CO n at 98 + 2·n
constexpr std::uint32_t kFirstCoChannelOffset = 100;
constexpr std::uint32_t kLastCoValueOffset = 8289;
constexpr unsigned short kCoNumberLimit = 4096;  // CO numbers from here on have no object
constexpr std::uint32_t kParameterRegionOffset = 60000;
constexpr std::uint32_t kParameterTypeRegionSize = 10000;
constexpr std::uint32_t kFirstParameterObjModelId =
    kLogicalDeviceBlockSize + kParameterRegionOffset;  // 160000
constexpr unsigned long kMaxIpParameters = 100;
constexpr unsigned long kMaxNumberParameters = 200;
constexpr unsigned long kMaxTextParameters = 500;

QUOR_API bool IsAnyLogicalKnxDeviceId(unsigned long id);
QUOR_API unsigned long GetDeviceObjModelId();
QUOR_API unsigned long GetKnxDeviceObjModelId();
QUOR_API unsigned long GetLogicalKnxDeviceObjModelId(LogicalDeviceId device);
QUOR_API unsigned long GetLastObjModelId(LogicalDeviceId device);
QUOR_API boost::optional<LogicalDeviceId> GetLogicalDeviceIdFromObject(unsigned long id);

QUOR_API unsigned long GetAppHostAppControlChannelObjModelId(LogicalDeviceId device);
QUOR_API unsigned long GetAppHostAppControlStateObjModelId(LogicalDeviceId device);
QUOR_API unsigned long GetAppHostAppControlEventObjModelId(LogicalDeviceId device);
QUOR_API unsigned long GetAppHostAppControlAliveObjModelId(LogicalDeviceId device);
QUOR_API unsigned long GetAppHostAppControlAppDebugObjModelId(LogicalDeviceId device);
QUOR_API bool IsAppHostAppControlState(unsigned long id, LogicalDeviceId device);
QUOR_API bool IsAppHostAppControlEvent(unsigned long id, LogicalDeviceId device);
QUOR_API bool IsAppHostAppControlAliveHeartbeat(unsigned long id, LogicalDeviceId device);
QUOR_API bool IsAppHostAppControlAppDebug(unsigned long id, LogicalDeviceId device);

QUOR_API boost::optional<unsigned long> GetCoChannelObjModelId(unsigned short coNumber,
                                                               LogicalDeviceId device);
QUOR_API boost::optional<unsigned long> GetCoValueObjModelId(unsigned long channelId);
QUOR_API boost::optional<unsigned long> GetCoValueObjModelId(unsigned short coNumber,
                                                             LogicalDeviceId device);
// Accepts ids of any block from the first logical device on, not only blocks 1 and 2.
QUOR_API bool IsCoChannel(unsigned long id);
QUOR_API bool IsCoValue(unsigned long id);
// Decodes value ids only; a channel id gives an empty result.
QUOR_API boost::optional<unsigned short> GetCoNumberFromObjModelId(unsigned long valueId,
                                                                   LogicalDeviceId device);

// 0 for a value outside Ip, Number and Text.
QUOR_API unsigned long GetMaxParametersOfType(ParameterType type);
QUOR_API boost::optional<unsigned long> GetParameterChannelObjModelId(
    unsigned short parameterNumber, LogicalDeviceId device, ParameterType type);
QUOR_API boost::optional<unsigned long> GetParameterValueObjModelId(unsigned short parameterNumber,
                                                                    LogicalDeviceId device,
                                                                    ParameterType type);
QUOR_API boost::optional<unsigned long> GetParameterValueObjModelId(unsigned long channelId);
QUOR_API boost::optional<unsigned long> GetIpParameterValueObjModelId(
    unsigned short parameterNumber, LogicalDeviceId device);
QUOR_API boost::optional<unsigned long> GetNumberParameterValueObjModelId(
    unsigned short parameterNumber, LogicalDeviceId device);
QUOR_API boost::optional<unsigned long> GetTextParameterValueObjModelId(
    unsigned short parameterNumber, LogicalDeviceId device);
// Ignores the lowest bit, so a parameter's value id passes as well as its channel id.
QUOR_API bool IsParameterChannel(unsigned long id);
QUOR_API boost::optional<ParameterType> GetParameterTypeFromObjModelId(unsigned long id,
                                                                       LogicalDeviceId device);
QUOR_API boost::optional<unsigned short> GetParameterNumberFromObjModelId(unsigned long id,
                                                                          LogicalDeviceId device);

// Value type, value sub-type and default value of a data point, chosen by the KNX main type of
// its DPT alone. DPT numbers carry the main type in the upper 16 bits and the sub type in the
// lower 16 bits (DPT 6.020 is 0x60014).

// Receives the value type of its own row and returns that row's default value.
using DefaultValueCreator = std::function<TEVVALUE(TevValueType)>;

struct DefaultValueEntry {
  TevValueType tvt;
  TevDP::TevValueSubType tst;
  DefaultValueCreator create;
};

// Platform name of the row's value type; "Empty" for a main type without a row.
QUOR_API std::string GetTvtFromMainType(unsigned long mainType);
// Platform name of the row's sub-type; "Generic" for a main type without a row.
QUOR_API std::string GetTstFromMainType(unsigned long mainType);
// Value type of the DPT's main type; tvtEmpty for a main type without a row.
QUOR_API TevValueType GetTvtFromDpt(unsigned int dpt);
// The default value serialised by the platform (the flag is handed to TEVVALUE::Serialize);
// empty for a main type without a row.
QUOR_API boost::optional<std::string> GetDefaultValueFromDpt(unsigned long dpt,
                                                             bool internalFormat);

// The empty value; tvt must be tvtEmpty.
QUOR_API TEVVALUE CreateDefaultValueEmpty(TevValueType tvt);

}  // namespace KnxZebMapping
}  // namespace Quor
