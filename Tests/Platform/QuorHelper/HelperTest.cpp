#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <Quor/Assert.h>
#include <Quor/BoundedInt.h>
#include <Quor/Log.h>
#include <QuorHelper/TimeOfDay.h>
#include <QuorHelper/Utf8String.h>

#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace {

using QuorTest::LogCapture;

void LogSomething(unsigned char bits) {
  QUOR_LOG_ERROR("bit size " << bits << " seen");
}

TEST(Logging, RecordLayoutIsContextFunctionSeparatorPaddingMessage) {
  LogCapture capture;
  Quor::SetLoggingContext("[ctx] ");
  LogSomething(16);
  Quor::SetLoggingContext("");
  const auto records = capture.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].level, log4cplus::ERROR_LOG_LEVEL);
  EXPECT_THAT(records[0].message,
              testing::MatchesRegex(
                  R"(\[ctx\] LogSomething\(HelperTest\.cpp:[0-9]+\) - bit size 16 seen)"));
  EXPECT_EQ(records[0].body, "bit size 16 seen");
  EXPECT_THAT(records[0].function, testing::HasSubstr("LogSomething(unsigned char)"));
}

TEST(Logging, DisabledLevelBuildsNoText) {
  LogCapture capture(log4cplus::WARN_LOG_LEVEL);
  int evaluated = 0;
  auto count = [&] { return ++evaluated; };
  QUOR_LOG_DEBUG("never " << count());
  QUOR_LOG_WARN("always " << count());
  EXPECT_EQ(evaluated, 1);
  EXPECT_EQ(capture.Lines(), QuorTest::Lines{QuorTest::Warn("always 1")});
}

TEST(AssertionFailed, ReportsThePiecesAndEndsTheProcess) {
  const auto failingCheck = [] { QUOR_ASSERT2(1 + 1 == 3); };
  EXPECT_DEATH(failingCheck(), "QUOR_ASSERT2\\(1 \\+ 1 == 3\\) failed");
}

}  // namespace
