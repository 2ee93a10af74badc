#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Cli.h"
#include "Support/LogCapture.h"
#include "ToolTestSupport.h"

namespace {

using QuorOmTest::FirstLine;
using QuorOmTest::RunTool;
using testing::ContainsRegex;
using testing::HasSubstr;
using testing::MatchesRegex;

constexpr int kWarn = 30000;

TEST(RequestCommands, DemoWalksThroughEveryKindOfOutcome) {
  QuorTest::LogCapture capture(log4cplus::WARN_LOG_LEVEL);
  const auto outcome = RunTool({"demo"});
  EXPECT_EQ(outcome.status, QuorOm::kExitOk) << outcome.out;
  EXPECT_EQ(outcome.err, "");
  for (const char* line : {
           "RegisterApplication answered, valid\n",
           "DPT 9.001): received 0c33 = 21.5; SetValue answered, valid\n",
           "CO 1: GetValue answered, valid = 21.5, sent as 0c33\n",
           "CO 2: GetValue answered, valid = true, sent as 01\n",
           "CO 3: GetValue answered, valid = KNX demo, sent as 4b4e582064656d6f000000000000\n",
           "4 threads with 5 SetValue each: 20 of 20 answered, valid\n",
           "  answered, valid after 2 attempts\n",
       }) {
    EXPECT_THAT(outcome.out, HasSubstr(line));
  }
  EXPECT_THAT(outcome.out, ContainsRegex("\n  answered, device-side error '[^']+'\n"));
  // The lost answer shows up in the log as a timeout, the device-side error does not retry.
  int timeouts = 0;
  for (const auto& record : capture.Records()) {
    timeouts += record.level == kWarn && record.body.find("Timeout (") == 0 ? 1 : 0;
  }
  EXPECT_EQ(timeouts, 1);
}

TEST(RequestCommands, StressLosesNothingUnderFaults) {
  const auto outcome = RunTool(
      {"stress", "--requests", "2000", "--threads", "4", "--faults", "0.1", "--timeout", "50"});
  EXPECT_EQ(outcome.status, QuorOm::kExitOk) << outcome.err;
  EXPECT_THAT(outcome.out, MatchesRegex("requests 2000, answered valid [0-9]+, answered with "
                                        "error [1-9][0-9]*, not answered [0-9]+, lost 0, "
                                        "p50 [0-9.]+ ms, p99 [0-9.]+ ms\n"));
}

TEST(RequestCommands, StressRefusesBadOptions) {
  for (const auto& words : std::vector<std::vector<std::string>>{
           {"stress", "--faults", "1.5"},
           {"stress", "--faults", "x"},
           {"stress", "--threads", "0"},
       }) {
    const auto outcome = RunTool(words);
    EXPECT_EQ(outcome.status, QuorOm::kExitUsage) << words.back();
    EXPECT_THAT(FirstLine(outcome.err), HasSubstr("quor-om: --"));
  }
}

}  // namespace
