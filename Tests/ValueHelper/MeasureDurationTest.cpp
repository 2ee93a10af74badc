#include <string>
#include <vector>

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
using testing::MatchesRegex;

// boost::timer's default layout with 6 places, without leading blank and line end.
const std::string kTiming =
    "[0-9]+\\.[0-9]{6}s wall, [0-9]+\\.[0-9]{6}s user \\+ [0-9]+\\.[0-9]{6}s system = "
    "[0-9]+\\.[0-9]{6}s CPU \\((n/a|[0-9]+\\.[0-9])%\\)";

// Without a threshold at DEBUG, at or above it at INFO, below it not at all.
TEST(MeasureDuration, LevelFollowsTheThreshold) {
  const struct {
    boost::optional<boost::chrono::nanoseconds> threshold;
    std::vector<int> levels;
  } cases[] = {
      {boost::none, {log4cplus::DEBUG_LOG_LEVEL}},
      {boost::chrono::nanoseconds(0), {log4cplus::INFO_LOG_LEVEL}},
      {boost::chrono::nanoseconds(boost::chrono::hours(1)), {}},
  };
  for (const auto& c : cases) {
    LogCapture capture;
    { const Quor::MeasureDuration measure("Decoding took ", c.threshold); }
    std::vector<int> levels;
    for (const auto& record : capture.Records()) {
      levels.push_back(record.level);
      EXPECT_THAT(record.body, MatchesRegex("Decoding took " + kTiming));
      EXPECT_THAT(record.file, testing::EndsWith("MeasureDuration.cpp"));
    }
    EXPECT_EQ(levels, c.levels);
  }
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
