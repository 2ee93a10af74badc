#include <gtest/gtest.h>

#include <log4cplus/consoleappender.h>
#include <log4cplus/logger.h>

#include "QuorObjectModel/TimeOfDay.h"

namespace {

TEST(FromTevTime, MapsSingleDayMasksAndNothingElse) {
  const struct {
    uint16_t mask;
    QuorApp::DayOfWeek day;
  } rows[] = {
      {0, QuorApp::NoDay},     {1, QuorApp::Monday},     {2, QuorApp::Tuesday},
      {4, QuorApp::Wednesday}, {8, QuorApp::Thursday},   {16, QuorApp::Friday},
      {32, QuorApp::Saturday}, {64, QuorApp::Sunday},    {3, QuorApp::NoDay},
      {128, QuorApp::NoDay},   {0xFFFF, QuorApp::NoDay},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.mask);
    TEVTIME time{};
    time.hour = 13;
    time.minute = 45;
    time.second = 10;
    time.weekday = row.mask;
    const auto timeOfDay = QuorApp::FromTevTime(time);
    ASSERT_TRUE(timeOfDay);
    EXPECT_EQ(timeOfDay->GetHour(), 13);
    EXPECT_EQ(timeOfDay->GetMinute(), 45);
    EXPECT_EQ(timeOfDay->GetSecond(), 10);
    EXPECT_EQ(timeOfDay->GetWeekday(), row.day);
  }
}

TEST(FromTevTime, InvalidTimeGivesNothing) {
  TEVTIME time{};
  time.hour = 24;
  EXPECT_FALSE(QuorApp::FromTevTime(time));
  time.hour = 23;
  time.second = 60;
  EXPECT_FALSE(QuorApp::FromTevTime(time));
}

TEST(ToTevWeekday, MapsDayNumbersToSingleBits) {
  const TevWeekDays::WEEK_DAY_TYPES masks[] = {
      TevWeekDays::NONE,     TevWeekDays::MONDAY, TevWeekDays::TUESDAY,  TevWeekDays::WEDNESDAY,
      TevWeekDays::THURSDAY, TevWeekDays::FRIDAY, TevWeekDays::SATURDAY, TevWeekDays::SUNDAY,
  };
  for (unsigned day = 0; day <= 7; ++day) {
    SCOPED_TRACE(day);
    const auto mask = QuorApp::ToTevWeekday(static_cast<QuorApp::DayOfWeek>(day));
    EXPECT_EQ(mask, masks[day]);
    TEVTIME time{};
    time.weekday = mask;
    EXPECT_EQ(QuorApp::FromTevTime(time)->GetWeekday(), day);
  }
}

TEST(ToTevWeekdayDeathTest, NumberAboveSevenEndsTheProcess) {
  const auto convertEight = [] {
    log4cplus::Logger::getRoot().addAppender(
        log4cplus::SharedAppenderPtr(new log4cplus::ConsoleAppender(true, true)));
    log4cplus::Logger::getRoot().setLogLevel(log4cplus::TRACE_LOG_LEVEL);
    QuorApp::ToTevWeekday(static_cast<QuorApp::DayOfWeek>(8));
  };
  EXPECT_DEATH(convertEight(),
               "This statement should not be executed\\. There is a bug somewhere around "
               ".*TimeOfDay\\.cpp:[0-9]+");
}

TEST(FormatTevTimeFields, AllFieldsInStorageOrder) {
  TEVTIME time{};
  time.year = 2024;
  time.month = 5;
  time.day = 17;
  time.hour = 13;
  time.minute = 45;
  time.second = 10;
  time.hundredths = 7;
  time.weekday = 16;
  time.kind = 1;
  time.localTime = true;
  time.daylightSaving = false;
  EXPECT_EQ(QuorApp::FormatTevTimeFields(time), "2024 5 17 13 45 10 7 16 1 1 0");
}

}  // namespace
