#include "QuorObjectModel/RequestMessengerDeviceStack.h"

#include <cmath>

#include <Quor/Log.h>

namespace Quor {

RequestMessengerDeviceStack::~RequestMessengerDeviceStack() = default;

RemoteRequestMessengerDeviceStack::RemoteRequestMessengerDeviceStack(
    Brask::IDeviceStackClient& client)
    : m_client(client), m_internalValueFormat(false) {}

// Leaves the client's handler registration alone: the owner of the handler undoes it.
RemoteRequestMessengerDeviceStack::~RemoteRequestMessengerDeviceStack() = default;

void RemoteRequestMessengerDeviceStack::SetResponseHandler(ResponseHandler* handler) {
  m_client.SetResponseHandler(handler, nullptr);
}

std::string RemoteRequestMessengerDeviceStack::RegisterApplicationAsync(
    const std::string& applicationId, const std::string& applicationName,
    const std::string& applicationVersion) {
  return m_client.RegisterApplicationAsync(applicationId, applicationName, applicationVersion);
}

std::string RemoteRequestMessengerDeviceStack::SetValueAsync(unsigned long id,
                                                             const TEVVALUE& value, bool notify) {
  const std::string text = Serialize(value);
  return m_client.SetValueAsync(id, text, notify, 0);
}

std::string RemoteRequestMessengerDeviceStack::GetValueAsync(unsigned long id, bool fromCache) {
  return m_client.GetValueAsync(id, fromCache);
}

std::string RemoteRequestMessengerDeviceStack::RequestAsync(const std::string& request) {
  return m_client.RequestAsync(request);
}

std::string RemoteRequestMessengerDeviceStack::SetConfigurationAsync(
    const std::string& configuration) {
  return m_client.SetConfigurationAsync(configuration);
}

bool RemoteRequestMessengerDeviceStack::SetConfiguration(unsigned long id,
                                                         const PropertyMap& properties,
                                                         bool persistent) {
  return m_client.SetConfiguration(id, properties, persistent);
}

bool RemoteRequestMessengerDeviceStack::GetDeviceConfig(std::string& config, bool includeDefaults) {
  return m_client.GetDeviceConfig(config, includeDefaults);
}

bool RemoteRequestMessengerDeviceStack::SetDeviceConfig(
    const std::map<std::string, std::string>& settings) {
  return m_client.SetDeviceConfig(settings);
}

bool RemoteRequestMessengerDeviceStack::EnableNativeFormat() {
  return m_client.SelectValueFormat("Native");
}

// The client switches first, so no request goes out in a format the client does not expect.
void RemoteRequestMessengerDeviceStack::EnableInternalValueFormat() {
  m_client.SetInternalValueFormat(true);
  m_internalValueFormat.store(true);
  QUOR_LOG_DEBUG("Internal value format now enabled.");
}

void RemoteRequestMessengerDeviceStack::EnableDefaultValueFormat() {
  m_client.SetInternalValueFormat(false);
  m_internalValueFormat.store(false);
}

std::string RemoteRequestMessengerDeviceStack::Serialize(const TEVVALUE& value) const {
  const bool internalFormat = m_internalValueFormat.load();
  if (value.tvt == tvtFloat && std::isnan(value.value.doubleValue)) {
    return internalFormat ? "3.7:nan" : "nan";
  }
  std::string text;
  value.Serialize(text, internalFormat);
  return text;
}

}  // namespace Quor
