#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <boost/optional/optional_io.hpp>
#include <boost/thread/thread.hpp>

#include <QuorSim/SimulatedDeviceStack.h>
#include <QuorSim/SimulatedRequestEngine.h>
#include <TevValue/TevValue.h>

#include "QuorObjectModel/DscAsyncRequestMessenger.h"
#include "QuorObjectModel/RequestMessengerDeviceStack.h"
#include "Support/LogCapture.h"
#include "Support/MockClient.h"
#include "Support/Values.h"

namespace {

using boost::posix_time::milliseconds;
using boost::posix_time::seconds;
using QuorSim::Fault;
using QuorTest::Debug;
using QuorTest::Error;
using QuorTest::Info;
using QuorTest::Integer;
using QuorTest::Line;
using QuorTest::Lines;
using QuorTest::Warn;
using testing::ElementsAre;

const std::chrono::seconds kIdle(10);

using Rig = QuorSim::SimulatedRequestEngine;

// Answers come at once, so a long default only matters when something is wrong.
constexpr unsigned kRetries = 2;
const boost::posix_time::time_duration kLong = seconds(10);
const boost::posix_time::time_duration kShort = milliseconds(20);

// A docket in one line: whether answered and valid, then reply and delivery error.
std::string State(const Quor::Docket& d) {
  return std::string(d.IsAnswered() ? "answered" : "unanswered") +
         (d.IsReplyValid() ? " valid '" : " invalid '") + d.ReadReply() + "' '" +
         d.ReadDeliveryError() + "'";
}
const std::string kDefault = "unanswered invalid '' ''";

// Successful answers: each kind's content, and nothing at WARN or above.
TEST(Engine, EveryRequestKindGetsItsContent) {
  const QuorTest::LogCapture capture(log4cplus::WARN_LOG_LEVEL);
  Rig rig(kLong, kRetries);
  rig.stack.SetStoredValue(7, "3.5");
  const Quor::Docket value = rig.engine.GetValue(7, false);
  EXPECT_EQ(State(value), "answered valid '3.5' ''");
  const Quor::Docket response = rig.engine.Request("ping", seconds(10));
  EXPECT_EQ(State(response), "answered valid 'ping' ''");
  // An endless timeout waits without a deadline, for the answer.
  const Quor::Docket endless =
      rig.engine.Request("pong", boost::posix_time::time_duration(boost::posix_time::pos_infin));
  EXPECT_EQ(State(endless), "answered valid 'pong' ''");
  // Register-application and set-configuration answers carry no content.
  const Quor::Docket app = rig.engine.RegisterApplication("app", "App", "1.0");
  EXPECT_EQ(State(app), "answered valid '' ''");
  EXPECT_THAT(rig.stack.GetRegisteredApplications(), ElementsAre("app"));
  const Quor::Docket config =
      rig.engine.SetConfiguration("<cfg/>", seconds(10), [] { return true; });
  EXPECT_EQ(State(config), "answered valid '' ''");
  EXPECT_EQ(rig.stack.GetConfigurationText(), "<cfg/>");
  EXPECT_EQ(capture.Lines(), Lines{});
}

using Call = std::function<Quor::Docket(Quor::DscAsyncRequestMessenger&)>;

TEST(Engine, AnErrorAnswerIsAnsweredInvalidAndNotRetried) {
  const std::string urn = QuorSim::SimulatedDeviceStack::MakeUrn(100109);
  const struct {
    const char* name;
    Call call;
    std::string reply;
    std::string tail;
    const char* callback;  // the function the error record names
  } cases[] = {
      {"SetValue", [](auto& e) { return e.SetValue(100109, Integer(5), false); }, "5",
       "; id: 100109; urn: " + urn + "; value: 5", "OnSetValue"},
      {"GetValue", [](auto& e) { return e.GetValue(100109, false); }, "",
       "; id: 100109; urn: " + urn + "; value: ", "OnGetValue"},
      {"Request", [](auto& e) { return e.Request("q", seconds(0)); }, "",
       "; response: ", "OnResponse"},
      {"RegisterApplication", [](auto& e) { return e.RegisterApplication("a", "b", "c"); }, "", "",
       "OnRegisterApplication"},
      {"SetConfiguration",
       [](auto& e) { return e.SetConfiguration("c", seconds(0), [] { return true; }); }, "", "",
       "OnSetConfiguration"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QuorTest::LogCapture capture;
    Rig rig(kLong, kRetries);
    rig.stack.SetInjectedError(QuorSim::Error(42, "first", "second", "it broke"));
    rig.stack.InjectFault(Fault::ErrorAnswer);
    const Quor::Docket docket = c.call(rig.engine);
    EXPECT_EQ(State(docket), "answered invalid '" + c.reply + "' 'it broke'");
    EXPECT_EQ(rig.stack.GetRecords().size(), 1u);
    // The answering thread logs the error without the engine's lock, so it may come before or
    // after the caller's first line; only the caller's own lines have a fixed order.
    EXPECT_TRUE(capture.Contains(Error("ZEB error for request req-1: 42; first; second" + c.tail)));
    const auto records = capture.Records();
    EXPECT_TRUE(std::any_of(records.begin(), records.end(), [&](const QuorTest::LogRecord& r) {
      return r.function.find(std::string("::") + c.callback + "(") != std::string::npos &&
             r.body.rfind("ZEB error", 0) == 0;
    }));
    Lines callerLines = capture.Lines();
    callerLines.erase(
        std::remove_if(callerLines.begin(), callerLines.end(),
                       [](const auto& line) { return line.first == log4cplus::ERROR_LOG_LEVEL; }),
        callerLines.end());
    EXPECT_THAT(callerLines,
                ElementsAre(Debug("Request ID is 'req-1'"), Debug("Got request for ID 'req-1'."),
                            Debug("returned from waiting for response with ID 'req-1': "
                                  "got response")));
  }
}

TEST(Engine, AConfigurationAnswerWithoutWaiterLogsItsErrorTwice) {
  QuorTest::LogCapture capture;
  Rig rig(kLong, kRetries);
  rig.stack.SetInjectedError(QuorSim::Error(7, "x", "y", "bad config"));
  rig.stack.InjectFault(Fault::ErrorAnswer);
  rig.stack.GetConfigurationAsync();
  ASSERT_TRUE(rig.stack.WaitUntilIdle(kIdle));
  EXPECT_THAT(capture.Lines(), ElementsAre(Error("ZEB error for request req-1: 7; x; y; config: "),
                                           Debug("No docket for response ID 'req-1'"),
                                           Error("Request req-1: Error 'bad config'")));
}

// Attempts without an answer: each waits out its timeout (the default for a zero one) and is
// retried; an empty ID is retried at once; after the last attempt the default docket.
TEST(Engine, UnansweredAttemptsAreRetriedUntilTheLast) {
  const auto waited = [](const char* id, const char* timeout, const char* given) {
    const std::string quoted = std::string("'") + id + "'";
    return Lines{
        Debug("Request ID is " + quoted),
        Warn(std::string("Timeout (") + timeout + ") occured for request ID " + quoted),
        Error("No response received for ID " + quoted + " with timeout " + given + ", retrying")};
  };
  const auto join = [](std::initializer_list<Lines> parts, const Line& last) {
    Lines all;
    for (const Lines& part : parts) {
      all.insert(all.end(), part.begin(), part.end());
    }
    all.push_back(last);
    return all;
  };
  const Lines empty = {Debug("Request ID is ''"), Error("Request ID is empty, retrying")};
  const struct {
    const char* what;
    unsigned retries;
    Fault fault;
    Call call;
    Lines lines;
  } cases[] = {
      {"retries plus one attempts", kRetries, Fault::NoAnswer,
       [](auto& e) { return e.SetValue(100109, Integer(1), false); },
       join({waited("req-1", "00:00:00.020000", "00:00:00"),
             waited("req-2", "00:00:00.020000", "00:00:00"),
             waited("req-3", "00:00:00.020000", "00:00:00")},
            Error("Maximum number of retries (2) reached."))},
      {"no retries", 0, Fault::NoAnswer, [](auto& e) { return e.Request("q", milliseconds(30)); },
       join({waited("req-1", "00:00:00.030000", "00:00:00.030000")},
            Error("Maximum number of retries (0) reached."))},
      {"zero timeout of Request", 0, Fault::NoAnswer,
       [](auto& e) { return e.Request("q", seconds(0)); },
       join({waited("req-1", "00:00:00.020000", "00:00:00")},
            Error("Maximum number of retries (0) reached."))},
      {"not-a-date-time timeout takes the default", 0, Fault::NoAnswer,
       [](auto& e) {
         return e.Request("q",
                          boost::posix_time::time_duration(boost::posix_time::not_a_date_time));
       },
       join({waited("req-1", "00:00:00.020000", "not-a-date-time")},
            Error("Maximum number of retries (0) reached."))},
      {"zero timeout of SetConfiguration", 0, Fault::NoAnswer,
       [](auto& e) { return e.SetConfiguration("c", seconds(0), [] { return true; }); },
       join({waited("req-1", "00:00:00.020000", "00:00:00")},
            Error("Maximum number of retries (0) reached."))},
      {"empty IDs", kRetries, Fault::EmptyId, [](auto& e) { return e.GetValue(1, false); },
       join({empty, empty, empty}, Error("Maximum number of retries (2) reached."))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QuorTest::LogCapture capture;
    Rig rig(kShort, c.retries);
    rig.stack.InjectFaults(std::vector<Fault>(c.retries + 1, c.fault));
    EXPECT_EQ(State(c.call(rig.engine)), kDefault);
    EXPECT_EQ(rig.stack.GetRecords().size(), c.retries + 1);
    EXPECT_EQ(capture.Lines(), c.lines);
  }
}

// So does a default that is not a time: the wait ends at once.
TEST(Engine, ADefaultTimeoutThatIsNoTimeExpiresAtOnce) {
  Rig rig(boost::posix_time::time_duration(boost::posix_time::not_a_date_time), 0);
  rig.stack.InjectFault(Fault::NoAnswer);
  EXPECT_EQ(State(rig.engine.GetValue(1, false)), kDefault);
}

TEST(Engine, ALateAnswerChangesNothingAndTheRetryIsAnswered) {
  QuorTest::LogCapture capture;
  Rig rig(kShort, kRetries);
  rig.stack.InjectFault(Fault::LateAnswer);  // held until the retry is issued
  const Quor::Docket docket = rig.engine.SetValue(4, Integer(8), false);
  EXPECT_EQ(State(docket), "answered valid '8' ''");
  ASSERT_TRUE(rig.stack.WaitUntilIdle(kIdle));
  EXPECT_THAT(
      capture.Lines(),
      ElementsAre(Debug("Request ID is 'req-1'"),
                  Warn("Timeout (00:00:00.020000) occured for request ID 'req-1'"),
                  Error("No response received for ID 'req-1' with timeout 00:00:00, retrying"),
                  Debug("Request ID is 'req-2'"), Debug("No docket for response ID 'req-1'"),
                  Debug("Got request for ID 'req-2'."),
                  Debug("returned from waiting for response with ID 'req-2': "
                        "got response")));
}

TEST(Engine, ADuplicateAnswerChangesNothing) {
  QuorTest::LogCapture capture;
  Rig rig(kLong, kRetries);
  rig.stack.InjectFault(Fault::DuplicateAnswer);
  const Quor::Docket first = rig.engine.SetValue(5, Integer(1), false);
  EXPECT_EQ(first.ReadReply(), "1");
  const Quor::Docket second = rig.engine.SetValue(5, Integer(2), false);
  EXPECT_EQ(second.ReadReply(), "2");
  ASSERT_TRUE(rig.stack.WaitUntilIdle(kIdle));
  // The second copy either overwrote the docket with the same answer or found no docket.
  int deliveries = 0;
  for (const Line& line : capture.Lines()) {
    deliveries += line.second == "Got request for ID 'req-1'." ||
                  line.second == "No docket for response ID 'req-1'";
  }
  EXPECT_EQ(deliveries, 2);
  EXPECT_EQ(rig.stack.GetCounters().duplicateAnswers, 1u);
}

TEST(Engine, APredicateTurningFalseWhileWaitingEndsTheCall) {
  QuorTest::LogCapture capture;
  Rig rig(kLong, kRetries);
  rig.stack.InjectFault(Fault::NoAnswer);
  std::atomic<bool> relevant{true};
  std::atomic<bool> checked{false};
  std::thread other([&] {
    while (!checked) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    relevant = false;
    // Its answer wakes every waiter, and the first one finds its result no longer wanted.
    rig.engine.SetValue(6, Integer(6), false);
  });
  const Quor::Docket docket = rig.engine.SetConfiguration("c", seconds(0), [&] {
    checked = true;
    return relevant.load();
  });
  other.join();
  EXPECT_EQ(State(docket), kDefault);
  EXPECT_EQ(rig.stack.GetRecords().size(), 2u);  // no retry
  Lines own;
  for (const Line& line : capture.Lines()) {
    if (line.second.find("req-1") != std::string::npos ||
        line.second.find("Aborted") != std::string::npos) {
      own.push_back(line);
    }
  }
  EXPECT_THAT(own,
              ElementsAre(Debug("Request ID is 'req-1'"),
                          Info("Aborted a ZEB request because its result is no longer relevant"),
                          Warn("Timeout (00:00:10) occured for request ID 'req-1'"),
                          Debug("returned from waiting for response with ID 'req-1': "
                                "!isStillRelevant")));
}

// Only a timeout at the deadline ends a wait; the predicate is asked once per wait and once
// after it, so its n-th call decides which attempt gives up. An answer that comes during the
// first wait is dropped by the call after it.
TEST(Engine, APredicateIsAskedOncePerWaitAndOnceAfterIt) {
  struct Case {
    int relevantCalls;
    bool answered;
    std::size_t requests;
    bool aborted;
  };
  for (const Case c :
       {Case{1, false, 1, false}, Case{2, false, 2, true}, Case{2, true, 1, false}}) {
    SCOPED_TRACE(c.relevantCalls);
    QuorTest::LogCapture capture;
    Rig rig(kShort, kRetries);
    if (!c.answered) {
      rig.stack.InjectFaults({Fault::NoAnswer, Fault::NoAnswer, Fault::NoAnswer});
    }
    int calls = 0;
    const Quor::Docket docket =
        rig.engine.SetConfiguration("c", seconds(0), [&] { return ++calls <= c.relevantCalls; });
    EXPECT_EQ(State(docket), kDefault);
    EXPECT_EQ(rig.stack.GetRecords().size(), c.requests);
    EXPECT_EQ(
        capture.Contains(Info("Aborted a ZEB request because its result is no longer relevant")),
        c.aborted);
    EXPECT_EQ(capture.Lines().back().second, "returned from waiting for response with ID 'req-" +
                                                 std::to_string(c.requests) +
                                                 "': !isStillRelevant");
  }
}

// The wait is an interruption point even when its deadline has already passed.
TEST(Engine, APendingInterruptionLeavesACallWhoseDeadlineHasPassed) {
  const std::vector<std::pair<boost::posix_time::time_duration,
                              std::function<void(Quor::DscAsyncRequestMessenger&)>>>
      cases = {
          {seconds(0), [](auto& e) { e.GetValue(1, false); }},
          {kLong, [](auto& e) { e.Request("q", seconds(-1)); }},
      };
  for (const auto& c : cases) {
    Rig rig(c.first, 0);
    rig.stack.InjectFault(Fault::NoAnswer);
    std::atomic<bool> go{false};
    std::atomic<bool> interrupted{false};
    boost::thread caller([&] {
      while (!go) {
        std::this_thread::yield();
      }
      try {
        c.second(rig.engine);
      } catch (const boost::thread_interrupted&) {
        interrupted = true;
      }
    });
    caller.interrupt();
    go = true;
    caller.join();
    EXPECT_TRUE(interrupted);
  }
}

TEST(Engine, InterruptionLeavesTheCallAndTheEngineUsable) {
  QuorTest::LogCapture capture;
  Rig rig(kLong, kRetries);
  rig.stack.InjectFault(Fault::LateAnswer);  // held until the next request is issued
  std::atomic<bool> interrupted{false};
  boost::thread caller([&] {
    try {
      rig.engine.GetValue(1, false);
    } catch (const boost::thread_interrupted&) {
      interrupted = true;
    }
  });
  while (rig.stack.GetRecords().empty()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_TRUE(rig.stack.WaitUntilIdle(kIdle));  // the late answer is held by now
  caller.interrupt();
  caller.join();
  EXPECT_TRUE(interrupted);
  // The mutex was released and the entry of the interrupted wait is gone.
  EXPECT_TRUE(rig.engine.SetValue(2, Integer(2), false).IsReplyValid());
  ASSERT_TRUE(rig.stack.WaitUntilIdle(kIdle));
  EXPECT_TRUE(capture.Contains(Debug("No docket for response ID 'req-1'")));
  EXPECT_FALSE(capture.Contains(Warn("Timeout (00:00:10) occured for request ID 'req-1'")));
}

TEST(Engine, SetValueAndIgnoreResponse) {
  QuorTest::LogCapture capture;
  Rig rig(kLong, kRetries);
  EXPECT_TRUE(rig.engine.SetValueAndIgnoreResponse(100109, Integer(3), false));
  ASSERT_TRUE(rig.stack.WaitUntilIdle(kIdle));
  rig.stack.InjectFault(Fault::EmptyId);
  EXPECT_FALSE(rig.engine.SetValueAndIgnoreResponse(100109, Integer(4), false));
  ASSERT_TRUE(rig.stack.WaitUntilIdle(kIdle));
  EXPECT_EQ(rig.stack.GetStoredValue(100109), boost::make_optional(std::string("3")));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Debug("Request ID is 'req-1'"),
                          Debug("No docket for response ID 'req-1'"), Debug("Request ID is ''")));
}

TEST(Engine, DirectOperationsForwardWithoutWaiting) {
  for (const bool result : {true, false}) {
    SCOPED_TRACE(result);
    QuorTest::LogCapture capture;
    Rig rig(kLong, kRetries);
    rig.stack.SetSynchronousResult(result);
    const Quor::Docket docket = rig.engine.SetConfiguration(
        9, {{Brask::IDeviceStackClient::PropertyType::Name, {"lamp"}}}, true);
    EXPECT_EQ(State(docket), result ? "answered valid '' ''" : "answered invalid '' ''");
    EXPECT_EQ(rig.engine.SetDeviceConfig({{"k", "v"}}), result);
    std::string config;
    EXPECT_EQ(rig.engine.GetDeviceConfig(config, false), result);
    EXPECT_EQ(config, result ? "k=v\n" : "");
    EXPECT_EQ(rig.engine.EnableNativeFormat(), result);
    EXPECT_EQ(rig.stack.GetValueFormat(), result ? "Native" : "Default");
    EXPECT_TRUE(rig.stack.GetRecords().empty());
    EXPECT_TRUE(capture.Lines().empty());
  }
}

// Many callers at once, answers out of order, some requests refused an ID, duplicated or
// answered under a stray ID: every caller gets its own answer.
TEST(Engine, ConcurrentCallersEachGetTheirOwnAnswer) {
  constexpr int kThreads = 8;
  constexpr int kRounds = 20;
  QuorTest::LogCapture capture(log4cplus::WARN_LOG_LEVEL);
  Rig rig(seconds(1), 5);
  rig.stack.SetAnswerDelay(std::chrono::microseconds(0), std::chrono::milliseconds(2));
  rig.stack.SetRandomFaults(0.1, 7, {Fault::EmptyId, Fault::DuplicateAnswer});
  std::atomic<int> wrong{0};
  std::vector<std::thread> callers;
  for (int t = 0; t < kThreads; ++t) {
    callers.emplace_back([&, t] {
      for (int r = 0; r < kRounds; ++r) {
        const int32_t value = t * 1000 + r;
        const unsigned long id = 200000 + static_cast<unsigned long>(t);
        const Quor::Docket set = rig.engine.SetValue(id, Integer(value), false);
        const Quor::Docket get = rig.engine.GetValue(id, false);
        const std::string expected = std::to_string(value);
        if (!set.IsReplyValid() || set.ReadReply() != expected || !get.IsReplyValid() ||
            get.ReadReply() != expected) {
          ++wrong;
        }
      }
    });
  }
  for (auto& caller : callers) {
    caller.join();
  }
  EXPECT_EQ(wrong, 0);
  ASSERT_TRUE(rig.stack.WaitUntilIdle(kIdle));
  const QuorSim::SimulationCounters counters = rig.stack.GetCounters();
  EXPECT_EQ(counters.answeredOk, static_cast<std::uint64_t>(2 * kThreads * kRounds));
  EXPECT_EQ(counters.notAnswered, 0u);
}

// A client that answers inside the request call, as a gmock action does, breaks its contract: the
// engine's mutex is held there. The log names the cause and the call ends, instead of hanging.
TEST(Engine, AnAnswerInsideTheRequestCallIsReportedAndDropped) {
  const QuorTest::LogCapture capture(log4cplus::ERROR_LOG_LEVEL);
  testing::NiceMock<QuorTest::MockClient> client;
  Brask::IDeviceStackClient::IResponseHandler* handler = nullptr;
  ON_CALL(client, SetResponseHandler(testing::_, testing::_))
      .WillByDefault(testing::SaveArg<0>(&handler));
  const QuorSim::Error success;
  ON_CALL(client, GetValueAsync(7ul, false)).WillByDefault([&](unsigned long id, bool) {
    handler->OnGetValue(nullptr, "r1", id, "", "3.5", success);
    return std::string("r1");
  });
  Quor::RemoteRequestMessengerDeviceStack messenger{client};
  Quor::DscAsyncRequestMessenger engine{messenger, kShort, 0};
  engine.SetAsResponseHandler();
  EXPECT_EQ(State(engine.GetValue(7, false)), kDefault);
  engine.UnsetAsResponseHandler();
  const auto records = capture.Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_THAT(records[0].function,
              testing::HasSubstr("DscAsyncRequestMessenger::UpdateDocketList("));
  EXPECT_EQ(Line(records[0].level, records[0].body),
            Error("The device-stack client answered request ID 'r1' inside the request call, on "
                  "the requesting thread: the answer is dropped. A client must answer on another "
                  "thread."));
}

}  // namespace
