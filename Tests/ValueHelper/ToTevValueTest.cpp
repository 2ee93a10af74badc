#include <cstdint>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time.hpp>

#include <Quor/TevValueHelper.h>

#include "QuorObjectModel/TimeOfDay.h"
#include "Support/ScopedTimeZone.h"
#include "Support/Values.h"

namespace {

using boost::gregorian::date;
using boost::posix_time::ptime;
using boost::posix_time::time_duration;

using namespace QuorTest;

TEST(ToTevValue, NumbersTakeTheirNaturalTypeStateAndStorage) {
  const std::pair<TEVVALUE, TEVVALUE> cases[] = {
      {Quor::ToTevValue<bool>(true, tvtBoolean), Boolean(true)},
      {Quor::ToTevValue<unsigned char>(200, tvtByte), Byte(200)},
      {Quor::ToTevValue<unsigned short>(65535, tvtWord), Word(65535)},  // zero-extended
      {Quor::ToTevValue<unsigned long>(4294967295ul, tvtDWord), DWord(4294967295u)},
      {Quor::ToTevValue<short>(-1, tvtInteger), Integer(-1)},  // sign-extended to 32 bits
      {Quor::ToTevValue<long>(-2147483648l, tvtInteger), Integer(INT32_MIN)},
      {Quor::ToTevValue<float>(0.1f, tvtFloat), Float(0.1f)},
      {Quor::ToTevValue<double>(-273.15, tvtFloat), Float(-273.15)},
  };
  for (const auto& [made, expected] : cases) {
    EXPECT_TRUE(Same(expected, made));
  }
}

TEST(ToTevValueDeathTest, WrongExpectedTypeEndsTheProcess) {
  EXPECT_DEATH(Quor::ToTevValue<unsigned char>(1, tvtWord),
               "ToTevValue .*TevValueHelper\\.cpp:[0-9]+ QUOR_ASSERT2\\(result\\.tvt == "
               "expectedType\\) failed");
  EXPECT_DEATH(Quor::ToTevValue<short>(1, tvtWord),
               "QUOR_ASSERT2\\(result\\.tvt == expectedType\\)");
  EXPECT_DEATH(Quor::ToTevValue<double>(1.0, tvtInteger),
               "QUOR_ASSERT2\\(result\\.tvt == expectedType\\)");
  EXPECT_DEATH(Quor::ToTevValue<std::string>("a", tvtInteger),
               "QUOR_ASSERT2\\(result\\.tvt == expectedType\\)");
}

TEST(ToTevValueDeathTest, TextThatIsNotUtf8EndsTheProcess) {
  EXPECT_DEATH(Quor::ToTevValue(std::string("a\xFF"), tvtString),
               "ToTevValue .*TevValueHelper\\.cpp:[0-9]+ QUOR_ASSERT2\\(utf8::is_valid\\(value\\."
               "begin\\(\\), value\\.end\\(\\)\\)\\) failed");
}

// The ptime is local time: mktime turns it into seconds and the TEVTIME breaks them down again
// in local time, so the fields come back as given, with the zone's daylight-saving flag. The
// 32-bit limit is on the given time, not on UTC. The device's mktime cannot count a second
// before 1901-12-13 20:45:52 and answers -1, the second before 1970; the host answers alike.
TEST(ToTevValueDateTime, LocalFieldsUpToTheLast32BitSecondThenTheEmptyValue) {
  const ptime last(date(2038, 1, 19), time_duration(3, 14, 7));
  const ptime first(date(1901, 12, 13), time_duration(20, 45, 52));
  const std::string empty = Show(TEVVALUE());
  const struct {
    const char* zone;
    ptime given;
    TevValueType tvt;
    std::string expected;
  } cases[] = {
      {kUtcZone, last, tvtDateTime, Show(Time(tvtDateTime, 2038, 1, 19, 3, 14, 7, 2))},
      {kUtcZone, ptime(date(1970, 1, 1)), tvtDate, Show(Time(tvtDate, 1970, 1, 1, 0, 0, 0, 8))},
      {kUtcZone, first, tvtDateTime, Show(Time(tvtDateTime, 1901, 12, 13, 20, 45, 52, 16))},
      {kUtcZone, first - boost::posix_time::seconds(1), tvtDateTime,
       Show(Time(tvtDateTime, 1969, 12, 31, 23, 59, 59, 4))},
      {kUtcZone, ptime(date(1900, 1, 1)), tvtDateTime,
       Show(Time(tvtDateTime, 1969, 12, 31, 23, 59, 59, 4))},
      {kUtcZone, last + boost::posix_time::seconds(1), tvtDateTime, empty},
      {kUtcZone, ptime(date(9999, 12, 31)), tvtDateTime, empty},
      {kUtcZone, ptime(boost::posix_time::pos_infin), tvtDateTime, empty},
      {kUtcZone, ptime(boost::posix_time::not_a_date_time), tvtDateTime, empty},
      {kCentralEuropeZone, ptime(date(2024, 7, 1), time_duration(12, 0, 0)), tvtDateTime,
       Show(Time(tvtDateTime, 2024, 7, 1, 12, 0, 0, 1, true))},
      {kCentralEuropeZone, ptime(date(2024, 1, 15), time_duration(8, 30, 0)), tvtDateTime,
       Show(Time(tvtDateTime, 2024, 1, 15, 8, 30, 0, 1))},
      {kCentralEuropeZone, last, tvtDateTime, Show(Time(tvtDateTime, 2038, 1, 19, 3, 14, 7, 2))},
  };
  for (const auto& c : cases) {
    const ScopedTimeZone zone(c.zone);
    const TEVVALUE value = Quor::ToTevValue(c.given, c.tvt);
    EXPECT_EQ(Show(value), c.expected) << c.zone << " " << c.given;
    EXPECT_EQ(value.state, 0) << c.given;  // that of the default value
  }
  EXPECT_EQ(Quor::ToTevValue(last, tvtBoolean).tvt, tvtBoolean);  // the type is not checked
}

TEST(ToTevValueTimeOfDay, DatedFirstOfJanuary2000WithTheWeekdayMask) {
  const auto time = QuorApp::TimeOfDay::Create(8, 30, 0, QuorApp::Friday);
  ASSERT_TRUE(time);
  const TEVVALUE value = Quor::ToTevValue(*time, tvtDayTime);
  EXPECT_EQ(value.state, 0);
  EXPECT_EQ(Show(value), Show(DayTime(8, 30, 0, TevWeekDays::FRIDAY)));
  const auto back = QuorApp::FromTevTime(value.value.timeValue);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->GetHour(), 8);
  EXPECT_EQ(back->GetMinute(), 30);
  EXPECT_EQ(back->GetSecond(), 0);
  EXPECT_EQ(back->GetWeekday(), QuorApp::Friday);
}

TEST(ToTevValueTimeOfDayDeathTest, OnlyDayTimeIsAccepted) {
  const auto time = QuorApp::TimeOfDay::Create(0, 0, 0, QuorApp::NoDay);
  ASSERT_TRUE(time);
  EXPECT_DEATH(Quor::ToTevValue(*time, tvtTime),
               "ToTevValue .*TevValueHelper\\.cpp:[0-9]+ QUOR_ASSERT2\\(expectedType == "
               "tvtDayTime\\) failed");
}

}  // namespace
