// Encodes a room temperature as KNX DPT 9.001 and reads it back.
#include <cstdio>

#include <log4cplus/configurator.h>
#include <log4cplus/initializer.h>

#include <QuorObjectModel/KnxValueConverter.h>

int main() {
  // The library logs through the root logger; the host decides where records go.
  log4cplus::Initializer logInitializer;
  log4cplus::BasicConfigurator::doConfigure();

  Quor::KnxValueConverter converter;
  converter.Init();

  KNXDPT dpt{16, 9, 1};
  TEVVALUE temperature(tvtFloat);
  temperature.value.doubleValue = 21.5;
  KnxStack::GroupValue group;
  if (!converter.ToKnxValue(dpt, temperature, group)) {
    return 1;
  }

  TEVVALUE back;
  if (!converter.FromKnxValue(dpt, group, back) || back.value.doubleValue != 21.5) {
    return 1;
  }
  std::printf("21.5 as DPT 9.001: %s\n", group.GetRawData().ToString().c_str());
  return 0;
}
