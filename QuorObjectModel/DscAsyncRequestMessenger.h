#pragma once
// Blocking requests over the asynchronous device-stack messenger. Each synchronous call issues
// its request, waits for the callback carrying the same request ID and hands back a Docket.
// A request is re-issued after an empty ID or a timeout, up to retries + 1 attempts in all.

#include <map>
#include <memory>
#include <string>

#include <boost/core/noncopyable.hpp>
#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/optional.hpp>
#include <boost/thread/condition_variable.hpp>
#include <boost/thread/lock_types.hpp>
#include <boost/thread/mutex.hpp>

#include <Brask/DeviceStackClient.h>
#include <Quor/Function.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/Export.h"
#include "QuorObjectModel/RequestMessengerDeviceStack.h"

namespace Quor {

// Outcome of one request: not answered, answered with an error, or answered and valid.
class QUOR_API Docket {
 public:
  Docket();
  Docket(std::string reply, std::string deliveryError, bool replyValid, bool answered);

  void SetContent(std::string reply, std::string deliveryError, bool replyValid,
                  bool answered) noexcept;

  bool IsReplyValid() const { return m_replyValid; }
  bool IsAnswered() const { return m_answered; }
  const std::string& ReadReply() const { return m_reply; }
  const std::string& ReadDeliveryError() const { return m_deliveryError; }

 private:
  std::string m_reply;
  std::string m_deliveryError;
  bool m_replyValid;
  bool m_answered;
};

class QUOR_API DscAsyncRequestMessenger : private Brask::IDeviceStackClient::IResponseHandler,
                                          private boost::noncopyable {
 public:
  using PropertyMap =
      std::map<Brask::IDeviceStackClient::PropertyType, Brask::IDeviceStackClient::Property>;

  // The messenger is not owned and must outlive the engine.
  DscAsyncRequestMessenger(RequestMessengerDeviceStack& messenger,
                           boost::posix_time::time_duration defaultTimeout,
                           unsigned int maxRetries);
  // Does not unregister: call UnsetAsResponseHandler first.
  ~DscAsyncRequestMessenger() override;

  void SetAsResponseHandler();
  void UnsetAsResponseHandler();

  // Synchronous requests; a zero timeout selects the default one.
  Docket RegisterApplication(const std::string& first, const std::string& second,
                             const std::string& third);
  Docket SetValue(unsigned long id, const TEVVALUE& value, bool flag);
  Docket GetValue(unsigned long id, bool flag);
  Docket Request(const std::string& text, boost::posix_time::time_duration timeout);
  Docket SetConfiguration(const std::string& text, boost::posix_time::time_duration timeout,
                          const function<bool()>& isStillRelevant);

  // Direct calls: no docket list, no lock, one call on the messenger.
  Docket SetConfiguration(unsigned long id, const PropertyMap& properties, bool flag);
  bool GetDeviceConfig(std::string& config, bool flag);
  bool SetDeviceConfig(const std::map<std::string, std::string>& settings);
  bool EnableNativeFormat();

  // Issues a set-value request without waiting; true when it got a request ID.
  bool SetValueAndIgnoreResponse(unsigned long id, const TEVVALUE& value, bool flag);

 private:
  using IError = Brask::IDeviceStackClient::IError;
  using Lock = boost::unique_lock<boost::mutex>;

  void OnResponse(void* context, const std::string& requestId, const std::string& response,
                  const IError& error) override;
  void OnRegisterApplication(void* context, const std::string& requestId,
                             const IError& error) override;
  void OnGetConfiguration(void* context, const std::string& requestId, const std::string& config,
                          const IError& error) override;
  void OnSetConfiguration(void* context, const std::string& requestId,
                          const IError& error) override;
  void OnGetValue(void* context, const std::string& requestId, unsigned long id,
                  const std::string& urn, const std::string& value, const IError& error) override;
  void OnSetValue(void* context, const std::string& requestId, unsigned long id,
                  const std::string& urn, const std::string& value, const IError& error) override;

  template <class DoAsyncRequest>
  Docket SynchronizeRequest(const DoAsyncRequest& doAsync, boost::posix_time::time_duration timeout,
                            const BoolReader& isStillRelevant);
  boost::optional<Docket> WaitForDocket(Lock& lock, const std::string& id,
                                        boost::posix_time::time_duration timeout,
                                        const BoolReader& isStillRelevant);
  bool WaitForAnswer(Lock& lock, const std::string& id, boost::posix_time::time_duration timeout,
                     const BoolReader& isStillRelevant);
  void UpdateDocketList(const std::string& id, const std::string& content, const IError& error);

  RequestMessengerDeviceStack& m_messenger;
  boost::posix_time::time_duration m_defaultTimeout;
  unsigned int m_attempts;
  boost::mutex m_mutex;
  boost::condition_variable m_condition;
  std::map<std::string, std::weak_ptr<Docket>> m_docketList;
};

}  // namespace Quor
