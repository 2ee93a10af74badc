#pragma once
/// \file
/// The device-stack client interface: the asynchronous client of the device-stack service that
/// holds the object model. Part of the platform contract the library relies on; on the device
/// the platform's device-stack client library implements it and hands out the client object.
/// \ingroup platform

#include <cstdint>
#include <map>
#include <string>

/// Marks the device-stack client library's exported symbols.
#define BRASK_API __attribute__((visibility("default")))

namespace Brask {

/// The asynchronous client of the device-stack service. Requests return a request ID at once;
/// the answer comes later, on a client thread, through IResponseHandler.
///
/// The library never creates one: a device app gets its client from the platform's
/// device-stack client library and passes it to Quor::RemoteRequestMessengerDeviceStack. What
/// the library relies on: every asynchronous call returns at once with a fresh request ID (empty
/// when not issued), and the answer for that ID comes through the handler on another thread than
/// the one that made the call, never from inside the call. Calls may come from several threads.
/// \ingroup platform
class BRASK_API IDeviceStackClient {
 public:
  /// Kinds of object-model properties a synchronous configuration call may set.
  enum class PropertyType : std::int32_t {
    Name = 0,         ///< The object's name.
    Description = 1,  ///< Its description.
    Dpt = 2,          ///< Its datapoint type.
    Flags = 3,        ///< Its flags.
    Unit = 4,         ///< Its unit.
    Value = 5,        ///< Its value.
  };

  /// One property value, in the service's text form.
  struct BRASK_API Property {
    std::string value;  ///< The text.

    /// Same text.
    bool operator==(const Property& other) const { return value == other.value; }
    /// Different text.
    bool operator!=(const Property& other) const { return !(*this == other); }
  };

  /// Outcome of a request as reported by the service; code 0 means success.
  class BRASK_API IError {
   public:
    virtual ~IError();
    /// The error code; 0 is success, anything else a failed request.
    virtual int GetCode() const = 0;
    /// Short text naming where the failure was detected.
    virtual const std::string& GetText() const = 0;
    /// Further detail from the service, possibly empty.
    virtual const std::string& GetDetail() const = 0;
    /// A description of the error, as Quor::Docket::ReadDeliveryError() hands it on.
    virtual std::string GetDescription() const = 0;
  };

  /// Callbacks for answers. They run on a client thread, never inside a request call.
  /// `context` is the pointer given when the handler was registered; requestId is the ID the
  /// request call returned.
  class BRASK_API IResponseHandler {
   public:
    /// The answer to RequestAsync().
    virtual void OnResponse(void* context, const std::string& requestId,
                            const std::string& response, const IError& error) = 0;
    /// The answer to RegisterApplicationAsync().
    virtual void OnRegisterApplication(void* context, const std::string& requestId,
                                       const IError& error) = 0;
    /// An answer carrying a configuration text.
    virtual void OnGetConfiguration(void* context, const std::string& requestId,
                                    const std::string& config, const IError& error) = 0;
    /// The answer to SetConfigurationAsync().
    virtual void OnSetConfiguration(void* context, const std::string& requestId,
                                    const IError& error) = 0;
    /// The answer to GetValueAsync(): the object's id, its urn and its value text.
    virtual void OnGetValue(void* context, const std::string& requestId, unsigned long id,
                            const std::string& urn, const std::string& value,
                            const IError& error) = 0;
    /// The answer to SetValueAsync(): the object's id, its urn and its value text.
    virtual void OnSetValue(void* context, const std::string& requestId, unsigned long id,
                            const std::string& urn, const std::string& value,
                            const IError& error) = 0;
    // Declared after the callbacks: handlers keep the callbacks in the first slots.
    virtual ~IResponseHandler();
  };

  virtual ~IDeviceStackClient();

  /// Replaces the handler (null: answers are dropped). Once this returns, no callback on the
  /// previous handler is still running.
  virtual void SetResponseHandler(IResponseHandler* handler, void* context) = 0;

  /// \name Asynchronous requests
  /// Each returns a fresh request ID, or an empty string when the request could not be issued.
  /// @{

  /// Registers an application with the device stack; the three texts are the device stack's
  /// to interpret.
  virtual std::string RegisterApplicationAsync(const std::string& applicationId,
                                               const std::string& applicationName,
                                               const std::string& applicationVersion) = 0;
  /// Sets the value text of object-model id. notify is the device stack's option; the library
  /// passes the caller's unchanged. `options` is reserved for request options; 0 selects the
  /// defaults.
  virtual std::string SetValueAsync(unsigned long id, const std::string& value, bool notify,
                                    std::uint32_t options) = 0;
  /// Reads the value of object-model id. fromCache is the device stack's option; the library
  /// passes the caller's unchanged.
  virtual std::string GetValueAsync(unsigned long id, bool fromCache) = 0;
  /// Sends a request text.
  virtual std::string RequestAsync(const std::string& request) = 0;
  /// Sends a configuration text.
  virtual std::string SetConfigurationAsync(const std::string& config) = 0;
  /// @}

  /// \name Synchronous configuration calls
  /// Each returns true on success.
  /// @{

  /// Sets properties of object-model id. persistent is the device stack's option; the library
  /// passes the caller's unchanged.
  virtual bool SetConfiguration(unsigned long id,
                                const std::map<PropertyType, Property>& properties,
                                bool persistent) = 0;
  /// Reads the device configuration into config. includeDefaults is the device stack's
  /// option; the library passes the caller's unchanged.
  virtual bool GetDeviceConfig(std::string& config, bool includeDefaults) = 0;
  /// Writes device settings, by key.
  virtual bool SetDeviceConfig(const std::map<std::string, std::string>& settings) = 0;
  /// @}

  /// \name Value formats
  /// A named wire format ("Native" or "Default"), and the switch between the internal and the
  /// default text form of values.
  /// @{

  /// Selects the wire format by name.
  virtual bool SelectValueFormat(const std::string& name) = 0;
  /// Switches between the internal (true) and the default (false) text form of values.
  virtual void SetInternalValueFormat(bool enable) = 0;
  /// @}
};

}  // namespace Brask
