#include <array>
#include <memory>
#include <string>
#include <utility>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <log4cplus/consoleappender.h>
#include <log4cplus/layout.h>
#include <log4cplus/logger.h>

#include <Quor/Assert.h>
#include <Quor/BoundedInt.h>
#include <Quor/Log.h>
#include <QuorHelper/Logging.h>
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

// The fatal record reaches the log before the process ends; here the log goes to stderr, the
// one channel a death test reads.
TEST(AssertionFailed, ReportsThePiecesAndEndsTheProcess) {
  const auto failingCheck = [] {
    log4cplus::SharedAppenderPtr toStderr(new log4cplus::ConsoleAppender(true, true));
    toStderr->setLayout(std::make_unique<log4cplus::PatternLayout>("record: %m%n"));
    log4cplus::Logger::getRoot().addAppender(toStderr);
    QUOR_ASSERT2(1 + 1 == 3);
  };
  EXPECT_DEATH(failingCheck(),
               "record: AssertionFailed\\(Assert\\.cpp:[0-9]+\\) - operator\\(\\) .*"
               "Assertion failed: operator\\(\\) [^ ]*HelperTest\\.cpp:[0-9]+ QUOR_ASSERT2\\(1 "
               "\\+ 1 == 3\\) failed");
}

// Latin-1 is the first 256 code points; beyond them a character becomes one '?'.
TEST(Latin1Text, ConvertsBothWays) {
  const std::pair<std::string, std::string> rows[] = {
      {"A\x7F", "A\x7F"}, {"\x80\xE9\xFF", "\xC2\x80\xC3\xA9\xC3\xBF"}, {{'\0'}, {'\0'}}, {"", ""}};
  for (const auto& [latin1, utf8] : rows) {
    const auto text = Quor::UTF8String::FromString(utf8);
    EXPECT_TRUE(Quor::getUTF8FromLatin1(latin1) == *text) << utf8;
    EXPECT_EQ(Quor::getLatin1FromUTF8Lossy(*text), latin1);
  }
  EXPECT_TRUE(Quor::getUTF8FromLatin1("a") != Quor::getUTF8FromLatin1("b"));
  const auto beyond = Quor::UTF8String::FromString("\xC4\x80\xE2\x82\xAC\xF0\x9F\x98\x80x");
  EXPECT_EQ(Quor::getLatin1FromUTF8Lossy(*beyond), "???x");
  for (const char* invalid : {"\xC3", "\xFF", "\xC0\x80", "\xED\xA0\x80", "a\x80"}) {
    EXPECT_FALSE(Quor::UTF8String::FromString(invalid)) << invalid;
  }
}

TEST(TimeOfDay, ExistsUpToTheLastSecondOfSunday) {
  const std::array<int, 5> rows[] = {{23, 59, 59, 7, 1}, {0, 0, 0, 0, 1},  {24, 0, 0, 0, 0},
                                     {0, 60, 0, 0, 0},   {0, 0, 60, 0, 0}, {0, 0, 0, 8, 0}};
  for (const auto& [hour, minute, second, day, valid] : rows) {
    const auto time = QuorApp::TimeOfDay::Create(
        static_cast<unsigned char>(hour), static_cast<unsigned char>(minute),
        static_cast<unsigned char>(second), static_cast<QuorApp::DayOfWeek>(day));
    EXPECT_EQ(time.has_value(), valid == 1) << hour << minute << second << day;
  }
  // The weekdays as KNX numbers them.
  EXPECT_EQ(
      (std::array<int, 8>{QuorApp::NoDay, QuorApp::Monday, QuorApp::Tuesday, QuorApp::Wednesday,
                          QuorApp::Thursday, QuorApp::Friday, QuorApp::Saturday, QuorApp::Sunday}),
      (std::array<int, 8>{0, 1, 2, 3, 4, 5, 6, 7}));
}

}  // namespace
