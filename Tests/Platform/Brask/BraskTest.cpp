// What apps rely on of the device-stack client's interface beside its calls.
#include <gtest/gtest.h>

#include <Brask/DeviceStackClient.h>

namespace {

using Property = Brask::IDeviceStackClient::Property;

TEST(DeviceStackClientProperty, ComparesByItsText) {
  EXPECT_NE(Property{"a"}, Property{"b"});
}

}  // namespace
