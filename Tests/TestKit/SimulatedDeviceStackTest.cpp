// The test kit as a user scripts it: each scripted outcome, the record it leaves and the
// answers a handler gets, without the engine in between.

#include <chrono>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QuorSim/SimulatedDeviceStack.h>

namespace {

using QuorSim::Fault;
using QuorSim::Outcome;
using QuorSim::SimulatedDeviceStack;
using std::chrono::milliseconds;

const std::chrono::seconds kIdle(10);

// Every answer in one line: "<request ID> <code> <value>".
class Recorder final : public Brask::IDeviceStackClient::IResponseHandler {
 public:
  using IError = Brask::IDeviceStackClient::IError;
  std::vector<std::string> Answers() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_answers;
  }
  bool throwOnAnswer = false;

  void OnResponse(void*, const std::string& id, const std::string& response,
                  const IError& error) override {
    Note(id, error, response);
  }
  void OnRegisterApplication(void*, const std::string& id, const IError& error) override {
    Note(id, error, "");
  }
  void OnGetConfiguration(void*, const std::string& id, const std::string& config,
                          const IError& error) override {
    Note(id, error, config);
  }
  void OnSetConfiguration(void*, const std::string& id, const IError& error) override {
    Note(id, error, "");
  }
  void OnGetValue(void*, const std::string& id, unsigned long, const std::string&,
                  const std::string& value, const IError& error) override {
    Note(id, error, value);
  }
  void OnSetValue(void*, const std::string& id, unsigned long, const std::string&,
                  const std::string& value, const IError& error) override {
    Note(id, error, value);
  }

 private:
  void Note(const std::string& id, const IError& error, const std::string& value) {
    {
      const std::lock_guard<std::mutex> lock(m_mutex);
      m_answers.push_back(id + " " + std::to_string(error.GetCode()) + " " + value);
    }
    if (throwOnAnswer) {
      throw std::runtime_error("handler failed");
    }
  }
  mutable std::mutex m_mutex;
  std::vector<std::string> m_answers;
};

TEST(SimulatedDeviceStack, EachScriptedOutcomeLeavesItsRecordAndAnswers) {
  const QuorSim::Error locked(503, "Heating", "locked", "Setpoint locked");
  const struct {
    const char* what;
    std::function<void(SimulatedDeviceStack&)> script;
    Outcome outcome;
    std::vector<std::string> answers;
    int errorCode;
    bool applied;
  } cases[] = {
      {"none", [](SimulatedDeviceStack&) {}, Outcome::AnsweredOk, {"req-1 0 21.5"}, 0, true},
      {"device error with its own code",
       [&](SimulatedDeviceStack& s) { s.InjectError(locked); },
       Outcome::AnsweredWithError,
       {"req-1 503 21.5"},
       503,
       false},
      {"device error, the shared one",
       [](SimulatedDeviceStack& s) { s.InjectFault(Fault::ErrorAnswer); },
       Outcome::AnsweredWithError,
       {"req-1 500 21.5"},
       SimulatedDeviceStack::InjectedFailureCode,
       false},
      {"no answer",
       [](SimulatedDeviceStack& s) { s.InjectFault(Fault::NoAnswer); },
       Outcome::NotAnswered,
       {},
       0,
       false},
      {"not issued",
       [](SimulatedDeviceStack& s) { s.InjectFault(Fault::EmptyId); },
       Outcome::NotIssued,
       {},
       0,
       false},
      {"duplicate answer",
       [](SimulatedDeviceStack& s) { s.InjectFault(Fault::DuplicateAnswer); },
       Outcome::AnsweredOk,
       {"req-1 0 21.5", "req-1 0 21.5"},
       0,
       true},
      {"answer under an unknown ID",
       [](SimulatedDeviceStack& s) { s.InjectFault(Fault::UnknownIdAnswer); },
       Outcome::NotAnswered,
       {"stray-1 0 21.5"},
       0,
       true},
      {"late answer after its delay",
       [](SimulatedDeviceStack& s) { s.InjectLateAnswer(milliseconds(30)); },
       Outcome::AnsweredOk,
       {"req-1 0 21.5"},
       0,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedDeviceStack stack;
    Recorder recorder;
    stack.SetResponseHandler(&recorder, nullptr);
    c.script(stack);
    const std::string id = stack.SetValueAsync(100109, "21.5", false, 0);
    ASSERT_TRUE(stack.WaitUntilIdle(kIdle));
    stack.SetResponseHandler(nullptr, nullptr);
    const auto records = stack.GetRecords();
    ASSERT_EQ(records.size(), 1u);
    const QuorSim::RequestRecord& record = records.front();
    EXPECT_EQ(record.requestId, id);
    EXPECT_EQ(record.kind, QuorSim::RequestKind::SetValue);
    EXPECT_EQ(record.objectId, 100109u);
    EXPECT_EQ(record.text, "21.5");
    EXPECT_EQ(record.GetOutcome(), c.outcome);
    EXPECT_EQ(record.errorCode, c.errorCode);
    EXPECT_EQ(recorder.Answers(), c.answers);
    EXPECT_EQ(stack.GetStoredValue(100109) == std::string("21.5"), c.applied);
  }
}

TEST(SimulatedDeviceStack, ALateAnswerComesAfterItsOwnDelay) {
  SimulatedDeviceStack stack;
  Recorder recorder;
  stack.SetResponseHandler(&recorder, nullptr);
  stack.InjectLateAnswer(milliseconds(50));
  stack.GetValueAsync(1, false);
  ASSERT_TRUE(stack.WaitUntilIdle(kIdle));
  stack.SetResponseHandler(nullptr, nullptr);
  const QuorSim::RequestRecord record = stack.GetRecords().front();
  EXPECT_TRUE(record.late);
  EXPECT_GE(record.answeredAt - record.issuedAt, milliseconds(50));
  // An unknown object is a device error of its own.
  EXPECT_EQ(record.errorCode, SimulatedDeviceStack::UnknownObjectCode);
}

// The same seed draws the same faults, so a failing random run can be replayed.
TEST(SimulatedDeviceStack, RandomFaultsFollowTheirSeed) {
  const auto draw = [](std::uint32_t seed) {
    SimulatedDeviceStack stack;
    stack.SetRandomFaults(0.5, seed, {Fault::EmptyId, Fault::NoAnswer});
    std::vector<Fault> faults;
    for (int i = 0; i < 40; ++i) {
      stack.RequestAsync("q");
    }
    for (const auto& record : stack.GetRecords()) {
      faults.push_back(record.fault);
    }
    return faults;
  };
  const std::vector<Fault> first = draw(7);
  EXPECT_EQ(draw(7), first);
  EXPECT_NE(draw(8), first);
  EXPECT_THAT(first, testing::Contains(Fault::None));
  EXPECT_THAT(first, testing::Contains(Fault::EmptyId));
  EXPECT_THAT(first, testing::Contains(Fault::NoAnswer));
}

TEST(SimulatedDeviceStack, AThrowingHandlerIsCountedAndTheWorkerGoesOn) {
  SimulatedDeviceStack stack;
  Recorder recorder;
  recorder.throwOnAnswer = true;
  stack.SetResponseHandler(&recorder, nullptr);
  stack.RequestAsync("a");
  stack.RequestAsync("b");
  ASSERT_TRUE(stack.WaitUntilIdle(kIdle));
  stack.SetResponseHandler(nullptr, nullptr);
  EXPECT_EQ(recorder.Answers(), (std::vector<std::string>{"req-1 0 a", "req-2 0 b"}));
  EXPECT_EQ(stack.GetCounters().handlerExceptions, 2u);
}

}  // namespace
