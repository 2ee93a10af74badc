#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "QuorObjectModel/KnxConverter.h"
#include "Support/LogCapture.h"
#include "TestValues.h"

namespace {

using namespace TextDateTest;
using QuorTest::LogCapture;
using testing::ElementsAre;
using testing::Pair;
using testing::StartsWith;

constexpr int kDebug = log4cplus::DEBUG_LOG_LEVEL;
constexpr int kError = log4cplus::ERROR_LOG_LEVEL;

const KNXDPT kDate{24, 11, 1};
const KNXDPT kTimeOfDay{24, 10, 1};
const KNXDPT kDateTime{64, 19, 1};

// A value whose storage must survive a refused FromKnxValue.
TEVVALUE Untouched(TevValueType tvt) {
  return MakeTime(tvt, 1234, 5, 6, 7, 8, 9);
}

void ExpectUntouched(const TEVVALUE& value, TevValueType tvt) {
  EXPECT_EQ(value.tvt, tvt);
  EXPECT_EQ(value.value.timeValue.year, 1234);
  EXPECT_EQ(value.value.timeValue.second, 9);
}

// --- DPT 11.001 ---

TEST(Date, LastYearOfTheRangeIsSentAndReceived) {
  const Quor::KnxConverterDate converter;
  KnxStack::GroupValue group;
  ASSERT_TRUE(converter.ToKnxValue(kDate, MakeTime(tvtDate, 2089, 12, 31), group));
  EXPECT_EQ(RawBytes(group), (Bytes{31, 12, 89}));

  TEVVALUE value(tvtEmpty);
  ASSERT_TRUE(converter.FromKnxValue(kDate, group, value));
  EXPECT_EQ(value.tvt, tvtDate);
  EXPECT_EQ(value.value.timeValue.year, 2089);
  EXPECT_EQ(value.value.timeValue.month, 12);
  EXPECT_EQ(value.value.timeValue.day, 31);
  EXPECT_TRUE(value.value.timeValue.localTime);
}

TEST(Date, YearsOutsideTheRangeAreRefused) {
  const Quor::KnxConverterDate converter;
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  KnxStack::GroupValue group;
  EXPECT_FALSE(converter.ToKnxValue(kDate, MakeTime(tvtDate, 2090, 1, 1), group));
  EXPECT_FALSE(converter.ToKnxValue(kDate, MakeTime(tvtDate, 1989, 12, 31), group));
  EXPECT_TRUE(converter.ToKnxValue(kDate, MakeTime(tvtDate, 1990, 1, 1), group));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError,
                               "Cannot convert the date outside of the range [1990...2089]: "
                               "year=2090, month=1, day=1"),
                          Pair(kError,
                               "Cannot convert the date outside of the range [1990...2089]: "
                               "year=1989, month=12, day=31")));
}

TEST(Date, PermissiveTypeCheck) {
  const Quor::KnxConverterDate converter;
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  KnxStack::GroupValue group;
  // Any one of main number, sub number and value type lets the value through.
  EXPECT_TRUE(converter.ToKnxValue(KNXDPT{24, 5, 1}, MakeTime(tvtString, 2024, 5, 17), group));
  EXPECT_FALSE(converter.ToKnxValue(KNXDPT{24, 5, 2}, MakeTime(tvtString, 2024, 5, 17), group));
  TEVVALUE value = Untouched(tvtDate);
  EXPECT_FALSE(converter.FromKnxValue(KNXDPT{24, 5, 2}, MakeGroup({17, 5, 24}, 24), value));
  EXPECT_THAT(
      capture.Lines(),
      ElementsAre(Pair(kError, "Wrong DPT main number (11.001) or tev value type (tvtDate)!"),
                  Pair(kError, "Wrong DPT main number (11.001)!")));
  ExpectUntouched(value, tvtDate);
}

TEST(Date, ReservedBitsAreRefusedBeforeValidation) {
  const Quor::KnxConverterDate converter;
  const Bytes withReservedBit[] = {{0xFF, 0xFF, 0xFF}, {0x20, 0, 0}, {17, 0x10, 24}, {17, 5, 0x80}};
  for (const auto& bytes : withReservedBit) {
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    TEVVALUE value = Untouched(tvtDate);
    EXPECT_FALSE(converter.FromKnxValue(kDate, MakeGroup(bytes, 24), value));
    EXPECT_THAT(capture.Lines(),
                ElementsAre(Pair(kError, "No valid Date datagram, reserved fields are not zero!")));
    ExpectUntouched(value, tvtDate);
  }
}

TEST(Date, InvalidReceivedDateIsRefused) {
  const Quor::KnxConverterDate converter;
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  TEVVALUE value = Untouched(tvtDate);
  EXPECT_FALSE(converter.FromKnxValue(kDate, MakeGroup({31, 2, 24}, 24), value));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError, "Cannot convert invalid date: year=2024, month=2, day=31")));
  ExpectUntouched(value, tvtDate);
}

TEST(Date, StackExceptionIsCaughtAndLogged) {
  const Quor::KnxConverterDate converter;
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  TEVVALUE value = Untouched(tvtDate);
  EXPECT_FALSE(converter.FromKnxValue(kDate, MakeGroup({17, 5}, 16), value));
  const auto lines = capture.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].first, kError);
  EXPECT_THAT(lines[0].second, StartsWith("Exception caught during conversion of date: "));
  ExpectUntouched(value, tvtDate);
}

// --- DPT 10.001 ---

TEST(TimeOfDay, SendsHourMinuteSecondAndWeekday) {
  const Quor::KnxConverterTimeOfDay converter;
  TEVVALUE value = MakeTime(tvtDayTime, 2000, 1, 1, 13, 45, 10);
  value.value.timeValue.weekday = TevWeekDays::FRIDAY;
  KnxStack::GroupValue group;
  ASSERT_TRUE(converter.ToKnxValue(kTimeOfDay, value, group));
  EXPECT_EQ(RawBytes(group), (Bytes{(5 << 5) | 13, 45, 10}));
  EXPECT_EQ(group.GetDefinedSize(), 24u);
}

TEST(TimeOfDay, InvalidTimeNamesEveryTevTimeField) {
  const Quor::KnxConverterTimeOfDay converter;
  TEVVALUE value = MakeTime(tvtDayTime, 2000, 1, 1, 24, 0, 0);
  value.value.timeValue.weekday = TevWeekDays::FRIDAY;
  value.value.timeValue.kind = 1;
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  KnxStack::GroupValue group;
  EXPECT_FALSE(converter.ToKnxValue(kTimeOfDay, value, group));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError,
                               "Could not convert TEVTIME 2000 1 1 24 0 0 0 16 1 1 0 "
                               "to TimeOfDay")));
}

TEST(TimeOfDay, ReceivesIntoFixedDateWithWeekdayMask) {
  const Quor::KnxConverterTimeOfDay converter;
  TEVVALUE value(tvtEmpty);
  ASSERT_TRUE(converter.FromKnxValue(kTimeOfDay, MakeGroup({(5 << 5) | 13, 45, 10}, 24), value));
  EXPECT_EQ(value.tvt, tvtDayTime);
  const TEVTIME& time = value.value.timeValue;
  EXPECT_EQ(time.year, 2000);
  EXPECT_EQ(time.month, 1);
  EXPECT_EQ(time.day, 1);
  EXPECT_EQ(time.hour, 13);
  EXPECT_EQ(time.minute, 45);
  EXPECT_EQ(time.second, 10);
  EXPECT_EQ(time.hundredths, 0);
  EXPECT_EQ(time.weekday, TevWeekDays::FRIDAY);
  EXPECT_EQ(time.kind, 1);
  EXPECT_FALSE(time.localTime);
  EXPECT_FALSE(time.daylightSaving);
}

TEST(TimeOfDay, ReceivedRefusals) {
  const Quor::KnxConverterTimeOfDay converter;
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  TEVVALUE value = Untouched(tvtDayTime);
  // Bit 6 of the minutes byte is reserved.
  EXPECT_FALSE(converter.FromKnxValue(kTimeOfDay, MakeGroup({13, 0x40 | 45, 10}, 24), value));
  EXPECT_FALSE(converter.FromKnxValue(kTimeOfDay, MakeGroup({24, 0, 0}, 24), value));
  EXPECT_FALSE(converter.FromKnxValue(KNXDPT{24, 9, 2}, MakeGroup({13, 45, 10}, 24), value));
  EXPECT_THAT(
      capture.Lines(),
      ElementsAre(Pair(kError, "No valid TimeOfDay datagram, reserved fields are not zero!"),
                  Pair(kError, "No valid TimeOfDay (10.001)!"),
                  Pair(kError, "Wrong DPT main number (10.001)!")));
  ExpectUntouched(value, tvtDayTime);
}

TEST(TimeOfDay, TraceComesFirst) {
  const Quor::KnxConverterTimeOfDay converter;
  LogCapture capture;
  TEVVALUE value(tvtDayTime);
  converter.FromKnxValue(kTimeOfDay, MakeGroup({13, 45, 10}, 24), value);
  const auto lines = capture.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], std::make_pair(kDebug, std::string("DPT is used. DPT = 10.1 grp.size=24 "
                                                         "grp.val=0d 2d 0a")));
}

// --- DPT 19.001 ---

TEST(DateTime, SendsEightBytesWithoutWeekday) {
  const Quor::KnxConverterDateTime converter;
  LogCapture capture;
  KnxStack::GroupValue group;
  ASSERT_TRUE(
      converter.ToKnxValue(kDateTime, MakeTime(tvtDateTime, 2024, 5, 17, 13, 45, 10), group));
  EXPECT_EQ(RawBytes(group), (Bytes{0x7C, 0x05, 0x11, 0x0D, 0x2D, 0x0A, 0x20, 0x00}));
  EXPECT_EQ(group.GetDefinedSize(), 64u);
  EXPECT_TRUE(capture.Lines().empty());  // no trace for this family
}

TEST(DateTime, YearsOutsideTheRangeAreRefused) {
  const Quor::KnxConverterDateTime converter;
  LogCapture capture;
  KnxStack::GroupValue group;
  EXPECT_FALSE(converter.ToKnxValue(kDateTime, MakeTime(tvtDateTime, 2156, 1, 1), group));
  EXPECT_FALSE(converter.ToKnxValue(kDateTime, MakeTime(tvtDateTime, 1899, 12, 31), group));
  EXPECT_TRUE(converter.ToKnxValue(kDateTime, MakeTime(tvtDateTime, 2155, 12, 31), group));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError,
                               "Cannot convert the date and time outside of the range "
                               "[1900...2155]: year=2156"),
                          Pair(kError,
                               "Cannot convert the date and time outside of the range "
                               "[1900...2155]: year=1899")));
}

TEST(DateTime, ReceivesMaskedFieldsAndIgnoresFlags) {
  const Quor::KnxConverterDateTime converter;
  TEVVALUE value(tvtDateTime);
  // Weekday bits in the hour byte and the flag bytes are not looked at.
  ASSERT_TRUE(converter.FromKnxValue(
      kDateTime, MakeGroup({124, 5, 17, (3 << 5) | 13, 45, 10, 0xFF, 0xFF}, 64), value));
  EXPECT_EQ(value.tvt, tvtDateTime);
  const TEVTIME& time = value.value.timeValue;
  EXPECT_EQ(time.year, 2024);
  EXPECT_EQ(time.month, 5);
  EXPECT_EQ(time.day, 17);
  EXPECT_EQ(time.hour, 13);
  EXPECT_EQ(time.minute, 45);
  EXPECT_EQ(time.second, 10);
  EXPECT_EQ(time.weekday, TevWeekDays::FRIDAY);  // derived from the date
  EXPECT_TRUE(time.localTime);
}

TEST(DateTime, ReceivedRefusals) {
  const Quor::KnxConverterDateTime converter;
  LogCapture capture;
  TEVVALUE value = Untouched(tvtDateTime);
  EXPECT_FALSE(
      converter.FromKnxValue(kDateTime, MakeGroup({124, 13, 17, 13, 45, 10, 0x20, 0}, 64), value));
  EXPECT_FALSE(converter.FromKnxValue(kDateTime, MakeGroup({124, 5, 17, 13, 45}, 40), value));
  const auto lines = capture.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::make_pair(kError, std::string("Cannot convert invalid date and time: "
                                                         "year=2024, month=13, day=17, hour=13, "
                                                         "minute=45, second=10")));
  EXPECT_EQ(lines[1].first, kError);
  EXPECT_THAT(lines[1].second, StartsWith("Exception caught during conversion of date and time: "));
  ExpectUntouched(value, tvtDateTime);
}

}  // namespace
