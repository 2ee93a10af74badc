#pragma once
/// \file
/// The narrow messenger interface the request engine talks to, and its adapter over the
/// device-stack client. The adapter forwards one to one; of its own it only serialises set-value
/// requests and remembers which value format was selected.
/// \ingroup requests

#include <atomic>
#include <map>
#include <string>

#include <boost/core/noncopyable.hpp>

#include <Brask/DeviceStackClient.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/Export.h"

namespace Quor {

/// What the request engine asks of the device stack. The asynchronous calls return the
/// request ID at once (empty: not issued) and answer later through the response handler, from
/// another thread; the others are synchronous.
/// \ingroup requests
class QUOR_API RequestMessengerDeviceStack : private boost::noncopyable {
 public:
  /// The device-stack client's callback interface.
  using ResponseHandler = Brask::IDeviceStackClient::IResponseHandler;
  /// Properties of a configuration call, by kind.
  using PropertyMap =
      std::map<Brask::IDeviceStackClient::PropertyType, Brask::IDeviceStackClient::Property>;
  virtual ~RequestMessengerDeviceStack();

  /// Where the answers go; null unregisters. Not owned.
  virtual void SetResponseHandler(ResponseHandler* handler) = 0;
  /// Registers an application; the request ID, empty when not issued.
  virtual std::string RegisterApplicationAsync(const std::string& first, const std::string& second,
                                               const std::string& third) = 0;
  /// Sets the value of object-model id; the request ID, empty when not issued.
  virtual std::string SetValueAsync(unsigned long id, const TEVVALUE& value, bool flag) = 0;
  /// Reads the value of object-model id; the request ID, empty when not issued.
  virtual std::string GetValueAsync(unsigned long id, bool flag) = 0;
  /// Sends a request text; the request ID, empty when not issued.
  virtual std::string RequestAsync(const std::string& request) = 0;
  /// Sends a configuration text; the request ID, empty when not issued.
  virtual std::string SetConfigurationAsync(const std::string& configuration) = 0;
  /// Sets properties of object-model id, synchronously.
  virtual bool SetConfiguration(unsigned long id, const PropertyMap& properties, bool flag) = 0;
  /// Reads the device configuration into config, synchronously.
  virtual bool GetDeviceConfig(std::string& config, bool flag) = 0;
  /// Writes device settings, synchronously.
  virtual bool SetDeviceConfig(const std::map<std::string, std::string>& settings) = 0;
  /// Selects the device stack's native value format.
  virtual bool EnableNativeFormat() = 0;
  /// Serialise set values in the platform's internal format from now on.
  virtual void EnableInternalValueFormat() = 0;
  /// Serialise set values in the default format from now on.
  virtual void EnableDefaultValueFormat() = 0;
};

/// The messenger over the device's Brask::IDeviceStackClient: forwards every call one to one.
/// Set values are serialised with TEVVALUE::Serialize in the selected format (a NaN float
/// becomes "nan", or "3.7:nan" in the internal format). The format flag may be switched from
/// any thread.
/// \ingroup requests
class QUOR_API RemoteRequestMessengerDeviceStack : public RequestMessengerDeviceStack {
 public:
  /// The client is not owned and must outlive the adapter. No call is made on it here.
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
