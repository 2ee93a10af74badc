#include "QuorSim/SimulatedDeviceStack.h"

#include <exception>
#include <iostream>
#include <iterator>

namespace QuorSim {

Error::Error(int code, std::string text, std::string detail, std::string description)
    : m_code(code),
      m_text(std::move(text)),
      m_detail(std::move(detail)),
      m_description(std::move(description)) {}

Error::~Error() = default;

namespace {

const std::vector<Fault> kAllFaults = {Fault::EmptyId,     Fault::NoAnswer,
                                       Fault::LateAnswer,  Fault::DuplicateAnswer,
                                       Fault::ErrorAnswer, Fault::UnknownIdAnswer};

Error InjectedError() {
  return Error(SimulatedDeviceStack::InjectedFailureCode, "SimulatedDeviceStack",
               "injected failure", "Simulated device-stack failure");
}

Error UnknownObjectError(unsigned long id) {
  return Error(SimulatedDeviceStack::UnknownObjectCode, "SimulatedDeviceStack",
               "unknown object " + std::to_string(id), "No object with id " + std::to_string(id));
}

}  // namespace

const char* ToString(RequestKind kind) {
  switch (kind) {
    case RequestKind::RegisterApplication:
      return "RegisterApplication";
    case RequestKind::SetValue:
      return "SetValue";
    case RequestKind::GetValue:
      return "GetValue";
    case RequestKind::Request:
      return "Request";
    case RequestKind::SetConfiguration:
      return "SetConfiguration";
    case RequestKind::GetConfiguration:
      return "GetConfiguration";
  }
  return "?";
}

const char* ToString(Fault fault) {
  switch (fault) {
    case Fault::None:
      return "None";
    case Fault::EmptyId:
      return "EmptyId";
    case Fault::NoAnswer:
      return "NoAnswer";
    case Fault::LateAnswer:
      return "LateAnswer";
    case Fault::DuplicateAnswer:
      return "DuplicateAnswer";
    case Fault::ErrorAnswer:
      return "ErrorAnswer";
    case Fault::UnknownIdAnswer:
      return "UnknownIdAnswer";
  }
  return "?";
}

const char* ToString(Outcome outcome) {
  switch (outcome) {
    case Outcome::Pending:
      return "Pending";
    case Outcome::AnsweredOk:
      return "AnsweredOk";
    case Outcome::AnsweredWithError:
      return "AnsweredWithError";
    case Outcome::NotAnswered:
      return "NotAnswered";
    case Outcome::NotIssued:
      return "NotIssued";
  }
  return "?";
}

Outcome RequestRecord::GetOutcome() const {
  if (fault == Fault::EmptyId) {
    return Outcome::NotIssued;
  }
  if (answers > 0) {
    return errorCode == 0 ? Outcome::AnsweredOk : Outcome::AnsweredWithError;
  }
  return finished ? Outcome::NotAnswered : Outcome::Pending;
}

SimulatedDeviceStack::SimulatedDeviceStack() : SimulatedDeviceStack(Options{}) {}

SimulatedDeviceStack::SimulatedDeviceStack(const Options& options)
    : m_answerDelay(options.answerDelay),
      m_answerJitter(options.answerJitter),
      m_lateAnswerDelay(options.lateAnswerDelay),
      m_random(options.seed),
      m_faultKinds(kAllFaults),
      m_faultRandom(options.seed),
      m_injectedError(InjectedError()),
      m_responder([](const std::string& request) { return request; }),
      m_worker([this] { Run(); }) {}

SimulatedDeviceStack::~SimulatedDeviceStack() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_workCondition.notify_all();
  m_worker.join();
}

void SimulatedDeviceStack::SetResponseHandler(IResponseHandler* handler, void* context) {
  // From inside a callback the worker already holds the dispatch lock.
  std::unique_lock<std::mutex> dispatch(m_dispatchMutex, std::defer_lock);
  if (std::this_thread::get_id() != m_worker.get_id()) {
    dispatch.lock();
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  m_handler = handler;
  m_context = context;
}

std::string SimulatedDeviceStack::RegisterApplicationAsync(const std::string& applicationId,
                                                           const std::string&, const std::string&) {
  Job job;
  job.kind = RequestKind::RegisterApplication;
  job.text = applicationId;
  return Issue(std::move(job));
}

// The simulator keeps no listeners and no request options, so `notify` and
// `options` do not change what it does.
std::string SimulatedDeviceStack::SetValueAsync(unsigned long id, const std::string& value, bool,
                                                std::uint32_t) {
  Job job;
  job.kind = RequestKind::SetValue;
  job.objectId = id;
  job.text = value;
  return Issue(std::move(job));
}

// Every read comes from the store, which is the cache and the truth at once.
std::string SimulatedDeviceStack::GetValueAsync(unsigned long id, bool) {
  Job job;
  job.kind = RequestKind::GetValue;
  job.objectId = id;
  return Issue(std::move(job));
}

std::string SimulatedDeviceStack::RequestAsync(const std::string& request) {
  Job job;
  job.kind = RequestKind::Request;
  job.text = request;
  return Issue(std::move(job));
}

std::string SimulatedDeviceStack::SetConfigurationAsync(const std::string& config) {
  Job job;
  job.kind = RequestKind::SetConfiguration;
  job.text = config;
  return Issue(std::move(job));
}

std::string SimulatedDeviceStack::GetConfigurationAsync() {
  Job job;
  job.kind = RequestKind::GetConfiguration;
  return Issue(std::move(job));
}

// Nothing is persisted here, so `persistent` makes no difference.
bool SimulatedDeviceStack::SetConfiguration(unsigned long id,
                                            const std::map<PropertyType, Property>& properties,
                                            bool) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_synchronousResult) {
    return false;
  }
  auto& stored = m_properties[id];
  for (const auto& property : properties) {
    stored[property.first] = property.second;
  }
  return true;
}

// The settings are written as "key=value" lines in key order; there are no
// separate defaults, so `includeDefaults` changes nothing.
bool SimulatedDeviceStack::GetDeviceConfig(std::string& config, bool) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_synchronousResult) {
    return false;
  }
  config.clear();
  for (const auto& setting : m_deviceSettings) {
    config += setting.first + "=" + setting.second + "\n";
  }
  return true;
}

bool SimulatedDeviceStack::SetDeviceConfig(const std::map<std::string, std::string>& settings) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_synchronousResult) {
    return false;
  }
  for (const auto& setting : settings) {
    m_deviceSettings[setting.first] = setting.second;
  }
  return true;
}

bool SimulatedDeviceStack::SelectValueFormat(const std::string& name) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_synchronousResult || (name != "Native" && name != "Default")) {
    return false;
  }
  m_valueFormat = name;
  return true;
}

void SimulatedDeviceStack::SetInternalValueFormat(bool enable) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_internalValueFormat = enable;
}

void SimulatedDeviceStack::SetAnswerDelay(Duration delay, Duration jitter) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_answerDelay = delay;
  m_answerJitter = jitter;
}

void SimulatedDeviceStack::SetLateAnswerDelay(Duration delay) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_lateAnswerDelay = delay;
}

void SimulatedDeviceStack::ReleaseLateAnswers() {
  std::lock_guard<std::mutex> lock(m_mutex);
  ReleaseHeldLocked();
}

bool SimulatedDeviceStack::WaitUntilIdle(Duration timeout) {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_idleCondition.wait_for(lock, timeout,
                                  [this] { return m_jobs.empty() && !m_dispatching; });
}

void SimulatedDeviceStack::InjectFault(Fault fault) {
  InjectFaults({fault});
}

void SimulatedDeviceStack::InjectFaults(const std::vector<Fault>& faults) {
  std::lock_guard<std::mutex> lock(m_mutex);
  for (const Fault fault : faults) {
    ScriptLocked({fault, boost::none, boost::none});
  }
}

void SimulatedDeviceStack::InjectError(const Error& error) {
  std::lock_guard<std::mutex> lock(m_mutex);
  ScriptLocked({Fault::ErrorAnswer, error, boost::none});
}

void SimulatedDeviceStack::InjectLateAnswer(Duration delay) {
  std::lock_guard<std::mutex> lock(m_mutex);
  ScriptLocked({Fault::LateAnswer, boost::none, delay});
}

void SimulatedDeviceStack::ScriptLocked(Script script) {
  // Scripts already used are dropped here rather than on use, which keeps NextScriptLocked O(1).
  m_scripts.erase(m_scripts.begin(), m_scripts.begin() + static_cast<std::ptrdiff_t>(m_nextScript));
  m_nextScript = 0;
  m_scripts.push_back(std::move(script));
}

void SimulatedDeviceStack::SetRandomFaults(double rate, std::uint32_t seed,
                                           std::vector<Fault> kinds) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_faultRate = rate;
  if (kinds.empty()) {
    m_faultKinds = kAllFaults;
  } else {
    m_faultKinds = std::move(kinds);
  }
  m_faultRandom.seed(seed);
}

void SimulatedDeviceStack::ClearFaults() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_scripts.clear();
  m_nextScript = 0;
  m_faultRate = 0.0;
}

void SimulatedDeviceStack::SetInjectedError(const Error& error) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_injectedError = error;
}

void SimulatedDeviceStack::SetRequestResponder(Responder responder) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_responder = std::move(responder);
}

void SimulatedDeviceStack::SetSynchronousResult(bool result) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_synchronousResult = result;
}

void SimulatedDeviceStack::SetStoredValue(unsigned long id, std::string value) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_store[id] = std::move(value);
}

boost::optional<std::string> SimulatedDeviceStack::GetStoredValue(unsigned long id) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_store.find(id);
  if (found == m_store.end()) {
    return boost::none;
  }
  return found->second;
}

std::size_t SimulatedDeviceStack::GetStoredValueCount() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_store.size();
}

std::map<IDeviceStackClient::PropertyType, IDeviceStackClient::Property>
SimulatedDeviceStack::GetProperties(unsigned long id) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_properties.find(id);
  return found == m_properties.end() ? std::map<PropertyType, Property>{} : found->second;
}

std::map<std::string, std::string> SimulatedDeviceStack::GetDeviceSettings() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_deviceSettings;
}

std::string SimulatedDeviceStack::GetConfigurationText() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_configuration;
}

std::vector<std::string> SimulatedDeviceStack::GetRegisteredApplications() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_applications;
}

std::string SimulatedDeviceStack::GetValueFormat() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_valueFormat;
}

bool SimulatedDeviceStack::IsInternalValueFormat() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_internalValueFormat;
}

IDeviceStackClient::IResponseHandler* SimulatedDeviceStack::GetResponseHandler() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_handler;
}

std::vector<RequestRecord> SimulatedDeviceStack::GetRecords() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_records;
}

boost::optional<RequestRecord> SimulatedDeviceStack::FindRecord(
    const std::string& requestId) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_recordByRequestId.find(requestId);
  if (found == m_recordByRequestId.end()) {
    return boost::none;
  }
  return m_records[found->second];
}

SimulationCounters SimulatedDeviceStack::GetCounters() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  SimulationCounters counters;
  for (const auto& record : m_records) {
    ++counters.issued;
    switch (record.GetOutcome()) {
      case Outcome::NotIssued:
        ++counters.emptyIds;
        break;
      case Outcome::AnsweredOk:
        ++counters.answeredOk;
        break;
      case Outcome::AnsweredWithError:
        ++counters.answeredWithError;
        break;
      case Outcome::NotAnswered:
        ++counters.notAnswered;
        break;
      case Outcome::Pending:
        ++counters.pending;
        break;
    }
    counters.lateAnswers += record.late ? 1 : 0;
    counters.duplicateAnswers += record.answers > 1 ? record.answers - 1 : 0;
    counters.unknownIdAnswers += record.strayId.empty() ? 0 : 1;
  }
  counters.handlerExceptions = m_handlerExceptions;
  return counters;
}

std::string SimulatedDeviceStack::MakeUrn(unsigned long id) {
  return "urn:devicestack:object:" + std::to_string(id);
}

std::string SimulatedDeviceStack::Issue(Job job) {
  std::lock_guard<std::mutex> lock(m_mutex);
  // Answers held back for earlier requests go out first: by now their waiters
  // have moved on.
  ReleaseHeldLocked();

  RequestRecord record;
  record.sequence = m_records.size();
  record.kind = job.kind;
  record.objectId = job.objectId;
  record.text = job.text;
  job.script = NextScriptLocked();
  record.fault = job.script.fault;
  if (record.fault == Fault::EmptyId) {
    record.finished = true;
    m_records.push_back(record);
    return {};
  }
  record.requestId = "req-" + std::to_string(++m_nextRequestNumber);
  record.issuedAt = Clock::now();
  job.record = m_records.size();
  m_recordByRequestId.emplace(record.requestId, job.record);
  m_records.push_back(record);

  Duration delay = m_answerDelay;
  if (m_answerJitter > Duration::zero()) {
    std::uniform_int_distribution<Duration::rep> jitter(0, m_answerJitter.count());
    delay += Duration(jitter(m_random));
  }
  ScheduleLocked(Clock::now() + delay, std::move(job));
  return record.requestId;
}

SimulatedDeviceStack::Script SimulatedDeviceStack::NextScriptLocked() {
  if (m_nextScript < m_scripts.size()) {
    return m_scripts[m_nextScript++];
  }
  Script drawn;
  if (m_faultRate <= 0.0 || m_faultKinds.empty()) {
    return drawn;
  }
  std::uniform_real_distribution<double> hit(0.0, 1.0);
  if (hit(m_faultRandom) >= m_faultRate) {
    return drawn;
  }
  std::uniform_int_distribution<std::size_t> kind(0, m_faultKinds.size() - 1);
  drawn.fault = m_faultKinds[kind(m_faultRandom)];
  return drawn;
}

void SimulatedDeviceStack::ScheduleLocked(Clock::time_point due, Job job) {
  m_jobs.emplace(JobKey(due, m_nextJobOrder++), std::move(job));
  m_workCondition.notify_all();
}

void SimulatedDeviceStack::ReleaseHeldLocked() {
  const auto now = Clock::now();
  for (auto& job : m_held) {
    ScheduleLocked(now, std::move(job));
  }
  m_held.clear();
}

SimulatedDeviceStack::Answer SimulatedDeviceStack::ExecuteLocked(const Job& job, bool apply) {
  Answer answer;
  answer.kind = job.kind;
  answer.requestId = m_records[job.record].requestId;
  answer.objectId = job.objectId;
  if (job.kind == RequestKind::SetValue) {
    // A refused write still echoes the value it was given.
    answer.content = job.text;
  }
  m_records[job.record].applied = apply;
  if (!apply) {
    return answer;
  }
  switch (job.kind) {
    case RequestKind::RegisterApplication:
      m_applications.push_back(job.text);
      break;
    case RequestKind::SetValue:
      m_store[job.objectId] = job.text;
      break;
    case RequestKind::GetValue: {
      const auto found = m_store.find(job.objectId);
      if (found == m_store.end()) {
        answer.error = UnknownObjectError(job.objectId);
      } else {
        answer.content = found->second;
      }
      break;
    }
    case RequestKind::Request:
      answer.content = m_responder(job.text);
      break;
    case RequestKind::SetConfiguration:
      m_configuration = job.text;
      break;
    case RequestKind::GetConfiguration:
      answer.content = m_configuration;
      break;
  }
  return answer;
}

void SimulatedDeviceStack::NoteSentLocked(RequestRecord& record, const Answer& answer, bool late) {
  if (answer.requestId != record.requestId) {
    record.strayId = answer.requestId;
  } else {
    if (record.answers++ == 0) {
      record.answeredAt = Clock::now();
    }
    record.errorCode = answer.error.GetCode();
  }
  record.late = record.late || late;
}

std::vector<SimulatedDeviceStack::Answer> SimulatedDeviceStack::ProcessLocked(Job job) {
  RequestRecord& record = m_records[job.record];
  std::vector<Answer> sent;
  if (job.deliverOnly) {
    NoteSentLocked(record, job.answer, true);
    record.finished = true;
    sent.push_back(std::move(job.answer));
    return sent;
  }

  const Fault fault = record.fault;
  const bool refused = fault == Fault::NoAnswer || fault == Fault::ErrorAnswer;
  Answer answer = ExecuteLocked(job, !refused);
  switch (fault) {
    case Fault::NoAnswer:
      break;
    case Fault::ErrorAnswer:
      answer.error = job.script.error ? *job.script.error : m_injectedError;
      sent.push_back(answer);
      break;
    case Fault::DuplicateAnswer:
      sent.push_back(answer);
      sent.push_back(answer);
      break;
    case Fault::UnknownIdAnswer:
      answer.requestId = "stray-" + std::to_string(++m_nextStrayNumber);
      sent.push_back(answer);
      break;
    case Fault::LateAnswer:
      HoldLocked(std::move(job), std::move(answer));
      return sent;
    case Fault::None:
    case Fault::EmptyId:
      sent.push_back(answer);
      break;
  }
  for (const auto& each : sent) {
    NoteSentLocked(record, each, false);
  }
  record.finished = true;
  return sent;
}

void SimulatedDeviceStack::HoldLocked(Job job, Answer answer) {
  const Duration delay = job.script.lateDelay ? *job.script.lateDelay : m_lateAnswerDelay;
  job.deliverOnly = true;
  job.answer = std::move(answer);
  if (delay > Duration::zero()) {
    ScheduleLocked(Clock::now() + delay, std::move(job));
  } else {
    m_held.push_back(std::move(job));
  }
}

void SimulatedDeviceStack::Deliver(const Answer& answer) {
  std::lock_guard<std::mutex> lock(m_dispatchMutex);
  if (m_handler == nullptr) {
    // Nobody listens: the answer is sent and lost, as on the real service.
    return;
  }
  const std::string& id = answer.requestId;
  const std::string urn = MakeUrn(answer.objectId);
  try {
    switch (answer.kind) {
      case RequestKind::RegisterApplication:
        m_handler->OnRegisterApplication(m_context, id, answer.error);
        break;
      case RequestKind::SetValue:
        m_handler->OnSetValue(m_context, id, answer.objectId, urn, answer.content, answer.error);
        break;
      case RequestKind::GetValue:
        m_handler->OnGetValue(m_context, id, answer.objectId, urn, answer.content, answer.error);
        break;
      case RequestKind::Request:
        m_handler->OnResponse(m_context, id, answer.content, answer.error);
        break;
      case RequestKind::SetConfiguration:
        m_handler->OnSetConfiguration(m_context, id, answer.error);
        break;
      case RequestKind::GetConfiguration:
        m_handler->OnGetConfiguration(m_context, id, answer.content, answer.error);
        break;
    }
  } catch (const std::exception& e) {
    // A throwing handler must not take the worker down with it; the kit has no log of its own.
    NoteHandlerException(id, e.what());
  } catch (...) {
    NoteHandlerException(id, "an exception not derived from std::exception");
  }
}

void SimulatedDeviceStack::NoteHandlerException(const std::string& requestId, const char* what) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_handlerExceptions;
  }
  std::cerr << "SimulatedDeviceStack: the response handler threw for request " << requestId << ": "
            << what << std::endl;
}

void SimulatedDeviceStack::Run() {
  std::unique_lock<std::mutex> lock(m_mutex);
  while (!m_stopping) {
    if (m_jobs.empty()) {
      m_idleCondition.notify_all();
      m_workCondition.wait(lock);
      continue;
    }
    const auto first = m_jobs.begin();
    if (Clock::now() < first->first.first) {
      m_workCondition.wait_until(lock, first->first.first);
      continue;
    }
    Job job = std::move(first->second);
    m_jobs.erase(first);
    const std::vector<Answer> sent = ProcessLocked(std::move(job));
    m_dispatching = true;
    lock.unlock();
    for (const auto& answer : sent) {
      Deliver(answer);
    }
    lock.lock();
    m_dispatching = false;
  }
  m_idleCondition.notify_all();
}

}  // namespace QuorSim
