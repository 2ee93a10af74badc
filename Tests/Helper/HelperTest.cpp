#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QuorHelper/Assert.h>
#include <QuorHelper/BoundedInt.h>
#include <QuorHelper/Logging.h>
#include <QuorHelper/TimeOfDay.h>
#include <QuorHelper/Utf8String.h>

#include "Support/LogCapture.h"

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
  EXPECT_THAT(capture.Bodies(), testing::ElementsAre("always 1"));
}

TEST(AssertionFailed, ReportsThePiecesAndEndsTheProcess) {
  const auto failingCheck = [] { QUOR_ASSERT2(1 + 1 == 3); };
  EXPECT_DEATH(failingCheck(), "QUOR_ASSERT2\\(1 \\+ 1 == 3\\) failed");
}

TEST(TimeOfDay, CreateAcceptsOnlyValidTimes) {
  struct Case {
    int hour, minute, second, day;
    bool valid;
  };
  for (const Case& c :
       {Case{0, 0, 0, 0, true}, Case{23, 59, 59, 7, true}, Case{24, 0, 0, 1, false},
        Case{0, 60, 0, 1, false}, Case{0, 0, 60, 1, false}, Case{12, 0, 0, 8, false}}) {
    const auto t = QuorApp::TimeOfDay::Create(c.hour, c.minute, c.second,
                                              static_cast<QuorApp::DayOfWeek>(c.day));
    EXPECT_EQ(t.has_value(), c.valid)
        << c.hour << ":" << c.minute << ":" << c.second << "@" << c.day;
    if (t) {
      EXPECT_EQ(t->GetHour(), c.hour);
      EXPECT_EQ(t->GetWeekday(), c.day);
    }
  }
}

TEST(Latin1, RoundTripsThroughUtf8AndReplacesWhatLatin1CannotHold) {
  const auto utf8 = Quor::getUTF8FromLatin1(
      "Gr\xFC\xDF"
      "e");
  EXPECT_EQ(utf8.str(),
            "Gr\xC3\xBC\xC3\x9F"
            "e");
  EXPECT_EQ(Quor::getLatin1FromUTF8Lossy(utf8),
            "Gr\xFC\xDF"
            "e");
  EXPECT_EQ(Quor::getLatin1FromUTF8Lossy(*Quor::UTF8String::FromString("a\xE2\x82\xAC"
                                                                       "b")),
            "a?b");
  EXPECT_FALSE(Quor::UTF8String::FromString("\xFF"));
}

TEST(BoundedInt, HoldsOnlyValuesInItsRange) {
  struct Tag {};
  using Id = Quor::BoundedInt<int, 1, 2, Tag>;
  EXPECT_EQ(Id(2).Get(), 2);
  EXPECT_THROW(Id(3), std::out_of_range);
  EXPECT_FALSE(Id::Create(0));
  EXPECT_EQ(*Id::Create(1), 1);
}

}  // namespace
