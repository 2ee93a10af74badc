#pragma once
/// \file
/// Blocking requests over the asynchronous device-stack messenger. Each synchronous call issues
/// its request, waits for the callback carrying the same request ID and hands back a Docket.
/// A request is re-issued after an empty ID or a timeout, up to retries + 1 attempts in all.
/// \ingroup requests

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

/// Outcome of one request: not answered, answered with an error, or answered and valid. A
/// plain value, copied to the caller.
/// \ingroup requests
class QUOR_API Docket {
 public:
  /// Not answered, empty reply and error.
  Docket();
  /// A docket with the given content.
  Docket(std::string reply, std::string deliveryError, bool replyValid, bool answered);

  /// Replaces the whole content.
  void SetContent(std::string reply, std::string deliveryError, bool replyValid,
                  bool answered) noexcept;

  /// Whether the device stack answered with error code 0.
  bool IsReplyValid() const { return m_replyValid; }
  /// Whether any answer arrived for the request.
  bool IsAnswered() const { return m_answered; }
  /// The answer's content (the value, configuration or response text); empty without one.
  const std::string& ReadReply() const { return m_reply; }
  /// The device stack's error description of an answer with an error.
  const std::string& ReadDeliveryError() const { return m_deliveryError; }

 private:
  std::string m_reply;
  std::string m_deliveryError;
  bool m_replyValid;
  bool m_answered;
};

/// The synchronous request engine: blocking requests over a RequestMessengerDeviceStack.
///
/// Set-up, in this order: create the RemoteRequestMessengerDeviceStack over the client, create
/// the engine with it, call SetAsResponseHandler(), then issue requests; call
/// UnsetAsResponseHandler() before destroying the engine.
///
/// Threads:
/// - Requests may come from any number of threads at once; each blocks its caller until its
///   answer, its timeout or its last attempt. Device-side failures never throw: they come back
///   as a Docket. A boost::thread interruption of the waiting thread does throw
///   boost::thread_interrupted.
/// - The answers arrive through the response handler on the client's threads. They take the
///   engine's mutex, store the reply in the waiting docket and wake the waiters; an answer
///   nobody waits for any more is dropped.
/// - The engine's mutex is held while a request is issued and registered, and released only
///   while waiting. So the client must never call the response handler synchronously from
///   inside a request call: that would deadlock. It answers later, from a thread of its own.
/// - isStillRelevant (SetConfiguration) is called with the engine's mutex held: it must be
///   quick and must not call into the engine.
/// \ingroup requests
class QUOR_API DscAsyncRequestMessenger : private Brask::IDeviceStackClient::IResponseHandler,
                                          private boost::noncopyable {
 public:
  /// Properties of a configuration call, by kind.
  using PropertyMap =
      std::map<Brask::IDeviceStackClient::PropertyType, Brask::IDeviceStackClient::Property>;

  /// The messenger is not owned and must outlive the engine. defaultTimeout is the wait of
  /// each attempt; maxRetries the attempts after the first.
  DscAsyncRequestMessenger(RequestMessengerDeviceStack& messenger,
                           boost::posix_time::time_duration defaultTimeout,
                           unsigned int maxRetries);
  /// Does not unregister: call UnsetAsResponseHandler first.
  ~DscAsyncRequestMessenger() override;

  /// Registers the engine as the messenger's response handler; before any request.
  void SetAsResponseHandler();
  /// Unregisters it; before the engine is destroyed.
  void UnsetAsResponseHandler();

  /// Registers the application with the device stack and waits for the answer.
  Docket RegisterApplication(const std::string& first, const std::string& second,
                             const std::string& third);
  /// Sets the value of object-model id (see KnxZebMapping) and waits; flag is handed to the
  /// client.
  Docket SetValue(unsigned long id, const TEVVALUE& value, bool flag);
  /// Reads the value of object-model id and waits; the reply holds the value's text.
  Docket GetValue(unsigned long id, bool flag);
  /// Sends a request text and waits up to timeout per attempt (zero: the default timeout).
  Docket Request(const std::string& text, boost::posix_time::time_duration timeout);
  /// Sends a configuration text and waits up to timeout per attempt (zero: the default).
  /// isStillRelevant() is asked while waiting; once it says false, the call gives up with an
  /// unanswered docket. See the class's thread rules for what it may do.
  Docket SetConfiguration(const std::string& text, boost::posix_time::time_duration timeout,
                          const function<bool()>& isStillRelevant);

  /// Sets properties of object-model id with one synchronous call on the messenger: no
  /// docket list, no lock, no retry.
  Docket SetConfiguration(unsigned long id, const PropertyMap& properties, bool flag);
  /// Reads the device configuration with one synchronous call on the messenger.
  bool GetDeviceConfig(std::string& config, bool flag);
  /// Writes device settings with one synchronous call on the messenger.
  bool SetDeviceConfig(const std::map<std::string, std::string>& settings);
  /// Selects the device stack's native value format with one call on the messenger.
  bool EnableNativeFormat();

  /// Issues a set-value request without waiting; true when it got a request ID.
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
