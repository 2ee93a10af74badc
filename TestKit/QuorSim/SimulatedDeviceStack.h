#pragma once
/// \file
/// The simulated device stack: a device-stack client to run and test apps on a PC.
///
/// It hands out request IDs, keeps the object values in memory and answers every
/// request on its own worker thread, as the device's client does. The outcome of
/// each request can be scripted or drawn at random, and every request leaves a
/// record of what was done with it. It relies on the client interface alone.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <boost/optional.hpp>

#include <Brask/DeviceStackClient.h>

/// The test kit: a device-stack client for PCs and tests, not for the device.
namespace QuorSim {

using Brask::IDeviceStackClient;

/// A ready error value for answers and for handler tests; the default is success (code 0).
/// \ingroup testkit
class Error final : public IDeviceStackClient::IError {
 public:
  /// Success: code 0, empty texts.
  Error() = default;
  /// `text` names where the failure was detected, `detail` adds to it; `description` is what
  /// the request engine keeps as a docket's delivery error.
  Error(int code, std::string text, std::string detail, std::string description);
  ~Error() override;

  /// The code given; 0 is success.
  int GetCode() const override { return m_code; }
  /// Where the failure was detected.
  const std::string& GetText() const override { return m_text; }
  /// Further detail, possibly empty.
  const std::string& GetDetail() const override { return m_detail; }
  /// The description, as a docket's delivery error shows it.
  std::string GetDescription() const override { return m_description; }

 private:
  int m_code = 0;
  std::string m_text;
  std::string m_detail;
  std::string m_description;
};

/// Which request call made a request.
/// \ingroup testkit
enum class RequestKind {
  RegisterApplication,  ///< RegisterApplicationAsync()
  SetValue,             ///< SetValueAsync()
  GetValue,             ///< GetValueAsync()
  Request,              ///< RequestAsync()
  SetConfiguration,     ///< SetConfigurationAsync()
  GetConfiguration,     ///< SimulatedDeviceStack::GetConfigurationAsync()
};

/// What the simulated service does with a request.
/// \ingroup testkit
enum class Fault {
  None,             ///< carried out and answered
  EmptyId,          ///< not issued: the request call returns an empty ID; nothing is done
  NoAnswer,         ///< an ID is returned, the request is lost and never answered
  LateAnswer,       ///< carried out, the answer held back (see InjectLateAnswer)
  DuplicateAnswer,  ///< carried out, the answer delivered twice
  ErrorAnswer,      ///< refused with a device error (see InjectError)
  UnknownIdAnswer,  ///< carried out, answered under an ID that was never handed out
};

/// What happened to one request, as far as its own ID is concerned.
/// \ingroup testkit
enum class Outcome {
  Pending,            ///< not answered yet (includes late answers still held)
  AnsweredOk,         ///< at least one answer with code 0 under its ID
  AnsweredWithError,  ///< answered under its ID with a non-zero code
  NotAnswered,        ///< finished without any answer under its ID
  NotIssued,          ///< the request call returned an empty ID
};

/// The enumerator's name, for messages.
const char* ToString(RequestKind kind);
/// The enumerator's name, for messages.
const char* ToString(Fault fault);
/// The enumerator's name, for messages.
const char* ToString(Outcome outcome);

/// One request as the simulated service saw it.
/// \ingroup testkit
struct RequestRecord {
  std::uint64_t sequence = 0;               ///< issue order, from 0
  RequestKind kind = RequestKind::Request;  ///< the request call that made it
  std::string requestId;                    ///< empty when not issued
  unsigned long objectId = 0;               ///< of a set-value or get-value request
  std::string text;           ///< value, request or configuration text; application id
  Fault fault = Fault::None;  ///< what the service did with it
  bool applied = false;       ///< the request reached the store (read or write)
  bool finished = false;      ///< no further answer will be sent for it
  unsigned answers = 0;       ///< answers sent under requestId
  int errorCode = 0;          ///< code of the last answer sent under requestId
  bool late = false;          ///< its answer was sent after being held back
  std::string strayId;        ///< the never-issued ID its answer was sent under
  std::chrono::steady_clock::time_point issuedAt;    ///< when its ID was handed out
  std::chrono::steady_clock::time_point answeredAt;  ///< when its first answer went out

  /// Its outcome so far; final once SimulatedDeviceStack::WaitUntilIdle() returned true.
  Outcome GetOutcome() const;
};

/// The records summed up.
/// \ingroup testkit
struct SimulationCounters {
  std::uint64_t issued = 0;             ///< request calls, including those given an empty ID
  std::uint64_t emptyIds = 0;           ///< request calls given an empty ID
  std::uint64_t answeredOk = 0;         ///< requests answered with code 0
  std::uint64_t answeredWithError = 0;  ///< requests answered with a non-zero code
  std::uint64_t notAnswered = 0;        ///< issued with an ID, finished without an answer
  std::uint64_t pending = 0;            ///< not finished yet
  std::uint64_t lateAnswers = 0;        ///< requests whose answer was held back
  std::uint64_t duplicateAnswers = 0;   ///< answers beyond the first for one ID
  std::uint64_t unknownIdAnswers = 0;   ///< answers sent under an ID never handed out
  std::uint64_t handlerExceptions = 0;  ///< callbacks that threw; each also noted on stderr
};

/// The device-stack client of a PC: answers on its own thread, never inside a request call.
///
/// It keeps object values, scripts or draws the outcome of each request and records every
/// request. Setters and readers may be called from any thread, also while requests are
/// running. A response handler's callback runs with no lock of the simulator held, so it may
/// call any of them; the request responder (SetRequestResponder) is the one exception.
/// \ingroup testkit
class SimulatedDeviceStack final : public IDeviceStackClient {
 public:
  /// Delays and timeouts.
  using Duration = std::chrono::steady_clock::duration;
  /// Answers a generic request text.
  using Responder = std::function<std::string(const std::string& request)>;

  /// Device error of a get-value request for an id that holds no value.
  static constexpr int UnknownObjectCode = 404;
  /// Device error of ErrorAnswer faults that bring no error of their own.
  static constexpr int InjectedFailureCode = 500;

  /// Timing of the answers and the seed of the random draws.
  struct Options {
    Duration answerDelay{};      ///< zero: answered as soon as the worker gets to it
    Duration answerJitter{};     ///< extra delay drawn uniformly from [0, jitter]
    Duration lateAnswerDelay{};  ///< of LateAnswer faults; zero: held until the next request
    std::uint32_t seed = 1;      ///< for jitter and random faults
  };

  /// Answers at once, no faults; starts the worker thread.
  SimulatedDeviceStack();
  /// With the given timing; starts the worker thread.
  explicit SimulatedDeviceStack(const Options& options);
  /// Stops the worker and joins it; answers not yet sent are dropped.
  ~SimulatedDeviceStack() override;

  SimulatedDeviceStack(const SimulatedDeviceStack&) = delete;
  SimulatedDeviceStack& operator=(const SimulatedDeviceStack&) = delete;

  /// Replaces the handler; waits for a callback that is running (unless called from it).
  void SetResponseHandler(IResponseHandler* handler, void* context) override;
  /// Records the application id; answered through OnRegisterApplication.
  std::string RegisterApplicationAsync(const std::string& applicationId,
                                       const std::string& applicationName,
                                       const std::string& applicationVersion) override;
  /// Stores the value text under id and answers with it through OnSetValue; `notify` and
  /// `options` change nothing here.
  std::string SetValueAsync(unsigned long id, const std::string& value, bool notify,
                            std::uint32_t options) override;
  /// Answers with the stored value through OnGetValue, or with UnknownObjectCode; every read
  /// comes from the store, whatever `fromCache` says.
  std::string GetValueAsync(unsigned long id, bool fromCache) override;
  /// Answers through OnResponse with the responder's text (default: the request echoed).
  std::string RequestAsync(const std::string& request) override;
  /// Keeps the configuration text; answered through OnSetConfiguration.
  std::string SetConfigurationAsync(const std::string& config) override;
  /// Merges the properties of id at once; the synchronous result (SetSynchronousResult).
  bool SetConfiguration(unsigned long id, const std::map<PropertyType, Property>& properties,
                        bool persistent) override;
  /// The device settings as "key=value" lines in key order; the synchronous result.
  bool GetDeviceConfig(std::string& config, bool includeDefaults) override;
  /// Merges the device settings; the synchronous result.
  bool SetDeviceConfig(const std::map<std::string, std::string>& settings) override;
  /// Takes "Native" or "Default"; false for any other name.
  bool SelectValueFormat(const std::string& name) override;
  /// Keeps the switch (IsInternalValueFormat).
  void SetInternalValueFormat(bool enable) override;

  /// Reads back the configuration text through OnGetConfiguration.
  std::string GetConfigurationAsync();

  /// The delay of every later answer, plus a jitter drawn uniformly from [0, jitter].
  void SetAnswerDelay(Duration delay, Duration jitter = Duration::zero());
  /// The delay of LateAnswer faults that bring none of their own.
  void SetLateAnswerDelay(Duration delay);
  /// Sends every held-back late answer now.
  void ReleaseLateAnswers();
  /// Waits until no answer is due or being delivered (held late answers aside); false when
  /// the timeout came first.
  bool WaitUntilIdle(Duration timeout);

  /// Scripts the outcome of the next request. Scripted outcomes apply to the next requests in
  /// order, one each; when none is queued, random faults apply (SetRandomFaults).
  void InjectFault(Fault fault);
  /// Scripts the outcomes of the next requests, one each, in order.
  void InjectFaults(const std::vector<Fault>& faults);
  /// The next request is refused with this error (ErrorAnswer with its own error).
  void InjectError(const Error& error);
  /// The next request is carried out and answered `delay` later (LateAnswer with its own
  /// delay; zero holds the answer until the next request call).
  void InjectLateAnswer(Duration delay);
  /// Without a scripted outcome, a request gets a fault with probability `rate`, drawn from
  /// `kinds` (empty: all kinds) by a generator of its own seeded with `seed`: the same seed
  /// draws the same faults.
  void SetRandomFaults(double rate, std::uint32_t seed, std::vector<Fault> kinds = {});
  /// Drops queued scripted outcomes and switches random faults off.
  void ClearFaults();
  /// The error of ErrorAnswer faults that bring none of their own.
  void SetInjectedError(const Error& error);
  /// Answers generic requests; it runs on the worker with the simulator locked, so it must not
  /// call back into the simulator. The default echoes the request.
  void SetRequestResponder(Responder responder);
  /// Result of the synchronous calls; on false they change nothing.
  void SetSynchronousResult(bool result);

  /// Sets the value text of object-model id, as a set-value request would.
  void SetStoredValue(unsigned long id, std::string value);
  /// The value text of id; empty when none was set.
  boost::optional<std::string> GetStoredValue(unsigned long id) const;
  /// How many ids hold a value.
  std::size_t GetStoredValueCount() const;
  /// The properties set for id by SetConfiguration.
  std::map<PropertyType, Property> GetProperties(unsigned long id) const;
  /// The settings written by SetDeviceConfig.
  std::map<std::string, std::string> GetDeviceSettings() const;
  /// The text of the last set-configuration request carried out.
  std::string GetConfigurationText() const;
  /// The application ids registered, in order.
  std::vector<std::string> GetRegisteredApplications() const;
  /// The value format selected, "Default" at first.
  std::string GetValueFormat() const;
  /// The internal value format switch, false at first.
  bool IsInternalValueFormat() const;
  /// The handler answers go to.
  IResponseHandler* GetResponseHandler() const;

  /// Every request so far, in issue order.
  std::vector<RequestRecord> GetRecords() const;
  /// The request issued under requestId; empty for an ID never handed out.
  boost::optional<RequestRecord> FindRecord(const std::string& requestId) const;
  /// The records summed up.
  SimulationCounters GetCounters() const;

  /// The urn the answers of id carry.
  static std::string MakeUrn(unsigned long id);

 private:
  using Clock = std::chrono::steady_clock;

  struct Answer {
    RequestKind kind = RequestKind::Request;
    std::string requestId;
    unsigned long objectId = 0;
    std::string content;
    Error error;
  };

  // A scripted outcome; the error and delay replace the shared ones when given.
  struct Script {
    Fault fault = Fault::None;
    boost::optional<Error> error;
    boost::optional<Duration> lateDelay;
  };

  struct Job {
    RequestKind kind = RequestKind::Request;
    unsigned long objectId = 0;
    std::string text;  // value, request or configuration text; application id
    std::size_t record = 0;
    Script script;
    bool deliverOnly = false;  // a held answer, already worked out
    Answer answer;
  };

  using JobKey = std::pair<Clock::time_point, std::uint64_t>;

  std::string Issue(Job job);
  void ScriptLocked(Script script);
  Script NextScriptLocked();
  void ScheduleLocked(Clock::time_point due, Job job);
  void ReleaseHeldLocked();
  Answer ExecuteLocked(const Job& job, bool apply);
  std::vector<Answer> ProcessLocked(Job job);
  void HoldLocked(Job job, Answer answer);
  void NoteSentLocked(RequestRecord& record, const Answer& answer, bool late);
  void Deliver(const Answer& answer);
  void NoteHandlerException(const std::string& requestId, const char* what);
  void Run();

  mutable std::mutex m_mutex;
  std::condition_variable m_workCondition;
  std::condition_variable m_idleCondition;
  bool m_stopping = false;
  bool m_dispatching = false;

  Duration m_answerDelay;
  Duration m_answerJitter;
  Duration m_lateAnswerDelay;
  std::mt19937 m_random;

  std::vector<Script> m_scripts;  // front first
  std::size_t m_nextScript = 0;
  double m_faultRate = 0.0;
  std::vector<Fault> m_faultKinds;
  std::mt19937 m_faultRandom;
  Error m_injectedError;
  Responder m_responder;
  bool m_synchronousResult = true;

  std::uint64_t m_nextRequestNumber = 0;
  std::uint64_t m_nextStrayNumber = 0;
  std::uint64_t m_nextJobOrder = 0;
  std::map<JobKey, Job> m_jobs;
  std::vector<Job> m_held;
  std::vector<RequestRecord> m_records;
  std::map<std::string, std::size_t> m_recordByRequestId;

  std::map<unsigned long, std::string> m_store;
  std::map<unsigned long, std::map<PropertyType, Property>> m_properties;
  std::map<std::string, std::string> m_deviceSettings;
  std::string m_configuration;
  std::vector<std::string> m_applications;
  std::string m_valueFormat = "Default";
  bool m_internalValueFormat = false;
  std::uint64_t m_handlerExceptions = 0;

  // Held while a callback runs, so that replacing the handler waits for it. The
  // handler is written under both locks and read under either.
  mutable std::mutex m_dispatchMutex;
  IResponseHandler* m_handler = nullptr;
  void* m_context = nullptr;

  std::thread m_worker;  // last: started after everything else is set up
};

}  // namespace QuorSim
