#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <log4cplus/consoleappender.h>
#include <log4cplus/logger.h>

#include "QuorObjectModel/KnxConverter.h"
#include "QuorObjectModel/TimeOfDay.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace {

using namespace QuorTest;

using testing::ElementsAre;
using testing::Pair;
using testing::StartsWith;

// Storage a refused FromKnxValue must leave alone.
const TEVVALUE kUntouched = Time(tvtDate, 1234, 5, 6);

// The filled table's rows show the upper year and the reserved and invalid fields; short data
// never gets past the table's size check.
TEST(Date, LowerYearWrongTypeAndShortData) {
  Quor::KnxConverterDate date;
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  KnxStack::GroupValue group;
  EXPECT_FALSE(date.ToKnxValue({24, 11, 1}, Time(tvtDate, 1989, 12, 31), group));
  EXPECT_FALSE(date.ToKnxValue({24, 5, 2}, Time(tvtString, 2024, 5, 17), group));
  TEVVALUE value = kUntouched;
  EXPECT_FALSE(date.FromKnxValue({24, 11, 1}, Group({0xFF, 0xFF, 0xFF}, 24), value));
  EXPECT_FALSE(date.FromKnxValue({24, 11, 1}, Group({17, 5}, 16), value));
  EXPECT_FALSE(date.FromKnxValue({24, 11, 1}, Group({4, 1, 0x64}, 24), value));  // year field 100
  EXPECT_FALSE(Quor::KnxConverterDateTime().FromKnxValue({64, 19, 1},
                                                         Group({124, 5, 17, 13, 45}, 40), value));
  EXPECT_EQ(value.value.timeValue.year, 1234);
  const auto exception =
      Pair(log4cplus::ERROR_LOG_LEVEL, StartsWith("Exception caught during conversion of date: "));
  EXPECT_THAT(
      capture.Lines(),
      ElementsAre(
          Pair(log4cplus::ERROR_LOG_LEVEL,
               "Cannot convert the date outside of the range [1990...2089]: "
               "year=1989, month=12, day=31"),
          Pair(log4cplus::ERROR_LOG_LEVEL,
               "Wrong DPT main number (11.001) or tev value type (tvtDate)!"),
          Pair(log4cplus::ERROR_LOG_LEVEL, "No valid Date datagram, reserved fields are not zero!"),
          exception, exception,
          Pair(log4cplus::ERROR_LOG_LEVEL,
               StartsWith("Exception caught during conversion of date and time: "))));
}

TEST(Weekday, MasksAndDayNumbers) {
  const uint16_t masks[] = {0, 1, 2, 4, 8, 16, 32, 64};
  for (unsigned day = 0; day < 8; ++day) {
    EXPECT_EQ(QuorApp::ToTevWeekday(static_cast<QuorApp::DayOfWeek>(day)), masks[day]);
    EXPECT_EQ(
        QuorApp::FromTevTime(Time(tvtDayTime, 0, 0, 0, 13, 45, 10, masks[day]).value.timeValue)
            ->GetWeekday(),
        day);
  }
  for (const uint16_t notOneDay : {3, 128, 0xFFFF}) {
    EXPECT_EQ(QuorApp::FromTevTime(Time(tvtDayTime, 0, 0, 0, 13, 45, 10, notOneDay).value.timeValue)
                  ->GetWeekday(),
              QuorApp::NoDay);
  }
  EXPECT_FALSE(QuorApp::FromTevTime(Time(tvtDayTime, 0, 0, 0, 24, 0, 0).value.timeValue));
}

TEST(WeekdayDeathTest, DayNumberAboveSevenEndsTheProcess) {
  EXPECT_DEATH(
      {
        log4cplus::Logger::getRoot().addAppender(
            log4cplus::SharedAppenderPtr(new log4cplus::ConsoleAppender(true, true)));
        QuorApp::ToTevWeekday(static_cast<QuorApp::DayOfWeek>(8));
      },
      "This statement should not be executed\\. There is a bug somewhere around "
      ".*TimeOfDay\\.cpp:[0-9]+");
}

}  // namespace
