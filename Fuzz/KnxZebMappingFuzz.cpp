// Any id through the decoders of the object-model id scheme. Ids of a logical device's own
// block that decode as a CO or parameter must encode back to themselves.
// Input: the id (8 bytes, read as its low 32 bits), a device
// selector (1), a CO or parameter number (2) and a parameter type (1).

#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "QuorObjectModel/KnxZebMapping.h"

namespace Zeb = Quor::KnxZebMapping;

namespace {

void CheckDecoders(unsigned long id, Quor::LogicalDeviceId device) {
  const bool ownBlock =
      id / Zeb::kLogicalDeviceBlockSize == static_cast<unsigned long>(device.Get());

  static_cast<void>(Zeb::IsAnyLogicalKnxDeviceId(id));
  if (const auto found = Zeb::GetLogicalDeviceIdFromObject(id)) {
    QUOR_FUZZ_CHECK(id / Zeb::kLogicalDeviceBlockSize == static_cast<unsigned long>(found->Get()));
  }
  static_cast<void>(Zeb::IsAppHostAppControlState(id, device));
  static_cast<void>(Zeb::IsAppHostAppControlEvent(id, device));
  static_cast<void>(Zeb::IsAppHostAppControlAliveHeartbeat(id, device));
  static_cast<void>(Zeb::IsAppHostAppControlAppDebug(id, device));

  const bool coChannel = Zeb::IsCoChannel(id);
  const auto coValue = Zeb::GetCoValueObjModelId(id);
  QUOR_FUZZ_CHECK(coChannel == static_cast<bool>(coValue));
  if (coValue) {
    QUOR_FUZZ_CHECK(*coValue == id + 1 && Zeb::IsCoValue(*coValue));
  }
  if (const auto number = Zeb::GetCoNumberFromObjModelId(id, device); number && ownBlock) {
    QUOR_FUZZ_CHECK(Zeb::GetCoValueObjModelId(*number, device) == id);
  }

  const bool parameter = Zeb::IsParameterChannel(id);
  const auto type = Zeb::GetParameterTypeFromObjModelId(id, device);
  const auto number = Zeb::GetParameterNumberFromObjModelId(id, device);
  QUOR_FUZZ_CHECK(static_cast<bool>(type) == static_cast<bool>(number));
  if (type) {
    QUOR_FUZZ_CHECK(parameter);
  }
  if (type && ownBlock) {
    // Channel and value id decode alike.
    const auto channel = Zeb::GetParameterChannelObjModelId(*number, device, *type);
    QUOR_FUZZ_CHECK(channel && *channel == (id & ~1ul));
  }
  static_cast<void>(Zeb::GetParameterValueObjModelId(id));
}

void CheckEncoders(unsigned short number, Quor::LogicalDeviceId device, Quor::ParameterType type) {
  if (const auto channel = Zeb::GetCoChannelObjModelId(number, device)) {
    if (const auto value = Zeb::GetCoValueObjModelId(number, device)) {
      QUOR_FUZZ_CHECK(*value == *channel + 1);
      QUOR_FUZZ_CHECK(Zeb::GetCoNumberFromObjModelId(*value, device) == number);
    }
  }
  static_cast<void>(Zeb::GetMaxParametersOfType(type));
  if (const auto channel = Zeb::GetParameterChannelObjModelId(number, device, type)) {
    const auto value = Zeb::GetParameterValueObjModelId(number, device, type);
    QUOR_FUZZ_CHECK(value && *value == *channel + 1);
    if (Zeb::IsParameterChannel(*channel)) {
      QUOR_FUZZ_CHECK(Zeb::GetParameterNumberFromObjModelId(*value, device) ==
                      Zeb::GetParameterNumberFromObjModelId(*channel, device));
    }
  }
  static_cast<void>(Zeb::GetIpParameterValueObjModelId(number, device));
  static_cast<void>(Zeb::GetNumberParameterValueObjModelId(number, device));
  static_cast<void>(Zeb::GetTextParameterValueObjModelId(number, device));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  QuorFuzz::Reader in(data, size);
  const uint64_t rawId = in.U64();
  const uint8_t deviceSelector = in.U8();
  const uint16_t number = in.U16();
  // Values outside Ip, Number and Text reach the functions too.
  const auto type = static_cast<Quor::ParameterType>(in.U8() % 4);

  const Quor::LogicalDeviceId device((deviceSelector & 1) + 1);
  // Ids are 32 bits wide: a wider one reads as its low 32 bits.
  const unsigned long id = static_cast<unsigned long>(rawId);
  const unsigned long low = static_cast<uint32_t>(rawId);
  CheckDecoders(low, device);
  QUOR_FUZZ_CHECK(Zeb::IsCoChannel(id) == Zeb::IsCoChannel(low) &&
                  Zeb::IsParameterChannel(id) == Zeb::IsParameterChannel(low) &&
                  Zeb::IsAnyLogicalKnxDeviceId(id) == Zeb::IsAnyLogicalKnxDeviceId(low));
  CheckEncoders(number, device, type);
  return 0;
}
