#pragma once
// Stand-in for the device-stack client library: the asynchronous client of the
// device-stack service that holds the object model. Requests return a request ID
// at once; the answer comes later, on a client thread, through IResponseHandler.

#include <cstdint>
#include <map>
#include <string>

#define BRASK_API __attribute__((visibility("default")))

namespace Brask {

class BRASK_API IDeviceStackClient {
 public:
  // Kinds of object-model properties a synchronous configuration call may set.
  enum class PropertyType : std::int32_t {
    Name = 0,
    Description = 1,
    Dpt = 2,
    Flags = 3,
    Unit = 4,
    Value = 5,
  };

  // One property value, in the service's text form.
  struct BRASK_API Property {
    std::string value;

    bool operator==(const Property& other) const { return value == other.value; }
    bool operator!=(const Property& other) const { return !(*this == other); }
  };

  // Outcome of a request as reported by the service; code 0 means success.
  class BRASK_API IError {
   public:
    virtual ~IError();
    virtual int GetCode() const = 0;
    // Short text naming where the failure was detected.
    virtual const std::string& GetText() const = 0;
    // Further detail from the service, possibly empty.
    virtual const std::string& GetDetail() const = 0;
    virtual std::string GetDescription() const = 0;
  };

  // Callbacks for answers. They run on a client thread, never inside a request
  // call. `context` is the pointer given when the handler was registered.
  class BRASK_API IResponseHandler {
   public:
    virtual void OnResponse(void* context, const std::string& requestId,
                            const std::string& response, const IError& error) = 0;
    virtual void OnRegisterApplication(void* context, const std::string& requestId,
                                       const IError& error) = 0;
    virtual void OnGetConfiguration(void* context, const std::string& requestId,
                                    const std::string& config, const IError& error) = 0;
    virtual void OnSetConfiguration(void* context, const std::string& requestId,
                                    const IError& error) = 0;
    virtual void OnGetValue(void* context, const std::string& requestId, unsigned long id,
                            const std::string& urn, const std::string& value,
                            const IError& error) = 0;
    virtual void OnSetValue(void* context, const std::string& requestId, unsigned long id,
                            const std::string& urn, const std::string& value,
                            const IError& error) = 0;
    // Declared after the callbacks: handlers keep the callbacks in the first slots.
    virtual ~IResponseHandler();
  };

  virtual ~IDeviceStackClient();

  // Replaces the handler (null: answers are dropped). Once this returns, no
  // callback on the previous handler is still running.
  virtual void SetResponseHandler(IResponseHandler* handler, void* context) = 0;

  // Asynchronous requests. Each returns a fresh request ID, or an empty string
  // when the request could not be issued.
  virtual std::string RegisterApplicationAsync(const std::string& applicationId,
                                               const std::string& applicationName,
                                               const std::string& applicationVersion) = 0;
  // `options` is reserved for request options; 0 selects the defaults.
  virtual std::string SetValueAsync(unsigned long id, const std::string& value, bool notify,
                                    std::uint32_t options) = 0;
  virtual std::string GetValueAsync(unsigned long id, bool fromCache) = 0;
  virtual std::string RequestAsync(const std::string& request) = 0;
  virtual std::string SetConfigurationAsync(const std::string& config) = 0;

  // Synchronous configuration calls; true on success.
  virtual bool SetConfiguration(unsigned long id,
                                const std::map<PropertyType, Property>& properties,
                                bool persistent) = 0;
  virtual bool GetDeviceConfig(std::string& config, bool includeDefaults) = 0;
  virtual bool SetDeviceConfig(const std::map<std::string, std::string>& settings) = 0;

  // Value formats: a named wire format ("Native" or "Default"), and the switch
  // between the internal and the default text form of values.
  virtual bool SelectValueFormat(const std::string& name) = 0;
  virtual void SetInternalValueFormat(bool enable) = 0;
};

}  // namespace Brask
