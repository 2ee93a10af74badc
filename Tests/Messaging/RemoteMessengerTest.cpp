#include <limits>
#include <map>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <Brask/DeviceStackClient.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/RequestMessengerDeviceStack.h"
#include "Support/LogCapture.h"
#include "Support/MockClient.h"
#include "Support/Values.h"

namespace {

using Brask::IDeviceStackClient;
using QuorTest::Float;
using QuorTest::MockClient;
using testing::_;
using testing::DoAll;
using testing::Return;
using testing::SetArgReferee;
using testing::StrictMock;

class RemoteMessengerTest : public testing::Test {
 protected:
  QuorTest::LogCapture capture;
  StrictMock<MockClient> client;  // any call not expected here fails the test
  Quor::RemoteRequestMessengerDeviceStack messenger{client};
};

// Requests give the client's ID, direct calls its result.
TEST_F(RemoteMessengerTest, CallsForwardTheirArgumentsAndGiveTheClientsAnswer) {
  EXPECT_CALL(client, RegisterApplicationAsync("app", "name", "1.2")).WillOnce(Return("r1"));
  EXPECT_CALL(client, GetValueAsync(100109ul, true)).WillOnce(Return("r2"));
  EXPECT_CALL(client, GetValueAsync(100111ul, false)).WillOnce(Return(""));
  EXPECT_CALL(client, RequestAsync("<request/>")).WillOnce(Return("r3"));
  EXPECT_CALL(client, SetConfigurationAsync("<config/>")).WillOnce(Return("r4"));
  EXPECT_CALL(client, SetValueAsync(100109ul, "21.5", false, 0u)).WillOnce(Return(""));
  EXPECT_EQ(messenger.RegisterApplicationAsync("app", "name", "1.2"), "r1");
  EXPECT_EQ(messenger.GetValueAsync(100109, true), "r2");
  EXPECT_EQ(messenger.GetValueAsync(100111, false), "");
  EXPECT_EQ(messenger.RequestAsync("<request/>"), "r3");
  EXPECT_EQ(messenger.SetConfigurationAsync("<config/>"), "r4");
  EXPECT_EQ(messenger.SetValueAsync(100109, Float(21.5), false), "");
  const std::map<IDeviceStackClient::PropertyType, IDeviceStackClient::Property> props{
      {IDeviceStackClient::PropertyType::Name, {"Lamp"}}};
  const std::map<std::string, std::string> settings{{"key", "value"}};
  EXPECT_CALL(client, SetConfiguration(1000ul, props, true)).WillOnce(Return(false));
  EXPECT_CALL(client, GetDeviceConfig(_, false))
      .WillOnce(DoAll(SetArgReferee<0>("<device/>"), Return(true)));
  EXPECT_CALL(client, SetDeviceConfig(settings)).WillOnce(Return(false));
  EXPECT_CALL(client, SelectValueFormat("Native")).WillOnce(Return(true));
  EXPECT_FALSE(messenger.SetConfiguration(1000, props, true));
  std::string config;
  EXPECT_TRUE(messenger.GetDeviceConfig(config, false));
  EXPECT_EQ(config, "<device/>");
  EXPECT_FALSE(messenger.SetDeviceConfig(settings));
  EXPECT_TRUE(messenger.EnableNativeFormat());
}

// The value text each format gives; a NaN float has its own short form.
TEST_F(RemoteMessengerTest, SetValueSerialisesInTheSelectedFormat) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    TEVVALUE value;
    const char* plain;
    const char* internal;
  };
  const Case cases[] = {
      {Float(21.5), "21.5", "3.7:21.5"},
      {Float(nan), "nan", "3.7:nan"},
      {Float(-nan), "nan", "3.7:nan"},
      {Float(nan, tvtPercent), "nan", "1036.7:nan"},  // not a tvtFloat: the platform's form
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.internal);
    EXPECT_CALL(client, SetValueAsync(7ul, c.plain, true, 0u)).WillOnce(Return("a"));
    EXPECT_EQ(messenger.SetValueAsync(7, c.value, true), "a");
    EXPECT_CALL(client, SetInternalValueFormat(true));
    messenger.EnableInternalValueFormat();
    EXPECT_CALL(client, SetValueAsync(7ul, c.internal, false, 0u)).WillOnce(Return("b"));
    EXPECT_EQ(messenger.SetValueAsync(7, c.value, false), "b");
    EXPECT_CALL(client, SetInternalValueFormat(false));
    messenger.EnableDefaultValueFormat();
    EXPECT_CALL(client, SetValueAsync(7ul, c.plain, false, 0u)).WillOnce(Return("c"));
    EXPECT_EQ(messenger.SetValueAsync(7, c.value, false), "c");
  }
}

TEST_F(RemoteMessengerTest, OnlyTheInternalFormatSwitchLogs) {
  EXPECT_CALL(client, SetInternalValueFormat(_)).Times(2);
  messenger.EnableInternalValueFormat();
  messenger.EnableDefaultValueFormat();
  EXPECT_EQ(capture.Lines(),
            QuorTest::Lines{QuorTest::Debug("Internal value format now enabled.")});
}

}  // namespace
