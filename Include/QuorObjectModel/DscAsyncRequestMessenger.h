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
///
/// How to read it:
/// - IsAnswered() false: nothing came back. The docket does not say why: a request that was
///   never issued (the client gave an empty request ID on every attempt), one that timed out on
///   every attempt and one given up because it was no longer relevant all look the same. The
///   log tells them apart (see DscAsyncRequestMessenger).
/// - IsAnswered() true, IsReplyValid() false: the device stack answered with an error;
///   ReadDeliveryError() holds its description. The error code itself is not kept: it is in
///   the ERROR record the engine logs for the answer.
/// - Both true: ReadReply() holds the answer's content (empty for RegisterApplication and the
///   configuration text requests).
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
  /// The device stack's error description of an answer with an error
  /// (Brask::IDeviceStackClient::IError::GetDescription()); empty otherwise.
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
/// UnsetAsResponseHandler() before destroying the engine. The library never creates a
/// Brask::IDeviceStackClient: on the device it comes from the platform's device-stack client
/// library.
///
/// What a synchronous request (RegisterApplication, SetValue, GetValue, Request and the
/// text SetConfiguration) does on each failure, and what the log shows (message texts; each
/// record starts with the function's name):
/// - Not issued, the client gave an empty request ID: ERROR "Request ID is empty, retrying",
///   and the next attempt follows at once.
/// - No answer within the timeout: WARN "Timeout (\<t\>) occured for request ID '\<id\>'",
///   then ERROR "No response received for ID '\<id\>' with timeout \<t\>, retrying", durations
///   as boost prints them (00:00:05, or 00:00:00.100000 for 100 ms). The
///   second line prints the timeout the call was given, so 00:00:00 where the default timeout
///   applies (all calls but Request and SetConfiguration with a timeout of their own).
/// - Every attempt used: ERROR "Maximum number of retries (\<maxRetries\>) reached.", and an
///   unanswered Docket.
/// - Answered with an error: ERROR "ZEB error for request \<id\>: \<code\>; \<text\>; \<detail\>"
///   (with the callback's further fields), and an answered Docket with IsReplyValid() false.
///   Not retried.
/// - isStillRelevant() false (SetConfiguration): INFO "Aborted a ZEB request because its result
///   is no longer relevant", the WARN timeout line, and an unanswered Docket at once.
/// - An answer for a request nobody waits for any more (late, duplicate, or from
///   SetValueAndIgnoreResponse): DEBUG "No docket for response ID '\<id\>'" and, when it carries
///   an error, the ZEB error line and ERROR "Request \<id\>: Error '\<description\>'". It changes
///   nothing.
///
/// Device-side failures never throw. A boost::thread interruption of the waiting thread
/// throws boost::thread_interrupted; exceptions of the client pass to the caller.
///
/// Threads:
/// - Requests may come from any number of threads at once; each blocks its caller until its
///   answer, its timeout or its last attempt.
/// - The answers arrive through the response handler on the client's threads. They take the
///   engine's mutex, store the reply in the waiting docket and wake the waiters; an answer
///   nobody waits for any more is dropped.
/// - The engine's mutex is held while a request is issued and registered, and released only
///   while waiting. So the client must answer later, from a thread of its own, never from
///   inside the request call: such an answer is reported with an ERROR record and dropped,
///   and the request times out.
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
  /// each attempt; maxRetries the attempts after the first. Makes no call on the messenger.
  DscAsyncRequestMessenger(RequestMessengerDeviceStack& messenger,
                           boost::posix_time::time_duration defaultTimeout,
                           unsigned int maxRetries);
  /// Does not unregister: call UnsetAsResponseHandler first.
  ~DscAsyncRequestMessenger() override;

  /// Registers the engine as the messenger's response handler; before any request.
  void SetAsResponseHandler();
  /// Unregisters it; before the engine is destroyed.
  void UnsetAsResponseHandler();

  /// Registers the application with the device stack and waits up to the default timeout per
  /// attempt. The three texts go unchanged, in this order, to
  /// Brask::IDeviceStackClient::RegisterApplicationAsync(); their meaning is the device
  /// stack's. The answer carries no content: ReadReply() is empty. Failures: see the class.
  Docket RegisterApplication(const std::string& applicationId, const std::string& applicationName,
                             const std::string& applicationVersion);
  /// Sets the value of object-model id (see KnxZebMapping) and waits up to the default timeout
  /// per attempt. value is serialised as RemoteRequestMessengerDeviceStack says; notify goes
  /// unchanged to Brask::IDeviceStackClient::SetValueAsync(). The reply holds the value text
  /// the device stack answered with. Failures: see the class.
  Docket SetValue(unsigned long id, const TEVVALUE& value, bool notify);
  /// Reads the value of object-model id and waits up to the default timeout per attempt;
  /// fromCache goes unchanged to Brask::IDeviceStackClient::GetValueAsync(). The reply holds
  /// the value's text. Failures: see the class.
  Docket GetValue(unsigned long id, bool fromCache);
  /// Sends a request text (Brask::IDeviceStackClient::RequestAsync()) and waits up to timeout
  /// per attempt (zero or not-a-date-time: the default timeout). The reply holds the response
  /// text. Failures: see the class.
  Docket Request(const std::string& text, boost::posix_time::time_duration timeout);
  /// Sends a configuration text (Brask::IDeviceStackClient::SetConfigurationAsync()) and waits
  /// up to timeout per attempt (zero or not-a-date-time: the default). isStillRelevant() is
  /// asked when a wait begins and each time it wakes up (an answer to any request, or the
  /// deadline), not in between; once it says false, the call gives up with an unanswered
  /// docket and no further attempt. See the class for its thread rules and the failures.
  Docket SetConfiguration(const std::string& text, boost::posix_time::time_duration timeout,
                          const function<bool()>& isStillRelevant);

  /// Sets properties of object-model id with one synchronous call,
  /// Brask::IDeviceStackClient::SetConfiguration(), which gets persistent unchanged: no
  /// docket list, no lock, no retry, nothing logged. The docket is always answered, also when
  /// the call failed: only IsReplyValid() carries the client's result.
  Docket SetConfiguration(unsigned long id, const PropertyMap& properties, bool persistent);
  /// Reads the device configuration into config with one synchronous call,
  /// Brask::IDeviceStackClient::GetDeviceConfig(), which gets includeDefaults unchanged; the
  /// client's result, nothing logged.
  bool GetDeviceConfig(std::string& config, bool includeDefaults);
  /// Writes device settings with one synchronous call,
  /// Brask::IDeviceStackClient::SetDeviceConfig(); the client's result, nothing logged.
  bool SetDeviceConfig(const std::map<std::string, std::string>& settings);
  /// Selects the device stack's native value format: Brask::IDeviceStackClient::SelectValueFormat()
  /// with "Native"; the client's result, nothing logged.
  bool EnableNativeFormat();

  /// Issues a set-value request without waiting and without retry (notify as for SetValue);
  /// true when it got a request ID. The answer that comes later finds no docket and is only
  /// logged (see the class).
  bool SetValueAndIgnoreResponse(unsigned long id, const TEVVALUE& value, bool notify);

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
