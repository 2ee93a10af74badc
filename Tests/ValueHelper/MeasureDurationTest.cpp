#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <log4cplus/consoleappender.h>
#include <log4cplus/logger.h>
#include <boost/chrono/duration.hpp>
#include <boost/optional.hpp>

#include <Quor/MeasureDuration.h>
#include <Quor/Unreachable.h>

#include "Support/LogCapture.h"

namespace {

using QuorTest::LogCapture;
using testing::IsEmpty;
using testing::MatchesRegex;

// boost::timer's default layout with 6 places, without leading blank and line end.
const std::string kTiming =
    "[0-9]+\\.[0-9]{6}s wall, [0-9]+\\.[0-9]{6}s user \\+ [0-9]+\\.[0-9]{6}s system = "
    "[0-9]+\\.[0-9]{6}s CPU \\((n/a|[0-9]+\\.[0-9])%\\)";

TEST(MeasureDuration, WithoutThresholdLogsAtDebug) {
  LogCapture capture;
  { const Quor::MeasureDuration measure("Decoding a KNX value took "); }
  const auto records = capture.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].level, log4cplus::DEBUG_LOG_LEVEL);
  EXPECT_THAT(records[0].body, MatchesRegex("Decoding a KNX value took " + kTiming));
  EXPECT_THAT(records[0].file, testing::EndsWith("MeasureDuration.cpp"));
}

TEST(MeasureDuration, AtOrAboveThresholdLogsAtInfo) {
  LogCapture capture;
  { const Quor::MeasureDuration measure("took ", boost::chrono::nanoseconds(0)); }
  const auto records = capture.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].level, log4cplus::INFO_LOG_LEVEL);
  EXPECT_THAT(records[0].body, MatchesRegex("took " + kTiming));
}

TEST(MeasureDuration, BelowThresholdLogsNothing) {
  LogCapture capture;
  {
    const Quor::MeasureDuration measure("took ",
                                        boost::chrono::nanoseconds(boost::chrono::hours(1)));
  }
  EXPECT_THAT(capture.Records(), IsEmpty());
}

void LogToStderr() {
  log4cplus::Logger::getRoot().addAppender(
      log4cplus::SharedAppenderPtr(new log4cplus::ConsoleAppender(true, true)));
}

TEST(UndefinedBehaviourIfNoneDeathTest, NoValueEndsTheProcessWithAFatalLine) {
  EXPECT_DEATH(
      {
        LogToStderr();
        Quor::UndefinedBehaviourIfNone(boost::optional<int>());
      },
      "FATAL - UndefinedBehaviourIfNone\\(Unreachable\\.h:[0-9]+\\) - This statement should not "
      "be executed\\. There is a bug somewhere around .*Unreachable\\.h:[0-9]+");
}

[[noreturn]] void ReachTheUnreachable() {
  LogToStderr();
  QUOR_UNREACHABLE();
}

TEST(UnreachableDeathTest, NamesThePlaceOfTheMarker) {
  EXPECT_DEATH(ReachTheUnreachable(),
               "There is a bug somewhere around .*MeasureDurationTest\\.cpp:[0-9]+");
}

}  // namespace
