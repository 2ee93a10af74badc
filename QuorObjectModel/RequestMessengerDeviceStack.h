#pragma once
// The narrow messenger interface the request engine talks to, and its adapter over the
// device-stack client. The adapter forwards one to one; of its own it only serialises set-value
// requests and remembers which value format was selected.

#include <atomic>
#include <map>
#include <string>

#include <boost/core/noncopyable.hpp>

#include <Brask/DeviceStackClient.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/Export.h"

namespace Quor {

class QUOR_API RequestMessengerDeviceStack : private boost::noncopyable {
 public:
  using ResponseHandler = Brask::IDeviceStackClient::IResponseHandler;
  using PropertyMap =
      std::map<Brask::IDeviceStackClient::PropertyType, Brask::IDeviceStackClient::Property>;
  virtual ~RequestMessengerDeviceStack();

  virtual void SetResponseHandler(ResponseHandler* handler) = 0;
  virtual std::string RegisterApplicationAsync(const std::string& first, const std::string& second,
                                               const std::string& third) = 0;
  virtual std::string SetValueAsync(unsigned long id, const TEVVALUE& value, bool flag) = 0;
  virtual std::string GetValueAsync(unsigned long id, bool flag) = 0;
  virtual std::string RequestAsync(const std::string& request) = 0;
  virtual std::string SetConfigurationAsync(const std::string& configuration) = 0;
  virtual bool SetConfiguration(unsigned long id, const PropertyMap& properties, bool flag) = 0;
  virtual bool GetDeviceConfig(std::string& config, bool flag) = 0;
  virtual bool SetDeviceConfig(const std::map<std::string, std::string>& settings) = 0;
  virtual bool EnableNativeFormat() = 0;
  virtual void EnableInternalValueFormat() = 0;
  virtual void EnableDefaultValueFormat() = 0;
};

class QUOR_API RemoteRequestMessengerDeviceStack : public RequestMessengerDeviceStack {
 public:
  // The client is not owned and must outlive the adapter. No call is made on it here.
  explicit RemoteRequestMessengerDeviceStack(Brask::IDeviceStackClient& client);
  ~RemoteRequestMessengerDeviceStack() override;

  void SetResponseHandler(ResponseHandler* handler) override;
  std::string RegisterApplicationAsync(const std::string& first, const std::string& second,
                                       const std::string& third) override;
  std::string SetValueAsync(unsigned long id, const TEVVALUE& value, bool flag) override;
  std::string GetValueAsync(unsigned long id, bool flag) override;
  std::string RequestAsync(const std::string& request) override;
  std::string SetConfigurationAsync(const std::string& configuration) override;
  bool SetConfiguration(unsigned long id, const PropertyMap& properties, bool flag) override;
  bool GetDeviceConfig(std::string& config, bool flag) override;
  bool SetDeviceConfig(const std::map<std::string, std::string>& settings) override;
  bool EnableNativeFormat() override;
  void EnableInternalValueFormat() override;
  void EnableDefaultValueFormat() override;

 private:
  std::string Serialize(const TEVVALUE& value) const;

  Brask::IDeviceStackClient& m_client;
  std::atomic<bool> m_internalValueFormat;
};

}  // namespace Quor
