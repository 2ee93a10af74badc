// Object-model ids: which id stands for CO 5 of logical device 1, what an id stands for, and
// the value type and default value of a KNX main type.
#include <cstdio>

#include <boost/optional.hpp>

#include <QuorObjectModel/KnxZebMapping.h>
#include <TevValue/TevValue.h>

int main() {
  using Quor::LogicalDeviceId;
  namespace ids = Quor::KnxZebMapping;

  const LogicalDeviceId device(1);  // 1 or 2; LogicalDeviceId::Create checks without throwing
  boost::optional<unsigned long> channel = ids::GetCoChannelObjModelId(5, device);
  boost::optional<unsigned long> value = ids::GetCoValueObjModelId(5, device);
  if (!channel || !value || *value != 100109) {
    return 1;
  }
  std::printf("CO 5 of logical device 1: channel %lu, value %lu\n", *channel, *value);

  // And back: the CO number of a value id.
  boost::optional<unsigned short> co = ids::GetCoNumberFromObjModelId(*value, device);
  std::printf("%lu is the value of CO %u\n", *value, co ? unsigned{*co} : 0u);

  boost::optional<unsigned long> parameter =
      ids::GetParameterValueObjModelId(3, device, Quor::ParameterType::Number);
  std::printf("number parameter 3: value %lu\n", parameter.value_or(0));

  // DPT numbers carry the main type in the upper 16 bits: 9.001 is 0x90001.
  const TevValueType type = ids::GetTvtFromDpt(0x90001);
  boost::optional<std::string> defaultValue = ids::GetDefaultValueFromDpt(0x90001, false);
  std::printf("DPT 9.001: value type %s, default '%s'\n", ids::GetTvtFromMainType(9).c_str(),
              defaultValue.value_or("").c_str());
  return type == tvtFloat ? 0 : 1;
}
