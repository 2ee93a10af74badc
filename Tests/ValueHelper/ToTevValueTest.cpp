#include <cstdint>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time.hpp>

#include <Quor/TevValueHelper.h>

#include "QuorObjectModel/TimeOfDay.h"
#include "Support/ScopedTimeZone.h"

namespace {

using boost::gregorian::date;
using boost::posix_time::ptime;
using boost::posix_time::time_duration;

// Made values carry the state word of a typed value and no text unless they are text.
void ExpectPlainMade(const TEVVALUE& value, TevValueType tvt) {
  EXPECT_EQ(value.tvt, tvt);
  EXPECT_EQ(value.state, 2);
}

TEST(ToTevValue, NumbersTakeTheirNaturalTypeAndStorage) {
  const TEVVALUE b = Quor::ToTevValue<bool>(true, tvtBoolean);
  ExpectPlainMade(b, tvtBoolean);
  EXPECT_TRUE(b.value.boolValue);
  EXPECT_TRUE(b.stringValue.empty());

  const TEVVALUE byte = Quor::ToTevValue<unsigned char>(200, tvtByte);
  ExpectPlainMade(byte, tvtByte);
  EXPECT_EQ(byte.value.byteValue, 200);

  // Zero-extended: the upper half of the 32 bits stays clear.
  const TEVVALUE word = Quor::ToTevValue<unsigned short>(65535, tvtWord);
  ExpectPlainMade(word, tvtWord);
  EXPECT_EQ(word.value.dwordValue, 65535u);

  const TEVVALUE dword = Quor::ToTevValue<unsigned long>(4294967295ul, tvtDWord);
  ExpectPlainMade(dword, tvtDWord);
  EXPECT_EQ(dword.value.dwordValue, 4294967295u);

  // Sign-extended to all 32 bits.
  const TEVVALUE shortValue = Quor::ToTevValue<short>(-1, tvtInteger);
  ExpectPlainMade(shortValue, tvtInteger);
  EXPECT_EQ(shortValue.value.intValue, -1);
  EXPECT_EQ(shortValue.value.dwordValue, 0xFFFFFFFFu);

  const TEVVALUE longValue = Quor::ToTevValue<long>(-2147483648l, tvtInteger);
  ExpectPlainMade(longValue, tvtInteger);
  EXPECT_EQ(longValue.value.intValue, INT32_MIN);

  const TEVVALUE floatValue = Quor::ToTevValue<float>(0.1f, tvtFloat);
  ExpectPlainMade(floatValue, tvtFloat);
  EXPECT_EQ(floatValue.value.doubleValue, static_cast<double>(0.1f));

  const TEVVALUE doubleValue = Quor::ToTevValue<double>(-273.15, tvtFloat);
  ExpectPlainMade(doubleValue, tvtFloat);
  EXPECT_EQ(doubleValue.value.doubleValue, -273.15);
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

void ExpectTime(const TEVTIME& t, int year, int month, int day, int hour, int minute, int second) {
  EXPECT_EQ(t.year, year);
  EXPECT_EQ(t.month, month);
  EXPECT_EQ(t.day, day);
  EXPECT_EQ(t.hour, hour);
  EXPECT_EQ(t.minute, minute);
  EXPECT_EQ(t.second, second);
}

TEST(ToTevValueDateTime, TakesTheGivenTypeUncheckedUpToTheLast32BitSecond) {
  const QuorTest::ScopedTimeZone zone(QuorTest::kUtcZone);
  const ptime last(date(2038, 1, 19), time_duration(3, 14, 7));

  const TEVVALUE atLimit = Quor::ToTevValue(last, tvtDateTime);
  EXPECT_EQ(atLimit.tvt, tvtDateTime);
  EXPECT_EQ(atLimit.state, 0);  // that of the default value
  ExpectTime(atLimit.value.timeValue, 2038, 1, 19, 3, 14, 7);

  const TEVVALUE epoch = Quor::ToTevValue(ptime(date(1970, 1, 1)), tvtDate);
  EXPECT_EQ(epoch.tvt, tvtDate);
  ExpectTime(epoch.value.timeValue, 1970, 1, 1, 0, 0, 0);
  EXPECT_EQ(epoch.value.timeValue.weekday, TevWeekDays::THURSDAY);

  EXPECT_EQ(Quor::ToTevValue(last, tvtBoolean).tvt, tvtBoolean);

  // No lower bound, but the device's 32-bit mktime cannot count a second before
  // 1901-12-13 20:45:52 and answers -1: the second before 1970. The host answers alike.
  const ptime first(date(1901, 12, 13), time_duration(20, 45, 52));
  ExpectTime(Quor::ToTevValue(first, tvtDateTime).value.timeValue, 1901, 12, 13, 20, 45, 52);
  for (const ptime& early : {first - boost::posix_time::seconds(1), ptime(date(1900, 1, 1))}) {
    const TEVVALUE old = Quor::ToTevValue(early, tvtDateTime);
    EXPECT_EQ(old.tvt, tvtDateTime);
    ExpectTime(old.value.timeValue, 1969, 12, 31, 23, 59, 59);
  }
}

TEST(ToTevValueDateTime, AfterTheLast32BitSecondGivesTheEmptyValue) {
  const QuorTest::ScopedTimeZone zone(QuorTest::kUtcZone);
  const TEVVALUE empty;
  for (const ptime& late :
       {ptime(date(2038, 1, 19), time_duration(3, 14, 8)), ptime(date(9999, 12, 31)),
        ptime(boost::posix_time::pos_infin), ptime(boost::posix_time::not_a_date_time)}) {
    const TEVVALUE value = Quor::ToTevValue(late, tvtDateTime);
    EXPECT_EQ(value.tvt, tvtEmpty) << late;
    EXPECT_EQ(value.state, empty.state);
    ExpectTime(value.value.timeValue, 0, 0, 0, 0, 0, 0);
  }
}

// The ptime is local time: mktime turns it into seconds, the TEVTIME breaks them down again in
// local time, so the fields come back as given, with the zone's daylight-saving flag.
TEST(ToTevValueDateTime, ReadsTheTimeAsLocalTime) {
  const QuorTest::ScopedTimeZone zone(QuorTest::kCentralEuropeZone);

  const TEVVALUE summer =
      Quor::ToTevValue(ptime(date(2024, 7, 1), time_duration(12, 0, 0)), tvtDateTime);
  ExpectTime(summer.value.timeValue, 2024, 7, 1, 12, 0, 0);
  EXPECT_TRUE(summer.value.timeValue.daylightSaving);
  EXPECT_TRUE(summer.value.timeValue.localTime);

  const TEVVALUE winter =
      Quor::ToTevValue(ptime(date(2024, 1, 15), time_duration(8, 30, 0)), tvtDateTime);
  ExpectTime(winter.value.timeValue, 2024, 1, 15, 8, 30, 0);
  EXPECT_FALSE(winter.value.timeValue.daylightSaving);

  // The limit is on the given time, not on UTC: an hour before UTC's limit is still taken.
  const TEVVALUE atLimit =
      Quor::ToTevValue(ptime(date(2038, 1, 19), time_duration(3, 14, 7)), tvtDateTime);
  EXPECT_EQ(atLimit.tvt, tvtDateTime);
  ExpectTime(atLimit.value.timeValue, 2038, 1, 19, 3, 14, 7);
}

TEST(ToTevValueTimeOfDay, DatedFirstOfJanuary2000WithTheWeekdayMask) {
  const auto time = QuorApp::TimeOfDay::Create(8, 30, 0, QuorApp::Friday);
  ASSERT_TRUE(time);
  const TEVVALUE value = Quor::ToTevValue(*time, tvtDayTime);
  EXPECT_EQ(value.tvt, tvtDayTime);
  EXPECT_EQ(value.state, 0);
  const TEVTIME& t = value.value.timeValue;
  ExpectTime(t, 2000, 1, 1, 8, 30, 0);
  EXPECT_EQ(t.hundredths, 0);
  EXPECT_EQ(t.weekday, TevWeekDays::FRIDAY);
  EXPECT_EQ(t.kind, 1);
  EXPECT_FALSE(t.localTime);
  EXPECT_FALSE(t.daylightSaving);

  const auto back = QuorApp::FromTevTime(t);
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
