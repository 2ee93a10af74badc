#include <limits>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DirectTest.h"
#include "QuorObjectModel/GroupValueTevValue.h"

namespace {

using namespace DirectTest;
using QuorTest::LogCapture;
using testing::ElementsAre;
using testing::Pair;
using testing::StartsWith;

std::string Name(TevValueType tvt) {
  return TEVVALUE::GetNameFromValueType(tvt);
}

// ---- Sending --------------------------------------------------------------------------------

TEST(Encode, AValueOfAnotherTypeThanTheMainTypeExpectsIsRefused) {
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  EXPECT_FALSE(Quor::TevValueToGroupValue(Word(1), Dpt(1, 1)));
  // DPT 6.x carries bytes here, not the integers of the converter table.
  EXPECT_FALSE(Quor::TevValueToGroupValue(Integer(-1), Dpt(6, 10)));
  // A main type without a value type expects the empty value.
  EXPECT_FALSE(Quor::TevValueToGroupValue(Byte(1), Dpt(32, 1)));
  EXPECT_EQ(capture.Lines(), (Lines{Error("Value type mismatch: Expected '" + Name(tvtBoolean) +
                                          "', got '" + Name(tvtWord) + "'"),
                                    Error("Value type mismatch: Expected '" + Name(tvtByte) +
                                          "', got '" + Name(tvtInteger) + "'"),
                                    Error("Value type mismatch: Expected '" + Name(tvtEmpty) +
                                          "', got '" + Name(tvtByte) + "'")}));
}

TEST(Encode, NumbersBeyondSixteenBitsAreLoggedAndClamped) {
  const struct {
    unsigned long dpt;
    TEVVALUE value;
    Bytes bytes;
    std::string message;
  } cases[] = {
      {Dpt(7, 1), Word(70000), {0xFF, 0xFF}, "Value out of range: 70000 (DPT 7)"},
      {Dpt(234, 1), Word(65536), {0xFF, 0xFF}, "Value out of range: 65536 (DPT 234)"},
      {Dpt(8, 1), Integer(-40000), {0x80, 0x00}, "Value out of range: -40000 (DPT 8)"},
      {Dpt(8, 1), Integer(32768), {0x7F, 0xFF}, "Value out of range: 32768 (DPT 8)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    const auto group = Quor::TevValueToGroupValue(c.value, c.dpt);
    ASSERT_TRUE(group);
    EXPECT_EQ(RawBytes(*group), c.bytes);
    EXPECT_EQ(capture.Lines(), Lines{Error(c.message)});
  }
}

TEST(Encode, InfiniteFloatsAndScenesAbove63AreDroppedSilently) {
  LogCapture capture(log4cplus::TRACE_LOG_LEVEL);
  EXPECT_FALSE(
      Quor::TevValueToGroupValue(Float(std::numeric_limits<double>::infinity()), Dpt(9, 1)));
  EXPECT_FALSE(
      Quor::TevValueToGroupValue(Float(-std::numeric_limits<double>::infinity()), Dpt(9, 4)));
  EXPECT_FALSE(Quor::TevValueToGroupValue(Byte(64), Dpt(17, 1)));
  EXPECT_FALSE(Quor::TevValueToGroupValue(Byte(255), Dpt(17, 1)));
  EXPECT_EQ(capture.Lines(), Lines{});
}

TEST(Encode, TimesDatesAndTextsThatCannotBeSentAreRefused) {
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  EXPECT_FALSE(Quor::TevValueToGroupValue(DayTime(24, 0, 0, 16), Dpt(10, 1)));
  EXPECT_FALSE(
      Quor::TevValueToGroupValue(Time(tvtDate, 2023, 2, 29, 0, 0, 0, 0, false), Dpt(11, 1)));
  EXPECT_FALSE(
      Quor::TevValueToGroupValue(Time(tvtDate, 2024, 0, 1, 0, 0, 0, 0, false), Dpt(11, 1)));
  EXPECT_FALSE(Quor::TevValueToGroupValue(Text("a\xFF"), Dpt(16, 1)));
  EXPECT_EQ(capture.Lines(),
            (Lines{Error("Could not convert TEVTIME 2000 1 1 24 0 0 0 16 1 0 0 to TimeOfDay"),
                   Error("Not a valid date: 2023 2 29 "), Error("Not a valid date: 2024 0 1 "),
                   Error("Got TEVVALUE that contains a non-UTF8 string")}));
}

TEST(Encode, ADateTimeThatCannotBeBuiltIsSentAsTheInvalidMarker) {
  const Bytes invalid = {0, 0, 0, 0, 0, 0, 0xBE, 0};
  const struct {
    TEVVALUE value;
    std::string fields;
  } cases[] = {
      {Time(tvtDateTime, 2021, 2, 30, 10, 0, 0, 0, false), "2021 2 30 10 0 0 0 0 1 1 0"},
      {Time(tvtDateTime, 2021, 13, 1, 10, 0, 0, 0, false), "2021 13 1 10 0 0 0 0 1 1 0"},
      {Time(tvtDateTime, 2021, 1, 0, 10, 0, 0, 0, false), "2021 1 0 10 0 0 0 0 1 1 0"},
      {Time(tvtDateTime, 1399, 12, 31, 10, 0, 0, 0, false), "1399 12 31 10 0 0 0 0 1 1 0"},
      {Make(tvtDateTime, &TEVVALUE::Storage::timeValue, TEVTIME{}), "0 0 0 0 0 0 0 0 0 0 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fields);
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    const auto group = Quor::TevValueToGroupValue(c.value, Dpt(19, 1));
    ASSERT_TRUE(group);
    EXPECT_EQ(RawBytes(*group), invalid);
    EXPECT_EQ(group->GetDefinedSize(), 64u);
    EXPECT_THAT(capture.Lines(),
                ElementsAre(Pair(log4cplus::ERROR_LOG_LEVEL,
                                 StartsWith("Could not convert TEVTIME " + c.fields +
                                            " to a KNX date and time: "))));
  }
}

TEST(Encode, MainTypesWithoutAnEncodingAreNotSupported) {
  const struct {
    unsigned long dpt;
    TEVVALUE value;
  } cases[] = {
      {Dpt(31, 1), Byte(5)},      // decoded, but never sent
      {Dpt(24, 1), Text("a")},    // has a value type
      {Dpt(4, 1), TEVVALUE()},    // value type empty
      {Dpt(32, 1), TEVVALUE()},   // no value type at all
      {Dpt(0, 0), TEVVALUE()},    // no DPT
      {Dpt(236, 1), TEVVALUE()},  // in the converter table, not here
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(DptText(c.dpt));
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    EXPECT_FALSE(Quor::TevValueToGroupValue(c.value, c.dpt));
    EXPECT_THAT(capture.Lines(),
                ElementsAre(Pair(log4cplus::ERROR_LOG_LEVEL,
                                 StartsWith("Value type " + std::to_string(c.dpt >> 16) +
                                            " not supported (dwDPT=" + std::to_string(c.dpt) +
                                            " with value='tvt: "))));
  }
}

TEST(Encode, NotSupportedNamesTheWholeDptNumber) {
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  EXPECT_FALSE(Quor::TevValueToGroupValue(Byte(5), Dpt(31, 1)));
  EXPECT_EQ(capture.Lines(),
            Lines{Error("Value type 31 not supported (dwDPT=2031617 with value='tvt: 6, "
                        "ToString(): " +
                        Byte(5).ToString() + "').")});
}

TEST(Encode, ExceptionsOfTheStackPassToTheCaller) {
  EXPECT_THROW(Quor::TevValueToGroupValue(Byte(5), Dpt(2, 1)), KnxStack::GroupValueException);
  EXPECT_THROW(Quor::TevValueToGroupValue(Byte(16), Dpt(3, 7)), KnxStack::GroupValueException);
  EXPECT_THROW(Quor::TevValueToGroupValue(Float(1e9), Dpt(9, 1)), KnxStack::GroupValueException);
  EXPECT_THROW(
      Quor::TevValueToGroupValue(Time(tvtDate, 1989, 12, 31, 0, 0, 0, 0, false), Dpt(11, 1)),
      KnxStack::GroupValueException);
}

// ---- Receiving ------------------------------------------------------------------------------

TEST(Decode, DptsWithoutAValueTypeAreUnsupportedAndNotChecked) {
  LogCapture capture(log4cplus::TRACE_LOG_LEVEL);
  for (const unsigned long dpt : {Dpt(99, 1), Dpt(4, 1), Dpt(29, 12), Dpt(219, 1), Dpt(0, 0)}) {
    EXPECT_FALSE(Quor::GroupValueToTevValue(Group({0x01}, 8), dpt));
  }
  EXPECT_EQ(LinesOf(capture),
            (Lines{Error("Unsupported DPT: 99.1"), Error("Unsupported DPT: 4.1"),
                   Error("Unsupported DPT: 29.12"), Error("Unsupported DPT: 219.1"),
                   Error("Unsupported DPT: 0.0")}));
}

TEST(Decode, ValuesTheConverterTableRefusesAreInvalid) {
  const struct {
    unsigned long dpt;
    Bytes bytes;
    unsigned int bits;
    std::string message;
  } cases[] = {
      {Dpt(5, 1), {0x00, 0x01}, 16, "Received invalid value 00 01 for DPT 5.1"},
      // What DPT 23 sends is 2 bits, what the table expects back is 8.
      {Dpt(23, 1), {0x02}, 2, "Received invalid value 02 for DPT 23.1"},
      {Dpt(10, 1), {24, 0, 0}, 24, "Received invalid value 18 00 00 for DPT 10.1"},
      {Dpt(11, 1), {31, 2, 24}, 24, "Received invalid value 1f 02 18 for DPT 11.1"},
      {Dpt(11, 1), {0, 1, 24}, 24, "Received invalid value 00 01 18 for DPT 11.1"},
      {Dpt(19, 1),
       {121, 2, 30, 0, 0, 0, 0x20, 0},
       64,
       "Received invalid value 79 02 1e 00 00 00 20 00 for DPT 19.1"},
      {Dpt(19, 1),
       {121, 2, 1, 24, 0, 0, 0x20, 0},
       64,
       "Received invalid value 79 02 01 18 00 00 20 00 for DPT 19.1"},
      {Dpt(17, 1), {64}, 8, "Received invalid value 40 for DPT 17.1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    EXPECT_FALSE(Quor::GroupValueToTevValue(Group(c.bytes, c.bits), c.dpt));
    const Lines lines = LinesOf(capture);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), Error(c.message));
  }
}

TEST(Decode, DatesOfTheWrongLengthOrCenturyAreRefused) {
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  EXPECT_FALSE(Quor::GroupValueToTevValue(Group({17, 5, 24, 0}, 24), Dpt(11, 1)));
  // The stack reads no year from a year field above 99, so the check refuses it first.
  EXPECT_FALSE(Quor::GroupValueToTevValue(Group({17, 5, 100}, 24), Dpt(11, 1)));
  EXPECT_EQ(LinesOf(capture),
            (Lines{Warn("Received an invalid DPT 11.001 date from the KNX: Length in bytes is 4, "
                        "expected 3"),
                   Error("Exception caught during conversion of date: GetAsDate: year 100 out of "
                         "range 0..99"),
                   Error("Convert from KNX value failed for DPT = 11.1 GroupValue = 11 05 64"),
                   Error("Received invalid value 11 05 64 for DPT 11.1")}));
}

TEST(Decode, ExceptionsOfTheStackPassToTheCaller) {
  // DPT 22 has no row in the converter table, so the check lets the short data through.
  EXPECT_THROW(Quor::GroupValueToTevValue(Group({0x01}, 16), Dpt(22, 101)),
               KnxStack::GroupValueException);
  // Neither has DPT 31, and an empty value gives its accessor nothing to read.
  EXPECT_THROW(Quor::GroupValueToTevValue(Group({}, 0), Dpt(31, 1)), KnxStack::GroupValueException);
}

// ---- Checking -------------------------------------------------------------------------------

TEST(Check, AsksTheConverterTableAndNamesTheDptAtDebug) {
  LogCapture capture(log4cplus::DEBUG_LOG_LEVEL);
  EXPECT_TRUE(Quor::CheckGroupValue(Group({0x0C, 0x33}, 16), Dpt(9, 1)));
  EXPECT_EQ(capture.Lines().front(), Debug("DPT is 9.1 with bit size 16"));
  capture.Clear();
  EXPECT_FALSE(Quor::CheckGroupValue(Group({0x0C}, 8), Dpt(9, 1)));
  capture.Clear();
  // The bit size is cut to 8 bits for the table, which still sees the real size.
  EXPECT_FALSE(Quor::CheckGroupValue(Group({0x0C, 0x33}, 256 + 16), Dpt(9, 1)));
  EXPECT_EQ(capture.Lines().front(), Debug("DPT is 9.1 with bit size 16"));
}

TEST(Check, DptsWithoutARowAreAccepted) {
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  EXPECT_TRUE(Quor::CheckGroupValue(Group({0x12, 0x34}, 16), Dpt(22, 101)));
  EXPECT_TRUE(Quor::CheckGroupValue(Group({0x12}, 8), Dpt(4000, 1)));
}

TEST(Check, ANumberWithoutAMainTypeChoosesTheDptByBitSize) {
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  // 16 bits are read as DPT 9.000: a 2-byte float, whose range is checked.
  EXPECT_TRUE(Quor::CheckGroupValue(Group({0x0C, 0x33}, 16), 1));
  EXPECT_FALSE(Quor::CheckGroupValue(Group({0x01}, 6), 1));
}

}  // namespace
