#include "QuorObjectModel/DscAsyncRequestMessenger.h"

#include <ostream>
#include <tuple>
#include <utility>

#include <boost/chrono/duration.hpp>
#include <boost/chrono/system_clocks.hpp>
#include <boost/date_time/posix_time/posix_time_io.hpp>
#include <boost/scope_exit.hpp>

#include <Quor/Log.h>

namespace Quor {

namespace {

using boost::posix_time::time_duration;
using Clock = boost::chrono::steady_clock;

bool AlwaysRelevant() {
  return true;
}

// Longer waits than this are taken as "no deadline" so that the clock arithmetic cannot overflow.
const time_duration kLongestDeadline = boost::posix_time::hours(24 * 365 * 100);

// Empty for a wait without deadline: +infinity (and anything beyond a century) waits until
// the answer comes; -infinity and negative timeouts expire at once.
boost::optional<Clock::time_point> DeadlineAfter(const time_duration& timeout) {
  const Clock::time_point now = Clock::now();
  if (timeout.is_pos_infinity() || (!timeout.is_special() && timeout > kLongestDeadline)) {
    return boost::none;
  }
  if (timeout.is_special() || timeout.is_negative()) {
    return now;
  }
  return now + boost::chrono::nanoseconds(timeout.total_nanoseconds());
}

// Common head of the callbacks' error lines: "ZEB error for request <id>: <code>; <text>;
// <detail>".
struct ZebError {
  ZebError(const std::string& id, const Brask::IDeviceStackClient::IError& e)
      : requestId(id), error(e) {}
  const std::string& requestId;
  const Brask::IDeviceStackClient::IError& error;
};

std::ostream& operator<<(std::ostream& os, const ZebError& e) {
  return os << "ZEB error for request " << e.requestId << ": " << e.error.GetCode() << "; "
            << e.error.GetText() << "; " << e.error.GetDetail();
}

// What a callback carried besides the error, streamed only once the level is known to be on.
template <class... Parts>
struct Carried {
  std::tuple<const Parts&...> parts;
};

template <class... Parts>
std::ostream& operator<<(std::ostream& os, const Carried<Parts...>& carried) {
  std::apply([&](const Parts&... part) { ((os << part), ...); }, carried.parts);
  return os;
}

// Every callback's report of a device error, in the callback's name, with what it carried.
template <class... Parts>
void ReportDeviceError(const LogSite& site, const std::string& requestId,
                       const Brask::IDeviceStackClient::IError& error, const Parts&... parts) {
  if (error.GetCode() != 0) {
    QUOR_LOG_ERROR_AT(site, ZebError(requestId, error) << Carried<Parts...>{std::tie(parts...)});
  }
}

// The engine whose request call this thread is in, if any. Its answer cannot be taken on this
// thread: the engine's mutex is held across the call and is not recursive, so the client must
// answer on another thread. Marking the thread keeps that broken contract from being a silent
// hang without a data member.
thread_local const void* t_issuingEngine = nullptr;

// Calls doAsync with the calling thread marked as inside `engine`'s request call.
template <class DoAsyncRequest>
std::string Issue(const void* engine, const DoAsyncRequest& doAsync) {
  const void* const previous = t_issuingEngine;
  t_issuingEngine = engine;
  BOOST_SCOPE_EXIT_ALL(&) {
    t_issuingEngine = previous;
  };
  return doAsync();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Docket

Docket::Docket() : m_replyValid(false), m_answered(false) {}

Docket::Docket(std::string reply, std::string deliveryError, bool replyValid, bool answered)
    : m_reply(std::move(reply)),
      m_deliveryError(std::move(deliveryError)),
      m_replyValid(replyValid),
      m_answered(answered) {}

void Docket::SetContent(std::string reply, std::string deliveryError, bool replyValid,
                        bool answered) noexcept {
  m_reply = std::move(reply);
  m_deliveryError = std::move(deliveryError);
  m_replyValid = replyValid;
  m_answered = answered;
}

// ---------------------------------------------------------------------------------------------
// Construction and setup

DscAsyncRequestMessenger::DscAsyncRequestMessenger(RequestMessengerDeviceStack& messenger,
                                                   time_duration defaultTimeout,
                                                   unsigned int maxRetries)
    : m_messenger(messenger), m_defaultTimeout(defaultTimeout), m_attempts(maxRetries + 1) {}

DscAsyncRequestMessenger::~DscAsyncRequestMessenger() = default;

void DscAsyncRequestMessenger::SetAsResponseHandler() {
  m_messenger.SetResponseHandler(this);
}

void DscAsyncRequestMessenger::UnsetAsResponseHandler() {
  m_messenger.SetResponseHandler(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Synchronous requests

Docket DscAsyncRequestMessenger::RegisterApplication(const std::string& applicationId,
                                                     const std::string& applicationName,
                                                     const std::string& applicationVersion) {
  return SynchronizeRequest(
      [&] {
        return m_messenger.RegisterApplicationAsync(applicationId, applicationName,
                                                    applicationVersion);
      },
      time_duration(), AlwaysRelevant);
}

Docket DscAsyncRequestMessenger::SetValue(unsigned long id, const TEVVALUE& value, bool notify) {
  return SynchronizeRequest([&] { return m_messenger.SetValueAsync(id, value, notify); },
                            time_duration(), AlwaysRelevant);
}

Docket DscAsyncRequestMessenger::GetValue(unsigned long id, bool fromCache) {
  return SynchronizeRequest([&] { return m_messenger.GetValueAsync(id, fromCache); },
                            time_duration(), AlwaysRelevant);
}

Docket DscAsyncRequestMessenger::Request(const std::string& text, time_duration timeout) {
  return SynchronizeRequest([&] { return m_messenger.RequestAsync(text); }, timeout,
                            AlwaysRelevant);
}

Docket DscAsyncRequestMessenger::SetConfiguration(const std::string& text, time_duration timeout,
                                                  const function<bool()>& isStillRelevant) {
  return SynchronizeRequest([&] { return m_messenger.SetConfigurationAsync(text); }, timeout,
                            isStillRelevant);
}

// ---------------------------------------------------------------------------------------------
// Direct calls

Docket DscAsyncRequestMessenger::SetConfiguration(unsigned long id, const PropertyMap& properties,
                                                  bool persistent) {
  const bool result = m_messenger.SetConfiguration(id, properties, persistent);
  return Docket("", "", result, true);
}

bool DscAsyncRequestMessenger::GetDeviceConfig(std::string& config, bool includeDefaults) {
  return m_messenger.GetDeviceConfig(config, includeDefaults);
}

bool DscAsyncRequestMessenger::SetDeviceConfig(const std::map<std::string, std::string>& settings) {
  return m_messenger.SetDeviceConfig(settings);
}

bool DscAsyncRequestMessenger::EnableNativeFormat() {
  return m_messenger.EnableNativeFormat();
}

bool DscAsyncRequestMessenger::SetValueAndIgnoreResponse(unsigned long id, const TEVVALUE& value,
                                                         bool notify) {
  const boost::lock_guard<boost::mutex> lock(m_mutex);
  const std::string requestId =
      Issue(this, [&] { return m_messenger.SetValueAsync(id, value, notify); });
  QUOR_LOG_DEBUG("Request ID is '" << requestId << "'");
  return !requestId.empty();
}

// ---------------------------------------------------------------------------------------------
// Callbacks

void DscAsyncRequestMessenger::OnResponse(void* /*context*/, const std::string& requestId,
                                          const std::string& response, const IError& error) {
  ReportDeviceError(QUOR_LOG_SITE, requestId, error, "; response: ", response);
  UpdateDocketList(requestId, response, error);
}

void DscAsyncRequestMessenger::OnRegisterApplication(void* /*context*/,
                                                     const std::string& requestId,
                                                     const IError& error) {
  ReportDeviceError(QUOR_LOG_SITE, requestId, error);
  UpdateDocketList(requestId, std::string(), error);
}

void DscAsyncRequestMessenger::OnGetConfiguration(void* /*context*/, const std::string& requestId,
                                                  const std::string& config, const IError& error) {
  ReportDeviceError(QUOR_LOG_SITE, requestId, error, "; config: ", config);
  UpdateDocketList(requestId, config, error);
}

void DscAsyncRequestMessenger::OnSetConfiguration(void* /*context*/, const std::string& requestId,
                                                  const IError& error) {
  ReportDeviceError(QUOR_LOG_SITE, requestId, error);
  UpdateDocketList(requestId, std::string(), error);
}

void DscAsyncRequestMessenger::OnGetValue(void* /*context*/, const std::string& requestId,
                                          unsigned long id, const std::string& urn,
                                          const std::string& value, const IError& error) {
  ReportDeviceError(QUOR_LOG_SITE, requestId, error, "; id: ", id, "; urn: ", urn,
                    "; value: ", value);
  UpdateDocketList(requestId, value, error);
}

void DscAsyncRequestMessenger::OnSetValue(void* /*context*/, const std::string& requestId,
                                          unsigned long id, const std::string& urn,
                                          const std::string& value, const IError& error) {
  ReportDeviceError(QUOR_LOG_SITE, requestId, error, "; id: ", id, "; urn: ", urn,
                    "; value: ", value);
  UpdateDocketList(requestId, value, error);
}

// ---------------------------------------------------------------------------------------------
// Engine

template <class DoAsyncRequest>
Docket DscAsyncRequestMessenger::SynchronizeRequest(const DoAsyncRequest& doAsync,
                                                    time_duration timeout,
                                                    const BoolReader& isStillRelevant) {
  Lock lock(m_mutex);
  for (unsigned int attempt = 0; attempt < m_attempts; ++attempt) {
    const std::string id = Issue(this, doAsync);
    QUOR_LOG_DEBUG("Request ID is '" << id << "'");
    if (id.empty()) {
      QUOR_LOG_ERROR("Request ID is empty, retrying");
      continue;
    }
    boost::optional<Docket> result = WaitForDocket(lock, id, timeout, isStillRelevant);
    if (!isStillRelevant()) {
      QUOR_LOG_DEBUG("returned from waiting for response with ID '" << id << "': !isStillRelevant");
      return Docket();
    }
    if (!result) {
      QUOR_LOG_ERROR("No response received for ID '" << id << "' with timeout " << timeout
                                                     << ", retrying");
      continue;
    }
    QUOR_LOG_DEBUG("returned from waiting for response with ID '" << id << "': got response");
    return std::move(*result);
  }
  QUOR_LOG_ERROR("Maximum number of retries (" << m_attempts - 1 << ") reached.");
  return Docket();
}

boost::optional<Docket> DscAsyncRequestMessenger::WaitForDocket(Lock& lock, const std::string& id,
                                                                time_duration timeout,
                                                                const BoolReader& isStillRelevant) {
  const auto docket = std::make_shared<Docket>();
  m_docketList.emplace(id, docket);
  // "Not a date time" is no timeout at all, like zero.
  if (timeout.is_not_a_date_time() || timeout == time_duration(0, 0, 0)) {
    timeout = m_defaultTimeout;
  }
  // However the wait ends, an interruption included, it leaves no entry behind.
  BOOST_SCOPE_EXIT_ALL(&) {
    m_docketList.erase(id);
  };
  if (WaitForAnswer(lock, id, timeout, isStillRelevant)) {
    return *docket;
  }
  return boost::none;
}

bool DscAsyncRequestMessenger::WaitForAnswer(Lock& lock, const std::string& id,
                                             time_duration timeout,
                                             const BoolReader& isStillRelevant) {
  const boost::optional<Clock::time_point> deadline = DeadlineAfter(timeout);
  for (;;) {
    if (!isStillRelevant()) {
      QUOR_LOG_INFO("Aborted a ZEB request because its result is no longer relevant");
      break;
    }
    const auto entry = m_docketList.find(id);
    if (entry != m_docketList.end()) {
      const std::shared_ptr<Docket> docket = entry->second.lock();
      if (docket && docket->IsAnswered()) {
        return true;
      }
    }
    if (!deadline) {
      m_condition.wait(lock);
      continue;
    }
    // Only a timeout at the deadline ends the wait; any other wake-up goes round again. The
    // wait is made even when the deadline has passed: it is the interruption point.
    if (m_condition.wait_until(lock, *deadline) == boost::cv_status::timeout &&
        Clock::now() >= *deadline) {
      break;
    }
  }
  QUOR_LOG_WARN("Timeout (" << timeout << ") occured for request ID '" << id << "'");
  return false;
}

void DscAsyncRequestMessenger::UpdateDocketList(const std::string& id, const std::string& content,
                                                const IError& error) {
  if (t_issuingEngine == this) {
    QUOR_LOG_ERROR("The device-stack client answered request ID '"
                   << id
                   << "' inside the request call, on the requesting thread: the answer is "
                      "dropped. A client must answer on another thread.");
    return;
  }
  const boost::lock_guard<boost::mutex> lock(m_mutex);
  const auto entry = m_docketList.find(id);
  if (entry != m_docketList.end()) {
    QUOR_LOG_DEBUG("Got request for ID '" << id << "'.");
    const int code = error.GetCode();
    std::string description = error.GetDescription();
    if (const std::shared_ptr<Docket> docket = entry->second.lock()) {
      docket->SetContent(content, std::move(description), code == 0, true);
      m_condition.notify_all();
    }
  } else {
    QUOR_LOG_DEBUG("No docket for response ID '" << id << "'");
    if (error.GetCode() != 0) {
      QUOR_LOG_ERROR("Request " << id << ": Error '" << error.GetDescription() << "'");
    }
  }
}

}  // namespace Quor
