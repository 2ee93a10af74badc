#pragma once
// A gmock device-stack client, for tests that decide each call's answer themselves.

#include <cstdint>
#include <map>
#include <string>

#include <gmock/gmock.h>

#include <Brask/DeviceStackClient.h>

namespace QuorTest {

class MockClient : public Brask::IDeviceStackClient {
 public:
  MOCK_METHOD(void, SetResponseHandler, (IResponseHandler*, void*), (override));
  MOCK_METHOD(std::string, RegisterApplicationAsync,
              (const std::string&, const std::string&, const std::string&), (override));
  MOCK_METHOD(std::string, SetValueAsync, (unsigned long, const std::string&, bool, std::uint32_t),
              (override));
  MOCK_METHOD(std::string, GetValueAsync, (unsigned long, bool), (override));
  MOCK_METHOD(std::string, RequestAsync, (const std::string&), (override));
  MOCK_METHOD(std::string, SetConfigurationAsync, (const std::string&), (override));
  MOCK_METHOD(bool, SetConfiguration,
              (unsigned long, (const std::map<PropertyType, Property>&), bool), (override));
  MOCK_METHOD(bool, GetDeviceConfig, (std::string&, bool), (override));
  MOCK_METHOD(bool, SetDeviceConfig, ((const std::map<std::string, std::string>&)), (override));
  MOCK_METHOD(bool, SelectValueFormat, (const std::string&), (override));
  MOCK_METHOD(void, SetInternalValueFormat, (bool), (override));
};

}  // namespace QuorTest
