// The app's logic against the simulated device stack: each row scripts what the device stack
// does with the requests, then checks the app's result and what the device stack was asked.

#include <chrono>
#include <functional>
#include <vector>

#include <gtest/gtest.h>
#include <log4cplus/configurator.h>
#include <log4cplus/initializer.h>
#include <log4cplus/logger.h>
#include <boost/optional/optional_io.hpp>

#include <QuorSim/SimulatedRequestEngine.h>

#include "Setpoint.h"

namespace {

using QuorSim::Outcome;
using QuorSim::SimulatedDeviceStack;
using SetpointApp::Setpoint;
using SetpointApp::WriteResult;

// Short, so that silence costs little; one retry after the first attempt.
const boost::posix_time::time_duration kTimeout = boost::posix_time::milliseconds(100);
constexpr unsigned int kRetries = 1;
constexpr unsigned short kCo = 5;

std::vector<Outcome> OutcomesOf(const SimulatedDeviceStack& stack) {
  std::vector<Outcome> outcomes;
  for (const auto& record : stack.GetRecords()) {
    outcomes.push_back(record.GetOutcome());
  }
  return outcomes;
}

TEST(Setpoint, WriteAgainstEachOutcomeOfTheDeviceStack) {
  const struct {
    const char* what;
    std::function<void(SimulatedDeviceStack&)> script;
    double celsius;
    WriteResult result;
    std::vector<Outcome> outcomes;  // one per request the device stack saw
  } cases[] = {
      {"answered", [](SimulatedDeviceStack&) {}, 21.5, WriteResult::Written, {Outcome::AnsweredOk}},
      {"refused by the device",
       [](SimulatedDeviceStack& s) {
         s.InjectError(QuorSim::Error(503, "Heating", "locked", "Setpoint locked by the owner"));
       },
       21.5,
       WriteResult::Refused,
       {Outcome::AnsweredWithError}},
      {"silence: a timeout, then the retry times out too",
       [](SimulatedDeviceStack& s) {
         s.InjectFaults({QuorSim::Fault::NoAnswer, QuorSim::Fault::NoAnswer});
       },
       21.5,
       WriteResult::NoAnswer,
       {Outcome::NotAnswered, Outcome::NotAnswered}},
      {"an answer after the timeout: the retry is answered",
       [](SimulatedDeviceStack& s) { s.InjectLateAnswer(std::chrono::milliseconds(300)); },
       21.5,
       WriteResult::Written,
       {Outcome::AnsweredOk, Outcome::AnsweredOk}},
      {"not issued once, then issued",
       [](SimulatedDeviceStack& s) { s.InjectFault(QuorSim::Fault::EmptyId); },
       21.5,
       WriteResult::Written,
       {Outcome::NotIssued, Outcome::AnsweredOk}},
      {"never issued",
       [](SimulatedDeviceStack& s) {
         s.InjectFaults({QuorSim::Fault::EmptyId, QuorSim::Fault::EmptyId});
       },
       21.5,
       WriteResult::NoAnswer,
       {Outcome::NotIssued, Outcome::NotIssued}},
      {"out of range: nothing is asked",
       [](SimulatedDeviceStack&) {},
       35.0,
       WriteResult::OutOfRange,
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QuorSim::SimulatedRequestEngine rig(kTimeout, kRetries);
    c.script(rig.stack);
    Setpoint setpoint(rig.engine, kCo);
    EXPECT_EQ(setpoint.Write(c.celsius), c.result);
    // Answers held back are sent before the records are read.
    ASSERT_TRUE(rig.stack.WaitUntilIdle(std::chrono::seconds(5)));
    EXPECT_EQ(OutcomesOf(rig.stack), c.outcomes);
  }
}

TEST(Setpoint, ARefusalKeepsTheDevicesDescription) {
  QuorSim::SimulatedRequestEngine rig(kTimeout, kRetries);
  rig.stack.InjectError(QuorSim::Error(503, "Heating", "locked", "Setpoint locked by the owner"));
  Setpoint setpoint(rig.engine, kCo);
  ASSERT_EQ(setpoint.Write(20.0), WriteResult::Refused);
  EXPECT_EQ(setpoint.LastRefusal(), "Setpoint locked by the owner");
}

TEST(Setpoint, ReadsBackWhatWasWrittenAndNothingWithoutAnAnswer) {
  QuorSim::SimulatedRequestEngine rig(kTimeout, kRetries);
  Setpoint setpoint(rig.engine, kCo);
  // A whole number travels as "20" and comes back as an integer.
  for (const double celsius : {19.5, 20.0}) {
    ASSERT_EQ(setpoint.Write(celsius), WriteResult::Written);
    EXPECT_EQ(setpoint.Read(), celsius);
  }
  // The request went to the CO's object-model id, with the value in the platform's text form.
  const auto records = rig.stack.GetRecords();
  EXPECT_EQ(records.back().kind, QuorSim::RequestKind::GetValue);
  EXPECT_EQ(rig.stack.GetStoredValue(records.back().objectId), records[records.size() - 2].text);

  rig.stack.InjectFaults({QuorSim::Fault::NoAnswer, QuorSim::Fault::NoAnswer});
  EXPECT_EQ(setpoint.Read(), boost::none);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The engine's warnings and errors on the console show what each silence looked like.
  log4cplus::Initializer logging;
  log4cplus::BasicConfigurator::doConfigure();
  log4cplus::Logger::getRoot().setLogLevel(log4cplus::WARN_LOG_LEVEL);
  return RUN_ALL_TESTS();
}
