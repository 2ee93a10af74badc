#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "TevValueTestValues.h"

namespace {

TEST(TevTimeValidity, Dates) {
  const struct {
    int year, month, day;
    bool valid;
  } rows[] = {
      {2024, 2, 29, true},   {2023, 2, 29, false}, {2000, 2, 29, true},  {1900, 2, 29, false},
      {2100, 2, 29, false},  {2400, 2, 29, true},  {2023, 2, 28, true},  {2024, 2, 30, false},
      {2024, 1, 31, true},   {2024, 4, 31, false}, {2024, 6, 30, true},  {2024, 12, 31, true},
      {2024, 12, 32, false}, {2024, 13, 1, false}, {2024, 0, 1, false},  {2024, 1, 0, false},
      {1, 1, 1, true},       {0, 12, 31, false},   {9999, 12, 31, true}, {10000, 1, 1, false},
      {-1, 1, 1, false},     {2024, -1, 1, false}, {2024, 1, -1, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TEVTIME::IsValidDate(row.year, row.month, row.day), row.valid)
        << row.year << "-" << row.month << "-" << row.day;
  }
}

TEST(TevTimeValidity, Times) {
  const struct {
    int hour, minute, second;
    bool valid;
  } rows[] = {
      {0, 0, 0, true},   {23, 59, 59, true}, {24, 0, 0, false},
      {0, 60, 0, false}, {0, 0, 60, false},  {-1, 0, 0, false},
      {0, -1, 0, false}, {0, 0, -1, false},  {12, 30, 45, true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TEVTIME::IsValidTime(row.hour, row.minute, row.second), row.valid)
        << row.hour << ":" << row.minute << ":" << row.second;
  }
}

TEST(TevTimeSet, WeekdayMaskFollowsTheDate) {
  const struct {
    int year, month, day;
    uint16_t weekday;
  } rows[] = {
      {2024, 5, 13, TevWeekDays::MONDAY},    {2024, 5, 14, TevWeekDays::TUESDAY},
      {2024, 5, 15, TevWeekDays::WEDNESDAY}, {1970, 1, 1, TevWeekDays::THURSDAY},
      {2024, 5, 17, TevWeekDays::FRIDAY},    {2000, 1, 1, TevWeekDays::SATURDAY},
      {2024, 5, 19, TevWeekDays::SUNDAY},    {1, 1, 1, TevWeekDays::MONDAY},
      {1600, 2, 29, TevWeekDays::TUESDAY},   {9999, 12, 31, TevWeekDays::FRIDAY},
      {2023, 2, 29, TevWeekDays::NONE},      {0, 1, 1, TevWeekDays::NONE},
  };
  for (const auto& row : rows) {
    TEVTIME t;
    t.Clear(false);
    t.SetDate(static_cast<unsigned short>(row.year), static_cast<unsigned char>(row.month),
              static_cast<unsigned char>(row.day), true);
    EXPECT_EQ(t.weekday, row.weekday) << row.year << "-" << row.month << "-" << row.day;
    EXPECT_EQ(t.kind, 1);
    EXPECT_TRUE(t.localTime);
  }
}

TEST(TevTimeSet, SetDateKeepsTheTimeAndSetDateTimeZeroesHundredths) {
  TEVTIME t;
  t.Clear(true);
  t.hour = 13;
  t.minute = 45;
  t.second = 10;
  t.hundredths = 99;
  t.daylightSaving = true;
  t.SetDate(2024, 5, 17, false);
  EXPECT_EQ(t.year, 2024);
  EXPECT_EQ(t.month, 5);
  EXPECT_EQ(t.day, 17);
  EXPECT_EQ(t.hour, 13);
  EXPECT_EQ(t.hundredths, 99);
  EXPECT_FALSE(t.localTime);
  EXPECT_TRUE(t.daylightSaving);

  t.SetDateTime(1999, 12, 31, 23, 59, 58, true);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.minute, 59);
  EXPECT_EQ(t.second, 58);
  EXPECT_EQ(t.hundredths, 0);
  EXPECT_EQ(t.weekday, TevWeekDays::FRIDAY);
  EXPECT_TRUE(t.localTime);
}

TEST(TevTimeTm, FieldsAndDerivedDays) {
  const std::tm tm = TevTest::Time(2024, 12, 31, 13, 45, 10).ToTm();
  EXPECT_EQ(tm.tm_year, 124);
  EXPECT_EQ(tm.tm_mon, 11);
  EXPECT_EQ(tm.tm_mday, 31);
  EXPECT_EQ(tm.tm_hour, 13);
  EXPECT_EQ(tm.tm_min, 45);
  EXPECT_EQ(tm.tm_sec, 10);
  EXPECT_EQ(tm.tm_isdst, -1);
  EXPECT_EQ(tm.tm_wday, 2);  // Tuesday
  EXPECT_EQ(tm.tm_yday, 365);
  EXPECT_EQ(TevTest::Time(2023, 3, 1, 0, 0, 0).ToTm().tm_yday, 59);
}

// Runs in fixed POSIX zones (no zone database needed) and restores the caller's zone.
class TevTimeSeconds : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    m_hadZone = tz != nullptr;
    m_zone = m_hadZone ? tz : "";
    UseZone("CET-1CEST,M3.5.0,M10.5.0/3");
  }

  void TearDown() override {
    if (m_hadZone) {
      setenv("TZ", m_zone.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

  static void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }

 private:
  bool m_hadZone = false;
  std::string m_zone;
};

TEST_F(TevTimeSeconds, BreaksDownInLocalTime) {
  const struct {
    long seconds;
    int year, month, day, hour, minute, second;
    uint16_t weekday;
    bool dst;
  } rows[] = {
      {1715946310L, 2024, 5, 17, 13, 45, 10, TevWeekDays::FRIDAY, true},  // 11:45:10 UTC
      {1704067200L, 2024, 1, 1, 1, 0, 0, TevWeekDays::MONDAY, false},
      {0L, 1970, 1, 1, 1, 0, 0, TevWeekDays::THURSDAY, false},
      {1711846799L, 2024, 3, 31, 1, 59, 59, TevWeekDays::SUNDAY, false},  // before the switch
      {1711846800L, 2024, 3, 31, 3, 0, 0, TevWeekDays::SUNDAY, true},
      {2147483647L, 2038, 1, 19, 4, 14, 7, TevWeekDays::TUESDAY, false},
      {-2147483647L - 1, 1901, 12, 13, 21, 45, 52, TevWeekDays::FRIDAY, false},
  };
  for (const auto& row : rows) {
    TEVTIME t;
    t.Clear(false);
    t.hundredths = 50;
    t = row.seconds;
    EXPECT_EQ(t.year, row.year) << row.seconds;
    EXPECT_EQ(t.month, row.month) << row.seconds;
    EXPECT_EQ(t.day, row.day) << row.seconds;
    EXPECT_EQ(t.hour, row.hour) << row.seconds;
    EXPECT_EQ(t.minute, row.minute) << row.seconds;
    EXPECT_EQ(t.second, row.second) << row.seconds;
    EXPECT_EQ(t.hundredths, 0) << row.seconds;
    EXPECT_EQ(t.weekday, row.weekday) << row.seconds;
    EXPECT_EQ(t.kind, 1) << row.seconds;
    EXPECT_TRUE(t.localTime) << row.seconds;
    EXPECT_EQ(t.daylightSaving, row.dst) << row.seconds;
  }
}

TEST_F(TevTimeSeconds, IsTheInverseOfMktime) {
  for (long seconds = -86400L * 365; seconds < 86400L * 365 * 60; seconds += 86400L * 17 + 3607) {
    TEVTIME t;
    t = seconds;
    std::tm tm = t.ToTm();
    tm.tm_isdst = t.daylightSaving ? 1 : 0;  // the hour repeated in autumn needs the flag
    EXPECT_EQ(static_cast<long>(std::mktime(&tm)), seconds);
  }
}

TEST_F(TevTimeSeconds, FollowsTheZone) {
  UseZone("UTC0");
  TEVTIME t;
  t = 1715946310L;
  EXPECT_EQ(t.hour, 11);
  EXPECT_FALSE(t.daylightSaving);
}

}  // namespace
