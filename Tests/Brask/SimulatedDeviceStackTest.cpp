#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <Brask/SimulatedDeviceStack.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "Support/LogCapture.h"

namespace {

using Brask::Fault;
using Brask::Outcome;
using Brask::SimulatedDeviceStack;
using testing::ElementsAre;
using Client = Brask::IDeviceStackClient;

// Generous: only reached when an expected answer never comes.
constexpr auto kPatience = std::chrono::seconds(20);

struct Call {
  std::string callback;
  std::string requestId;
  std::string content;
  int code;
  std::string description;
  void* context;
  std::thread::id thread;
};

class RecordingHandler : public Client::IResponseHandler {
 public:
  void OnResponse(void* c, const std::string& id, const std::string& response,
                  const Client::IError& e) override {
    Add("Response", c, id, response, e);
  }
  void OnRegisterApplication(void* c, const std::string& id, const Client::IError& e) override {
    Add("RegisterApplication", c, id, "", e);
  }
  void OnGetConfiguration(void* c, const std::string& id, const std::string& config,
                          const Client::IError& e) override {
    Add("GetConfiguration", c, id, config, e);
  }
  void OnSetConfiguration(void* c, const std::string& id, const Client::IError& e) override {
    Add("SetConfiguration", c, id, "", e);
  }
  void OnGetValue(void* c, const std::string& id, unsigned long objectId, const std::string& urn,
                  const std::string& value, const Client::IError& e) override {
    Add("GetValue", c, id, std::to_string(objectId) + " " + urn + " " + value, e);
  }
  void OnSetValue(void* c, const std::string& id, unsigned long objectId, const std::string& urn,
                  const std::string& value, const Client::IError& e) override {
    Add("SetValue", c, id, std::to_string(objectId) + " " + urn + " " + value, e);
  }

  std::vector<Call> WaitFor(std::size_t count) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_condition.wait_for(lock, kPatience, [&] { return m_calls.size() >= count; });
    return m_calls;
  }
  std::vector<Call> Calls() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
  }

 private:
  void Add(const char* callback, void* context, const std::string& id, std::string content,
           const Client::IError& error) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_calls.push_back({callback, id, std::move(content), error.GetCode(), error.GetDescription(),
                       context, std::this_thread::get_id()});
    m_condition.notify_all();
  }

  std::mutex m_mutex;
  std::condition_variable m_condition;
  std::vector<Call> m_calls;
};

class SimulatedDeviceStackTest : public testing::Test {
 protected:
  SimulatedDeviceStackTest() { stack.SetResponseHandler(&handler, &context); }

  std::vector<std::string> Ids(const std::vector<Call>& calls) {
    std::vector<std::string> ids;
    for (const auto& call : calls) {
      ids.push_back(call.requestId);
    }
    return ids;
  }

  int context = 0;
  RecordingHandler handler;  // declared before the stack, so it outlives the worker
  SimulatedDeviceStack stack;
};

TEST_F(SimulatedDeviceStackTest, HandsOutUniqueIdsAndAnswersOnItsOwnThread) {
  std::set<std::string> ids;
  for (int i = 0; i < 50; ++i) {
    ids.insert(stack.RequestAsync("ping"));
    ids.insert(stack.RegisterApplicationAsync("app", "name", "1.0"));
  }
  EXPECT_EQ(ids.size(), 100u);
  EXPECT_EQ(ids.count(""), 0u);
  const auto calls = handler.WaitFor(100);
  ASSERT_EQ(calls.size(), 100u);
  for (const auto& call : calls) {
    EXPECT_NE(call.thread, std::this_thread::get_id());
    EXPECT_EQ(call.context, &context);
    EXPECT_EQ(call.code, 0);
  }
  EXPECT_EQ(stack.GetCounters().answeredOk, 100u);
}

TEST_F(SimulatedDeviceStackTest, StoresValuesAndReadsThemBack) {
  const std::string set = stack.SetValueAsync(100109, "3.7:21.5", true, 0);
  handler.WaitFor(1);
  const std::string get = stack.GetValueAsync(100109, false);
  const std::string missing = stack.GetValueAsync(7, false);
  const auto calls = handler.WaitFor(3);
  ASSERT_EQ(calls.size(), 3u);
  const std::string urn = SimulatedDeviceStack::MakeUrn(100109);
  EXPECT_EQ(calls[0].content, "100109 " + urn + " 3.7:21.5");
  EXPECT_EQ(calls[1].requestId, get);
  EXPECT_EQ(calls[1].content, "100109 " + urn + " 3.7:21.5");
  EXPECT_EQ(calls[2].code, SimulatedDeviceStack::UnknownObjectCode);
  EXPECT_EQ(stack.GetStoredValue(100109).value_or(""), "3.7:21.5");
  EXPECT_EQ(stack.FindRecord(missing)->GetOutcome(), Outcome::AnsweredWithError);
  EXPECT_EQ(stack.FindRecord(set)->GetOutcome(), Outcome::AnsweredOk);
}

TEST_F(SimulatedDeviceStackTest, ConfigurationRequestsRoundTrip) {
  stack.SetRequestResponder([](const std::string& request) { return "re:" + request; });
  stack.SetConfigurationAsync("<config/>");
  handler.WaitFor(1);
  stack.GetConfigurationAsync();
  stack.RequestAsync("status");
  const auto calls = handler.WaitFor(3);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].callback, "SetConfiguration");
  EXPECT_EQ(calls[1].content, "<config/>");
  EXPECT_EQ(calls[2].content, "re:status");
}

TEST_F(SimulatedDeviceStackTest, SynchronousCalls) {
  EXPECT_TRUE(stack.SetConfiguration(5, {{Client::PropertyType::Name, {"Lamp"}}}, true));
  EXPECT_EQ(stack.GetProperties(5).at(Client::PropertyType::Name).value, "Lamp");
  EXPECT_TRUE(stack.SetDeviceConfig({{"b", "2"}, {"a", "1"}}));
  std::string config;
  EXPECT_TRUE(stack.GetDeviceConfig(config, false));
  EXPECT_EQ(config, "a=1\nb=2\n");
  EXPECT_TRUE(stack.SelectValueFormat("Native"));
  EXPECT_FALSE(stack.SelectValueFormat("Klingon"));
  EXPECT_EQ(stack.GetValueFormat(), "Native");
  stack.SetInternalValueFormat(true);
  EXPECT_TRUE(stack.IsInternalValueFormat());

  stack.SetSynchronousResult(false);
  EXPECT_FALSE(stack.SetDeviceConfig({{"c", "3"}}));
  EXPECT_EQ(stack.GetDeviceSettings().count("c"), 0u);
}

struct FaultRow {
  Fault fault;
  std::size_t callbacks;  // seen for the faulty request alone
  Outcome outcome;
  bool stored;
};

void PrintTo(const FaultRow& row, std::ostream* os) {
  *os << Brask::ToString(row.fault);
}

class FaultTest : public SimulatedDeviceStackTest, public testing::WithParamInterface<FaultRow> {};

// A set-value request with the fault, then a plain one that is answered and
// flushes anything held back.
TEST_P(FaultTest, IsObservedByTheHandlerAndRecorded) {
  const FaultRow row = GetParam();
  stack.InjectFault(row.fault);
  const std::string faulty = stack.SetValueAsync(1, "x", false, 0);
  ASSERT_TRUE(stack.WaitUntilIdle(kPatience));
  const std::string plain = stack.GetValueAsync(2, false);
  const auto calls = handler.WaitFor(row.callbacks + 1);
  ASSERT_TRUE(stack.WaitUntilIdle(kPatience));

  ASSERT_EQ(calls.size(), row.callbacks + 1);
  EXPECT_EQ(calls.back().requestId, plain);
  EXPECT_EQ(stack.GetStoredValue(1).has_value(), row.stored);
  const auto records = stack.GetRecords();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].requestId, faulty);
  EXPECT_EQ(records[0].fault, row.fault);
  EXPECT_EQ(records[0].GetOutcome(), row.outcome);
  EXPECT_EQ(records[1].fault, Fault::None);

  const auto counters = stack.GetCounters();
  EXPECT_EQ(counters.emptyIds, row.fault == Fault::EmptyId ? 1u : 0u);
  EXPECT_EQ(counters.lateAnswers, row.fault == Fault::LateAnswer ? 1u : 0u);
  EXPECT_EQ(counters.duplicateAnswers, row.fault == Fault::DuplicateAnswer ? 1u : 0u);
  EXPECT_EQ(counters.unknownIdAnswers, row.fault == Fault::UnknownIdAnswer ? 1u : 0u);

  switch (row.fault) {
    case Fault::EmptyId:
      EXPECT_EQ(faulty, "");
      break;
    case Fault::LateAnswer:
    case Fault::DuplicateAnswer:
      EXPECT_THAT(Ids(calls), testing::Each(testing::AnyOf(faulty, plain)));
      break;
    case Fault::ErrorAnswer:
      EXPECT_EQ(calls[0].code, SimulatedDeviceStack::InjectedFailureCode);
      EXPECT_EQ(calls[0].description, "Simulated device-stack failure");
      EXPECT_EQ(records[0].errorCode, SimulatedDeviceStack::InjectedFailureCode);
      break;
    case Fault::UnknownIdAnswer:
      EXPECT_EQ(calls[0].requestId, records[0].strayId);
      EXPECT_FALSE(stack.FindRecord(calls[0].requestId));
      break;
    default:
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultTest,
    testing::Values(FaultRow{Fault::None, 1, Outcome::AnsweredOk, true},
                    FaultRow{Fault::EmptyId, 0, Outcome::NotIssued, false},
                    FaultRow{Fault::NoAnswer, 0, Outcome::NotAnswered, false},
                    FaultRow{Fault::LateAnswer, 1, Outcome::AnsweredOk, true},
                    FaultRow{Fault::DuplicateAnswer, 2, Outcome::AnsweredOk, true},
                    FaultRow{Fault::ErrorAnswer, 1, Outcome::AnsweredWithError, false},
                    FaultRow{Fault::UnknownIdAnswer, 1, Outcome::NotAnswered, true}),
    [](const testing::TestParamInfo<FaultRow>& info) { return Brask::ToString(info.param.fault); });

TEST_F(SimulatedDeviceStackTest, LateAnswerIsHeldUntilReleased) {
  stack.InjectFault(Fault::LateAnswer);
  const std::string id = stack.RequestAsync("slow");
  ASSERT_TRUE(stack.WaitUntilIdle(kPatience));
  EXPECT_TRUE(handler.Calls().empty());
  EXPECT_EQ(stack.FindRecord(id)->GetOutcome(), Outcome::Pending);
  stack.ReleaseLateAnswers();
  EXPECT_EQ(Ids(handler.WaitFor(1)), std::vector<std::string>{id});
  ASSERT_TRUE(stack.WaitUntilIdle(kPatience));
  EXPECT_TRUE(stack.FindRecord(id)->late);
}

TEST(SimulatedDeviceStackRandomTest, SameSeedGivesSameFaults) {
  const auto faultsOf = [](std::uint32_t seed, double rate) {
    SimulatedDeviceStack stack;
    stack.SetRandomFaults(rate, seed, {Fault::NoAnswer, Fault::ErrorAnswer});
    std::vector<Fault> faults;
    for (int i = 0; i < 200; ++i) {
      stack.RequestAsync("r");
    }
    for (const auto& record : stack.GetRecords()) {
      faults.push_back(record.fault);
    }
    return faults;
  };
  const auto faults = faultsOf(42, 0.3);
  EXPECT_EQ(faults, faultsOf(42, 0.3));
  EXPECT_NE(faults, faultsOf(43, 0.3));
  const auto hits =
      std::count_if(faults.begin(), faults.end(), [](Fault fault) { return fault != Fault::None; });
  EXPECT_GT(hits, 20);
  EXPECT_LT(hits, 120);
  EXPECT_THAT(faultsOf(1, 1.0), testing::Each(testing::AnyOf(Fault::NoAnswer, Fault::ErrorAnswer)));
  EXPECT_THAT(faultsOf(1, 0.0), testing::Each(Fault::None));
}

TEST_F(SimulatedDeviceStackTest, UnregisteredHandlerGetsNothing) {
  stack.SetResponseHandler(nullptr, nullptr);
  EXPECT_EQ(stack.GetResponseHandler(), nullptr);
  const std::string id = stack.RequestAsync("lost");
  ASSERT_TRUE(stack.WaitUntilIdle(kPatience));
  EXPECT_TRUE(handler.Calls().empty());
  // Sent all the same: the service does not know nobody listens.
  EXPECT_EQ(stack.FindRecord(id)->GetOutcome(), Outcome::AnsweredOk);
}

TEST_F(SimulatedDeviceStackTest, ThrowingHandlerDoesNotStopTheWorker) {
  struct Thrower : RecordingHandler {
    void OnResponse(void*, const std::string&, const std::string&, const Client::IError&) override {
      throw std::runtime_error("boom");
    }
  } thrower;
  QuorTest::LogCapture capture(log4cplus::ERROR_LOG_LEVEL);
  stack.SetResponseHandler(&thrower, nullptr);
  const std::string id = stack.RequestAsync("x");
  stack.SetValueAsync(1, "v", false, 0);
  EXPECT_EQ(thrower.WaitFor(1).size(), 1u);
  stack.SetResponseHandler(&handler, nullptr);
  EXPECT_TRUE(capture.Contains(log4cplus::ERROR_LOG_LEVEL,
                               "Response handler threw for request " + id + ": boom"));
}

TEST_F(SimulatedDeviceStackTest, CallbackMayUnregisterAndIssueRequests) {
  struct Unregisterer : RecordingHandler {
    SimulatedDeviceStack* stack = nullptr;
    void OnResponse(void* c, const std::string& id, const std::string& response,
                    const Client::IError& e) override {
      stack->SetResponseHandler(nullptr, nullptr);
      stack->RequestAsync("after");
      RecordingHandler::OnResponse(c, id, response, e);
    }
  } unregisterer;
  unregisterer.stack = &stack;
  stack.SetResponseHandler(&unregisterer, nullptr);
  stack.RequestAsync("first");
  EXPECT_EQ(unregisterer.WaitFor(1).size(), 1u);
  ASSERT_TRUE(stack.WaitUntilIdle(kPatience));
  EXPECT_EQ(stack.GetResponseHandler(), nullptr);
  EXPECT_EQ(stack.GetCounters().answeredOk, 2u);
}

TEST(SimulatedDeviceStackShutdownTest, DestructorJoinsWithAnswersOutstanding) {
  RecordingHandler handler;
  {
    SimulatedDeviceStack::Options options;
    options.answerDelay = std::chrono::hours(1);
    SimulatedDeviceStack stack(options);
    stack.SetResponseHandler(&handler, nullptr);
    stack.RequestAsync("never answered");
    stack.InjectFault(Fault::LateAnswer);
    EXPECT_EQ(stack.GetCounters().pending, 1u);
  }
  EXPECT_TRUE(handler.Calls().empty());
}

}  // namespace
