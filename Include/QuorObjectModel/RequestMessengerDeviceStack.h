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
/// another thread, never from inside the call; the others are synchronous. Parameter names say
/// which parameter of Brask::IDeviceStackClient each value goes to in
/// RemoteRequestMessengerDeviceStack; their meaning is the device stack's.
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
  virtual std::string RegisterApplicationAsync(const std::string& applicationId,
                                               const std::string& applicationName,
                                               const std::string& applicationVersion) = 0;
  /// Sets the value of object-model id, notify as the client's; the request ID, empty when
  /// not issued.
  virtual std::string SetValueAsync(unsigned long id, const TEVVALUE& value, bool notify) = 0;
  /// Reads the value of object-model id, fromCache as the client's; the request ID, empty
  /// when not issued.
  virtual std::string GetValueAsync(unsigned long id, bool fromCache) = 0;
  /// Sends a request text; the request ID, empty when not issued.
  virtual std::string RequestAsync(const std::string& request) = 0;
  /// Sends a configuration text; the request ID, empty when not issued.
  virtual std::string SetConfigurationAsync(const std::string& configuration) = 0;
  /// Sets properties of object-model id, synchronously; persistent as the client's.
  virtual bool SetConfiguration(unsigned long id, const PropertyMap& properties,
                                bool persistent) = 0;
  /// Reads the device configuration into config, synchronously; includeDefaults as the
  /// client's.
  virtual bool GetDeviceConfig(std::string& config, bool includeDefaults) = 0;
  /// Writes device settings, synchronously.
  virtual bool SetDeviceConfig(const std::map<std::string, std::string>& settings) = 0;
  /// Selects the device stack's native value format.
  virtual bool EnableNativeFormat() = 0;
  /// Serialise set values in the platform's internal format from now on.
  virtual void EnableInternalValueFormat() = 0;
  /// Serialise set values in the default format from now on.
  virtual void EnableDefaultValueFormat() = 0;
};

/// The messenger over the device's Brask::IDeviceStackClient: forwards every call one to one,
/// adds no error handling and logs nothing but the format switch (DEBUG). An empty request ID
/// and the client's exceptions reach the caller unchanged.
///
/// The application gets its client from the platform's device-stack client library on the
/// device; this library never makes one. Set values are serialised with TEVVALUE::Serialize
/// in the selected format (a NaN float becomes "nan", or "3.7:nan" in the internal format).
/// The format flag may be switched from any thread.
/// \ingroup requests
class QUOR_API RemoteRequestMessengerDeviceStack : public RequestMessengerDeviceStack {
 public:
  /// The client is not owned and must outlive the adapter. No call is made on it here.
  explicit RemoteRequestMessengerDeviceStack(Brask::IDeviceStackClient& client);
  ~RemoteRequestMessengerDeviceStack() override;

  /// Brask::IDeviceStackClient::SetResponseHandler() with handler and a null context.
  void SetResponseHandler(ResponseHandler* handler) override;
  /// Brask::IDeviceStackClient::RegisterApplicationAsync() with the three texts.
  std::string RegisterApplicationAsync(const std::string& applicationId,
                                       const std::string& applicationName,
                                       const std::string& applicationVersion) override;
  /// Brask::IDeviceStackClient::SetValueAsync() with id, the serialised value, notify and
  /// options 0.
  std::string SetValueAsync(unsigned long id, const TEVVALUE& value, bool notify) override;
  /// Brask::IDeviceStackClient::GetValueAsync() with id and fromCache.
  std::string GetValueAsync(unsigned long id, bool fromCache) override;
  /// Brask::IDeviceStackClient::RequestAsync().
  std::string RequestAsync(const std::string& request) override;
  /// Brask::IDeviceStackClient::SetConfigurationAsync().
  std::string SetConfigurationAsync(const std::string& configuration) override;
  /// Brask::IDeviceStackClient::SetConfiguration() with id, properties and persistent.
  bool SetConfiguration(unsigned long id, const PropertyMap& properties, bool persistent) override;
  /// Brask::IDeviceStackClient::GetDeviceConfig() with config and includeDefaults.
  bool GetDeviceConfig(std::string& config, bool includeDefaults) override;
  /// Brask::IDeviceStackClient::SetDeviceConfig().
  bool SetDeviceConfig(const std::map<std::string, std::string>& settings) override;
  /// Brask::IDeviceStackClient::SelectValueFormat() with "Native"; leaves the format flag.
  bool EnableNativeFormat() override;
  /// Brask::IDeviceStackClient::SetInternalValueFormat() with true, then the flag set.
  void EnableInternalValueFormat() override;
  /// Brask::IDeviceStackClient::SetInternalValueFormat() with false, then the flag cleared.
  void EnableDefaultValueFormat() override;

 private:
  std::string Serialize(const TEVVALUE& value) const;

  Brask::IDeviceStackClient& m_client;
  std::atomic<bool> m_internalValueFormat;
};

}  // namespace Quor
