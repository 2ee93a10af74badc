// Value conversion: a room temperature to KNX DPT 9.001 and back, through the DPT table and
// directly by the object model's DPT number.
#include <cstdio>

#include <log4cplus/configurator.h>
#include <log4cplus/initializer.h>
#include <log4cplus/logger.h>
#include <boost/optional.hpp>

#include <KnxStack/GroupValue.h>
#include <QuorObjectModel/GroupValueTevValue.h>
#include <QuorObjectModel/KnxValueConverter.h>
#include <TevValue/TevValue.h>

int main() {
  // The library logs through the root logger; the host decides where records go and from
  // which level.
  log4cplus::Initializer logInitializer;
  log4cplus::BasicConfigurator::doConfigure();
  log4cplus::Logger::getRoot().setLogLevel(log4cplus::WARN_LOG_LEVEL);

  // Table-driven: Init() once, then convert from any thread.
  Quor::KnxValueConverter converter;
  converter.Init();
  KNXDPT dpt{16, 9, 1};  // bit size, main, sub: DPT 9.001
  TEVVALUE temperature(tvtFloat);
  temperature.value.doubleValue = 21.5;
  KnxStack::GroupValue group;
  if (!converter.ToKnxValue(dpt, temperature, group)) {
    return 1;  // refused: the reason is in the log
  }
  TEVVALUE received;
  if (!converter.FromKnxValue(dpt, group, received)) {
    return 1;
  }
  // ToString() writes the bytes as spaced hex pairs: "0c 33".
  std::printf("table:  %g -> %s -> %g\n", temperature.value.doubleValue,
              group.GetRawData().ToString().c_str(), received.value.doubleValue);

  // Direct: the object model names DPT 9.001 as 0x90001.
  boost::optional<KnxStack::GroupValue> sent = Quor::TevValueToGroupValue(temperature, 0x90001);
  if (!sent) {
    return 1;
  }
  boost::optional<TEVVALUE> back = Quor::GroupValueToTevValue(*sent, 0x90001);
  if (!back || back->value.doubleValue != 21.5) {
    return 1;
  }
  std::printf("direct: %g -> %s -> %g\n", temperature.value.doubleValue,
              sent->GetRawData().ToString().c_str(), back->value.doubleValue);
  return 0;
}
