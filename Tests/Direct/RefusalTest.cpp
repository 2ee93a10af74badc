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

struct EncodeCase {
  unsigned long dpt;
  TEVVALUE value;
  Bytes bytes;       // empty: refused
  std::string line;  // the one ERROR record, none when empty
  bool linePrefix;   // the record only starts with it
};

TEST(Encode, RefusedClampedAndMarkedValues) {
  const auto mismatch = [](TevValueType expected, TevValueType got) {
    return "Value type mismatch: Expected '" + Name(expected) + "', got '" + Name(got) + "'";
  };
  const auto notSupported = [](unsigned long dpt) {
    return "Value type " + std::to_string(dpt >> 16) +
           " not supported (dwDPT=" + std::to_string(dpt) + " with value='tvt: ";
  };
  const Bytes marker = {0, 0, 0, 0, 0, 0, 0xBE, 0};  // a date and time that cannot be built
  const std::string noDateTime = "Could not convert TEVTIME ";
  const double inf = std::numeric_limits<double>::infinity();
  // clang-format off
  const EncodeCase cases[] = {
      {Dpt(1, 1), Word(1), {}, mismatch(tvtBoolean, tvtWord), false},
      {Dpt(6, 10), Integer(-1), {}, mismatch(tvtByte, tvtInteger), false},  // bytes here, not the table's integers
      {Dpt(32, 1), Byte(1), {}, mismatch(tvtEmpty, tvtByte), false},  // no value type: the empty value expected
      {Dpt(7, 1), Word(70000), {0xFF, 0xFF}, "Value out of range: 70000 (DPT 7)", false},
      {Dpt(234, 1), Word(65536), {0xFF, 0xFF}, "Value out of range: 65536 (DPT 234)", false},
      {Dpt(8, 1), Integer(-40000), {0x80, 0x00}, "Value out of range: -40000 (DPT 8)", false},
      {Dpt(8, 1), Integer(32768), {0x7F, 0xFF}, "Value out of range: 32768 (DPT 8)", false},
      {Dpt(9, 1), Float(inf), {}, "", false},  // dropped silently
      {Dpt(9, 4), Float(-inf), {}, "", false},
      {Dpt(17, 1), Byte(64), {}, "", false},
      {Dpt(17, 1), Byte(255), {}, "", false},
      {Dpt(10, 1), DayTime(24, 0, 0, 16), {}, "Could not convert TEVTIME 2000 1 1 24 0 0 0 16 1 0 0 to TimeOfDay", false},
      {Dpt(11, 1), Time(tvtDate, 2023, 2, 29), {}, "Not a valid date: 2023 2 29 ", false},
      {Dpt(11, 1), Time(tvtDate, 2024, 0, 1), {}, "Not a valid date: 2024 0 1 ", false},
      {Dpt(16, 1), Text("a\xFF"), {}, "Got TEVVALUE that contains a non-UTF8 string", false},
      {Dpt(19, 1), Time(tvtDateTime, 2021, 2, 30, 10), marker, noDateTime + "2021 2 30 10 0 0 0 0 1 1 0 to a KNX date and time: ", true},
      {Dpt(19, 1), Time(tvtDateTime, 2021, 13, 1, 10), marker, noDateTime + "2021 13 1 10 0 0 0 0 1 1 0 to a KNX date and time: ", true},
      {Dpt(19, 1), Time(tvtDateTime, 2021, 1, 0, 10), marker, noDateTime + "2021 1 0 10 0 0 0 0 1 1 0 to a KNX date and time: ", true},
      {Dpt(19, 1), Time(tvtDateTime, 1399, 12, 31, 10), marker, noDateTime + "1399 12 31 10 0 0 0 0 1 1 0 to a KNX date and time: ", true},
      {Dpt(19, 1), Make(tvtDateTime, &TEVVALUE::Storage::timeValue, TEVTIME{}), marker, noDateTime + "0 0 0 0 0 0 0 0 0 0 0 to a KNX date and time: ", true},
      {Dpt(31, 1), Byte(5), {}, "Value type 31 not supported (dwDPT=2031617 with value='tvt: 6, ToString(): " + Byte(5).ToString() + "').", false},  // decoded, never sent
      {Dpt(24, 1), Text("a"), {}, notSupported(Dpt(24, 1)), true},  // has a value type
      {Dpt(4, 1), TEVVALUE(), {}, notSupported(Dpt(4, 1)), true},   // value type empty
      {Dpt(32, 1), TEVVALUE(), {}, notSupported(Dpt(32, 1)), true},  // no value type at all
      {Dpt(0, 0), TEVVALUE(), {}, notSupported(Dpt(0, 0)), true},    // no DPT
      {Dpt(236, 1), TEVVALUE(), {}, notSupported(Dpt(236, 1)), true},  // in the converter table, not here
  };
  // clang-format on
  for (const EncodeCase& c : cases) {
    SCOPED_TRACE(DptText(c.dpt) + " " + c.value.ToString());
    LogCapture capture(log4cplus::TRACE_LOG_LEVEL);
    const auto group = Quor::TevValueToGroupValue(c.value, c.dpt);
    EXPECT_EQ(group ? RawBytes(*group) : Bytes{}, c.bytes);
    const Lines lines = capture.Lines();
    if (c.line.empty()) {
      EXPECT_EQ(lines, Lines{});
    } else if (c.linePrefix) {
      EXPECT_THAT(lines, ElementsAre(Pair(log4cplus::ERROR_LOG_LEVEL, StartsWith(c.line))));
    } else {
      EXPECT_EQ(lines, Lines{Error(c.line)});
    }
  }
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
      // clang-format off
      {Dpt(5, 1), {0x00, 0x01}, 16, "Received invalid value 00 01 for DPT 5.1"},
      // What DPT 23 sends is 2 bits, what the table expects back is 8.
      {Dpt(23, 1), {0x02}, 2, "Received invalid value 02 for DPT 23.1"},
      {Dpt(10, 1), {24, 0, 0}, 24, "Received invalid value 18 00 00 for DPT 10.1"},
      {Dpt(11, 1), {31, 2, 24}, 24, "Received invalid value 1f 02 18 for DPT 11.1"},
      {Dpt(11, 1), {0, 1, 24}, 24, "Received invalid value 00 01 18 for DPT 11.1"},
      {Dpt(19, 1), {121, 2, 30, 0, 0, 0, 0x20, 0}, 64, "Received invalid value 79 02 1e 00 00 00 20 00 for DPT 19.1"},
      {Dpt(19, 1), {121, 2, 1, 24, 0, 0, 0x20, 0}, 64, "Received invalid value 79 02 01 18 00 00 20 00 for DPT 19.1"},
      {Dpt(17, 1), {64}, 8, "Received invalid value 40 for DPT 17.1"},
      // clang-format on
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
