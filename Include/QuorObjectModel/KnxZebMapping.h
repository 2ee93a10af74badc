#pragma once
/// \file
/// Object-model numbering of the KNX device: the device, the two logical KNX devices, their
/// app-control channel, their communication objects (COs) and their parameters; and the value
/// type, sub-type and default value of each KNX main type.
///
/// Every object carrying a value is a pair of ids: an even channel id and the value id after it.
/// Object-model ids are 32 bits on the device; all arithmetic is done in std::uint32_t so that a
/// 64-bit unsigned long gives the same results (including the wrap-arounds the scheme relies on).
/// Ids are taken modulo 2^32, as the device's 32-bit unsigned long would hold them: an id
/// given with higher bits set is read as its low 32 bits, and every id returned fits in 32 bits.
/// Every function is reentrant. None logs; CreateDefaultValueEmpty() alone reaches the assertion
/// reporter, for a tvt other than tvtEmpty.
/// \ingroup ids

#include <cstdint>
#include <functional>
#include <string>

#include <boost/optional.hpp>

#include <Quor/BoundedInt.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/DptNumber.h"
#include "QuorObjectModel/Export.h"

namespace Quor {

/// The three kinds of device parameters, each with its own id region.
/// \ingroup ids
enum class ParameterType : int {
  Ip = 0,      ///< IP address parameters.
  Number = 1,  ///< Numeric parameters.
  Text = 2,    ///< Text parameters.
};

/// Tag of LogicalDeviceId.
struct LogicalDeviceIdTag {};
/// Number of a logical KNX device: 1 or 2.
/// \ingroup ids
using LogicalDeviceId = Quor::BoundedInt<int, 1, 2, LogicalDeviceIdTag>;

/// The object-model id scheme and the value types and defaults by KNX main type.
/// \ingroup ids

namespace KnxZebMapping {

/// \name Constants of the scheme
/// Offsets are relative to the start of a logical device's block.
/// @{
constexpr std::uint32_t kKnxDeviceObjModelId = 1000;       ///< The KNX device.
constexpr std::uint32_t kLogicalDeviceBlockSize = 100000;  ///< Ids per logical device.
constexpr std::uint32_t kAppControlChannelOffset = 20;     ///< App-control channel.
constexpr std::uint32_t kAppControlStateOffset = 21;       ///< App-control state.
constexpr std::uint32_t kAppControlEventOffset = 22;       ///< App-control event.
constexpr std::uint32_t kAppControlAliveOffset = 23;       ///< App-control alive heartbeat.
constexpr std::uint32_t kAppControlAppDebugOffset = 24;    ///< App-control app debug.
constexpr std::uint32_t kCoChannelBaseOffset = 98;         ///< Channel of CO n at 98 + 2·n.
constexpr std::uint32_t kFirstCoChannelOffset = 100;       ///< Channel of CO 1.
constexpr std::uint32_t kLastCoValueOffset = 8289;         ///< Value of the last CO.
constexpr unsigned short kCoNumberLimit = 4096;            ///< CO numbers from here on have no id.
constexpr std::uint32_t kParameterRegionOffset = 60000;    ///< Start of the parameter ids.
constexpr std::uint32_t kParameterTypeRegionSize = 10000;  ///< Ids per parameter type.
/// The first parameter id of logical device 1 (160000).
constexpr std::uint32_t kFirstParameterObjModelId =
    kLogicalDeviceBlockSize + kParameterRegionOffset;
constexpr unsigned long kMaxIpParameters = 100;      ///< Highest IP parameter number.
constexpr unsigned long kMaxNumberParameters = 200;  ///< Highest number parameter number.
constexpr unsigned long kMaxTextParameters = 500;    ///< Highest text parameter number.
/// @}

/// Whether id lies in the block of a logical device (100000 and above).
QUOR_API bool IsAnyLogicalKnxDeviceId(unsigned long id);
/// The id of the device (1000).
QUOR_API unsigned long GetDeviceObjModelId();
/// The id of the KNX device (1000).
QUOR_API unsigned long GetKnxDeviceObjModelId();
/// The first id of the logical device's block (100000 or 200000).
QUOR_API unsigned long GetLogicalKnxDeviceObjModelId(LogicalDeviceId device);
/// The last id of the logical device's block (199999 or 299999).
QUOR_API unsigned long GetLastObjModelId(LogicalDeviceId device);
/// The logical device whose block holds id; empty outside blocks 1 and 2.
QUOR_API boost::optional<LogicalDeviceId> GetLogicalDeviceIdFromObject(unsigned long id);

/// The app-control channel of the logical device (block + 20).
QUOR_API unsigned long GetAppHostAppControlChannelObjModelId(LogicalDeviceId device);
/// The app-control state (block + 21).
QUOR_API unsigned long GetAppHostAppControlStateObjModelId(LogicalDeviceId device);
/// The app-control event (block + 22).
QUOR_API unsigned long GetAppHostAppControlEventObjModelId(LogicalDeviceId device);
/// The app-control alive heartbeat (block + 23).
QUOR_API unsigned long GetAppHostAppControlAliveObjModelId(LogicalDeviceId device);
/// The app-control app debug (block + 24).
QUOR_API unsigned long GetAppHostAppControlAppDebugObjModelId(LogicalDeviceId device);
/// Whether id is the logical device's app-control state.
QUOR_API bool IsAppHostAppControlState(unsigned long id, LogicalDeviceId device);
/// Whether id is the logical device's app-control event.
QUOR_API bool IsAppHostAppControlEvent(unsigned long id, LogicalDeviceId device);
/// Whether id is the logical device's app-control alive heartbeat.
QUOR_API bool IsAppHostAppControlAliveHeartbeat(unsigned long id, LogicalDeviceId device);
/// Whether id is the logical device's app-control app debug.
QUOR_API bool IsAppHostAppControlAppDebug(unsigned long id, LogicalDeviceId device);

/// The channel id of CO coNumber (block + 98 + 2·coNumber); empty from kCoNumberLimit on.
QUOR_API boost::optional<unsigned long> GetCoChannelObjModelId(unsigned short coNumber,
                                                               LogicalDeviceId device);
/// The value id after a CO channel id; empty when channelId is no CO channel.
QUOR_API boost::optional<unsigned long> GetCoValueObjModelId(unsigned long channelId);
/// The value id of CO coNumber; empty when the CO has no id.
/// \code
/// boost::optional<unsigned long> id =
///     Quor::KnxZebMapping::GetCoValueObjModelId(5, Quor::LogicalDeviceId(1));  // 100109
/// \endcode
QUOR_API boost::optional<unsigned long> GetCoValueObjModelId(unsigned short coNumber,
                                                             LogicalDeviceId device);
/// Whether id is a CO channel id. Accepts ids of any block from the first logical device on,
/// not only blocks 1 and 2.
QUOR_API bool IsCoChannel(unsigned long id);
/// Whether id is a CO value id, in any block from the first logical device on.
QUOR_API bool IsCoValue(unsigned long id);
/// The CO number of a value id of the logical device. Decodes value ids only; a channel id
/// gives an empty result.
QUOR_API boost::optional<unsigned short> GetCoNumberFromObjModelId(unsigned long valueId,
                                                                   LogicalDeviceId device);

/// The highest parameter number of type; 0 for a value outside Ip, Number and Text.
QUOR_API unsigned long GetMaxParametersOfType(ParameterType type);
/// The channel id of parameter parameterNumber of type; empty above the type's maximum.
QUOR_API boost::optional<unsigned long> GetParameterChannelObjModelId(
    unsigned short parameterNumber, LogicalDeviceId device, ParameterType type);
/// The value id of parameter parameterNumber of type; empty above the type's maximum.
QUOR_API boost::optional<unsigned long> GetParameterValueObjModelId(unsigned short parameterNumber,
                                                                    LogicalDeviceId device,
                                                                    ParameterType type);
/// The value id after a parameter channel id; empty when channelId is no parameter channel.
QUOR_API boost::optional<unsigned long> GetParameterValueObjModelId(unsigned long channelId);
/// The value id of IP parameter parameterNumber; empty above kMaxIpParameters.
QUOR_API boost::optional<unsigned long> GetIpParameterValueObjModelId(
    unsigned short parameterNumber, LogicalDeviceId device);
/// The value id of number parameter parameterNumber; empty above kMaxNumberParameters.
QUOR_API boost::optional<unsigned long> GetNumberParameterValueObjModelId(
    unsigned short parameterNumber, LogicalDeviceId device);
/// The value id of text parameter parameterNumber; empty above kMaxTextParameters.
QUOR_API boost::optional<unsigned long> GetTextParameterValueObjModelId(
    unsigned short parameterNumber, LogicalDeviceId device);
/// Whether id is a parameter channel id. Ignores the lowest bit, so a parameter's value id
/// passes as well as its channel id.
QUOR_API bool IsParameterChannel(unsigned long id);
/// The parameter type of a parameter id of the logical device; empty for any other id.
QUOR_API boost::optional<ParameterType> GetParameterTypeFromObjModelId(unsigned long id,
                                                                       LogicalDeviceId device);
/// The parameter number of a parameter id of the logical device; empty for any other id.
QUOR_API boost::optional<unsigned short> GetParameterNumberFromObjModelId(unsigned long id,
                                                                          LogicalDeviceId device);

/// \name Value types and default values by KNX main type
/// Value type, value sub-type and default value of a data point, chosen by the KNX main type
/// of its DPT alone. DPT numbers carry the main type in the upper 16 bits and the sub type in
/// the lower 16 bits (DPT 6.020 is 0x60014).
/// @{

/// Receives the value type of its own row and returns that row's default value.
using DefaultValueCreator = std::function<TEVVALUE(TevValueType)>;

/// One row of the main-type table.
struct DefaultValueEntry {
  TevValueType tvt;            ///< Value type of the main type.
  TevDP::TevValueSubType tst;  ///< Value sub-type of the main type.
  DefaultValueCreator create;  ///< Makes the default value.
};

/// Platform name of the row's value type; "Empty" for a main type without a row.
QUOR_API std::string GetTvtFromMainType(unsigned long mainType);
/// Platform name of the row's sub-type; "Generic" for a main type without a row.
QUOR_API std::string GetTstFromMainType(unsigned long mainType);
/// Value type of the DPT's main type; tvtEmpty for a main type without a row.
QUOR_API TevValueType GetTvtFromDpt(unsigned int dpt);
/// The default value serialised by the platform (the flag is handed to TEVVALUE::Serialize);
/// empty for a main type without a row.
QUOR_API boost::optional<std::string> GetDefaultValueFromDpt(unsigned long dpt,
                                                             bool internalFormat);

/// The empty value; tvt must be tvtEmpty, anything else is reported through the assertion
/// reporter and ends the process.
QUOR_API TEVVALUE CreateDefaultValueEmpty(TevValueType tvt);
/// @}

}  // namespace KnxZebMapping
}  // namespace Quor
