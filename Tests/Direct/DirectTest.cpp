// The direct conversion between values and group values by DPT number, and its check.

#include <algorithm>
#include <limits>
#include <optional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "QuorObjectModel/GroupValueTevValue.h"
#include "Support/LogCapture.h"
#include "Support/ScopedTimeZone.h"
#include "Support/Values.h"

namespace {

using namespace QuorTest;
using testing::ElementsAre;
using testing::Pair;
using testing::StartsWith;

// An object model's DPT number as main.sub.
std::string DptText(unsigned long dpt) {
  return std::to_string(dpt >> 16) + "." + std::to_string(dpt & 0xFFFF);
}

// Captured lines without the timing line of a slow decode, which depends on the machine.
Lines LinesOf(const LogCapture& capture) {
  Lines lines = capture.Lines();
  lines.erase(std::remove_if(lines.begin(), lines.end(),
                             [](const Line& line) {
                               return line.second.rfind("Decoding a KNX value took ", 0) == 0;
                             }),
              lines.end());
  return lines;
}

// Central European time, with daylight saving.
class InCentralEurope : public ::testing::Test {
 private:
  ScopedTimeZone m_zone{kCentralEuropeZone};
};

// ---- Both ways ------------------------------------------------------------------------------

struct Row {
  unsigned long dpt;
  TEVVALUE value;
  Bytes bytes;
  unsigned int bits;
};

// One row per main type that is encoded and decoded: value, DPT, bytes on the bus.
const Row kRoundTrips[] = {
    // clang-format off
    {Dpt(1, 1), Boolean(true), {0x01}, 1},
    {Dpt(2, 1), Byte(3), {0x03}, 2},
    {Dpt(3, 7), Byte(0x0B), {0x0B}, 4},
    {Dpt(5, 1), Byte(200), {200}, 8},
    {Dpt(6, 10), Byte(255), {0xFF}, 8},
    {Dpt(7, 1), Word(65535), {0xFF, 0xFF}, 16},
    {Dpt(8, 1), Integer(-32768), {0x80, 0x00}, 16},
    {Dpt(9, 1), Float(21.5), {0x0C, 0x33}, 16},
    {Dpt(9, 1), Float(-272.96), {0xA1, 0x56}, 16},
    {Dpt(10, 1), DayTime(13, 45, 10, 16), {(5 << 5) | 13, 45, 10}, 24},
    {Dpt(10, 1), DayTime(0, 0, 0, 0), {0, 0, 0}, 24},
    {Dpt(11, 1), Time(tvtDate, 2024, 5, 17, 0, 0, 0, 16, true), {17, 5, 24}, 24},
    {Dpt(11, 1), Time(tvtDate, 1990, 1, 1, 0, 0, 0, 1, false), {1, 1, 90}, 24},
    {Dpt(12, 1), DWord(4294967295u), {0xFF, 0xFF, 0xFF, 0xFF}, 32},
    {Dpt(13, 1), Integer(-2147483647 - 1), {0x80, 0x00, 0x00, 0x00}, 32},
    {Dpt(14, 56), Float(1.5), {0x3F, 0xC0, 0x00, 0x00}, 32},
    {Dpt(15, 0), DWord(0x12345678), {0x12, 0x34, 0x56, 0x78}, 32},
    {Dpt(16, 1), Text("Gr\xC3\xBC\xC3\x9F" "e"), {'G', 'r', 0xFC, 0xDF, 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0}, 112},
    {Dpt(16, 0), Text("abc"), {'a', 'b', 'c', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 112},
    {Dpt(17, 1), Byte(63), {63}, 8},
    {Dpt(18, 1), Byte(0x85), {0x85}, 8},
    {Dpt(19, 1), Time(tvtDateTime, 2021, 3, 14, 12, 30, 45, 64, false), {121, 3, 14, 0xEC, 30, 45, 0x20, 0}, 64},
    {Dpt(19, 1), Time(tvtDateTime, 2021, 6, 1, 23, 59, 59, 2, true), {121, 6, 1, (2 << 5) | 23, 59, 59, 0x20, 0}, 64},
    {Dpt(20, 102), Byte(3), {3}, 8},
    {Dpt(21, 1), Byte(0x05), {0x05}, 8},
    {Dpt(22, 101), Word(0x1234), {0x12, 0x34}, 16},
    {Dpt(26, 1), Byte(0x25), {0x25}, 8},
    {Dpt(27, 1), DWord(0x00010001), {0x00, 0x01, 0x00, 0x01}, 32},
    {Dpt(217, 1), Word(0x0A0B), {0x0A, 0x0B}, 16},
    {Dpt(232, 600), DWord(0x123456), {0x12, 0x34, 0x56}, 24},
    {Dpt(234, 1), Word(0x5A5A), {0x5A, 0x5A}, 16},
    {Dpt(237, 600), Word(0x0101), {0x01, 0x01}, 16},
    {Dpt(238, 600), Byte(0x12), {0x12}, 8},
    // clang-format on
};

class RoundTrip : public InCentralEurope {};

// Both ways with no record at INFO or above but the converter table's misses for main types
// it has no row for.
TEST_F(RoundTrip, EveryMainTypeEncodesItsBytesAndDecodesTheValueBack) {
  for (const Row& row : kRoundTrips) {
    SCOPED_TRACE("DPT " + DptText(row.dpt) + " " + Show(row.value));
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    const auto group = Quor::TevValueToGroupValue(row.value, row.dpt);
    ASSERT_TRUE(group);
    EXPECT_EQ(RawBytes(*group), row.bytes);
    EXPECT_EQ(group->GetDefinedSize(), row.bits);
    const auto back = Quor::GroupValueToTevValue(*group, row.dpt);
    ASSERT_TRUE(back);
    EXPECT_EQ(Show(*back), Show(row.value));
    for (const Line& line : LinesOf(capture)) {
      EXPECT_THAT(line.second, testing::AnyOf(StartsWith("No Entry found for DPT = "),
                                              "Assume validity and accept value!"));
    }
  }
}

TEST(Encode, RefusedClampedMarkedAndOneWayValues) {
  const auto mismatch = [](TevValueType expected, TevValueType got) {
    return std::string("Value type mismatch: Expected '") +
           TEVVALUE::GetNameFromValueType(expected) + "', got '" +
           TEVVALUE::GetNameFromValueType(got) + "'";
  };
  const auto notSupported = [](unsigned long dpt) {
    return "Value type " + std::to_string(dpt >> 16) +
           " not supported (dwDPT=" + std::to_string(dpt) + " with value='tvt: ";
  };
  const Bytes marker = {0, 0, 0, 0, 0, 0, 0xBE, 0};  // a date and time that cannot be built
  const std::string noDateTime = "Could not convert TEVTIME ";
  const double inf = std::numeric_limits<double>::infinity();
  // clang-format off
  const struct {
    unsigned long dpt;
    TEVVALUE value;
    Bytes bytes;       // empty: refused
    std::string line;  // the one ERROR record, none when empty
    bool linePrefix;   // the record only starts with it
  } cases[] = {
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
  for (const auto& c : cases) {
    SCOPED_TRACE("DPT " + DptText(c.dpt) + " " + c.value.ToString());
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

TEST(EncodeAndDecode, ExceptionsOfTheStackPassToTheCaller) {
  EXPECT_THROW(Quor::TevValueToGroupValue(Byte(5), Dpt(2, 1)), KnxStack::GroupValueException);
  EXPECT_THROW(Quor::TevValueToGroupValue(Byte(16), Dpt(3, 7)), KnxStack::GroupValueException);
  EXPECT_THROW(Quor::TevValueToGroupValue(Float(1e9), Dpt(9, 1)), KnxStack::GroupValueException);
  EXPECT_THROW(
      Quor::TevValueToGroupValue(Time(tvtDate, 1989, 12, 31, 0, 0, 0, 0, false), Dpt(11, 1)),
      KnxStack::GroupValueException);
  // DPT 22 has no row in the converter table, so the check lets the short data through.
  EXPECT_THROW(Quor::GroupValueToTevValue(Group({0x01}, 16), Dpt(22, 101)),
               KnxStack::GroupValueException);
  // Neither has DPT 31, and an empty value gives its accessor nothing to read.
  EXPECT_THROW(Quor::GroupValueToTevValue(Group({}, 0), Dpt(31, 1)), KnxStack::GroupValueException);
}

class Receiving : public InCentralEurope {};

TEST_F(Receiving, DecodedAndRefusedValues) {
  const auto unsupported = [](unsigned long dpt) {
    return Error("Unsupported DPT: " + DptText(dpt));
  };
  // clang-format off
  const struct {
    unsigned long dpt;
    Bytes bytes;
    unsigned int bits;
    std::optional<TEVVALUE> value;  // empty: refused
    Line last;                      // the last record, if any is expected
  } cases[] = {
      // Without a value type: unsupported, and not checked.
      {Dpt(99, 1), {0x01}, 8, std::nullopt, unsupported(Dpt(99, 1))},
      {Dpt(219, 1), {0x01}, 8, std::nullopt, unsupported(Dpt(219, 1))},
      {Dpt(0, 0), {0x01}, 8, std::nullopt, unsupported(Dpt(0, 0))},
      // Refused by the converter table.
      {Dpt(5, 1), {0x00, 0x01}, 16, std::nullopt, Error("Received invalid value 00 01 for DPT 5.1")},
      // What DPT 23 sends is 2 bits, what the table expects back is 8.
      {Dpt(23, 1), {0x02}, 2, std::nullopt, Error("Received invalid value 02 for DPT 23.1")},
      {Dpt(10, 1), {24, 0, 0}, 24, std::nullopt, Error("Received invalid value 18 00 00 for DPT 10.1")},
      {Dpt(11, 1), {31, 2, 24}, 24, std::nullopt, Error("Received invalid value 1f 02 18 for DPT 11.1")},
      {Dpt(11, 1), {0, 1, 24}, 24, std::nullopt, Error("Received invalid value 00 01 18 for DPT 11.1")},
      // The check lets a year byte above 99 through; the decode refuses it.
      {Dpt(11, 1), {4, 1, 100}, 24, std::nullopt, Warn("Received an invalid DPT 11.001 date from the KNX: Year 100 is out of range (0-99)")},
      {Dpt(11, 1), {31, 12, 99}, 24, Time(tvtDate, 1999, 12, 31, 0, 0, 0, 16, false), {}},
      // The first and the last year taken from the KNX; 2089 is past 32-bit time.
      {Dpt(11, 1), {1, 1, 90}, 24, Time(tvtDate, 1990, 1, 1, 0, 0, 0, 1, false), {}},
      {Dpt(11, 1), {31, 12, 89}, 24, TEVVALUE(), {}},
      {Dpt(11, 1), {17, 5, 24, 0}, 24, std::nullopt, Warn("Received an invalid DPT 11.001 date from the KNX: Length in bytes is 4, expected 3")},
      {Dpt(19, 1), {121, 2, 30, 0, 0, 0, 0x20, 0}, 64, std::nullopt, Error("Received invalid value 79 02 1e 00 00 00 20 00 for DPT 19.1")},
      // Bits above each field are ignored; the two rows set every bit of every field.
      {Dpt(19, 1), {124, 0xFC, 0xFF, 0xF7, 0xFB, 0xFB, 0xFF, 0xFF}, 64, Time(tvtDateTime, 2024, 12, 31, 23, 59, 59, 2, false), {}},
      {Dpt(19, 1), {124, 0xF3, 0xEE, 0xEE, 0xE4, 0xE4, 0xFF, 0xFF}, 64, Time(tvtDateTime, 2024, 3, 14, 14, 36, 36, 8, false), {}},
      {Dpt(19, 1), {121, 2, 1, 24, 0, 0, 0x20, 0}, 64, std::nullopt, Error("Received invalid value 79 02 01 18 00 00 20 00 for DPT 19.1")},
      {Dpt(17, 1), {64}, 8, std::nullopt, Error("Received invalid value 40 for DPT 17.1")},
      // Values of bytes that are not sent this way. Only the low two bits of DPT 23 count.
      {Dpt(23, 1), {0x06}, 8, Byte(2), {}},
      {Dpt(31, 1), {0x05}, 3, Byte(5), {}},
      // The invalid pattern passes the check and reads as the largest 2-byte float.
      {Dpt(9, 1), {0x7F, 0xFF}, 16, Float(670760.96), {}},
      // A valid date or time after the last second of 32-bit time, counted on the given fields,
      // is the empty value.
      {Dpt(11, 1), {1, 1, 40}, 24, TEVVALUE(), {}},
      {Dpt(19, 1), {138, 1, 19, 3, 14, 7, 0x20, 0}, 64, Time(tvtDateTime, 2038, 1, 19, 3, 14, 7, 2, false), {}},
      {Dpt(19, 1), {138, 1, 19, 3, 14, 8, 0x20, 0}, 64, TEVVALUE(), {}},
      // Main types with a value type but no decoding give the empty value.
      {Dpt(24, 1), {'a', 0}, 16, TEVVALUE(), {}},
      {Dpt(25, 1000), {0x12}, 8, TEVVALUE(), {}},
      {Dpt(28, 1), {'a', 0}, 16, TEVVALUE(), {}},
      {Dpt(30, 1010), {0, 0, 1}, 24, TEVVALUE(), {}},
      {Dpt(200, 100), {0x01, 0x00}, 9, TEVVALUE(), {}},
      {Dpt(201, 100), {0x00, 0x01}, 16, TEVVALUE(), {}},
      {Dpt(202, 1), {0x00, 0x01}, 16, TEVVALUE(), {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("DPT " + DptText(c.dpt) + " " + RawText(c.bytes));
    LogCapture capture(log4cplus::TRACE_LOG_LEVEL);
    const auto value = Quor::GroupValueToTevValue(Group(c.bytes, c.bits), c.dpt);
    EXPECT_EQ(value ? Show(*value) : "refused", c.value ? Show(*c.value) : "refused");
    const Lines lines = LinesOf(capture);
    if (!c.last.second.empty()) {
      ASSERT_FALSE(lines.empty());
      EXPECT_EQ(lines.back(), c.last);
    }
  }
}

// The converter table decides for a DPT with a row, one without passes, and a number without a
// main type is read by its bit size (16 bits: 9.000, a 2-byte float whose range is checked). The
// table gets the size cut to 8 bits but checks the real one.
TEST(Check, AsksTheConverterTableForTheDptOrTheBitSize) {
  const struct {
    unsigned long dpt;
    Bytes bytes;
    unsigned int bits;
    bool ok;
  } cases[] = {
      {Dpt(9, 1), {0x0C, 0x33}, 16, true},
      {Dpt(9, 1), {0x0C}, 8, false},
      {Dpt(9, 1), {0x0C, 0x33}, 272, false},
      {Dpt(22, 101), {0x12, 0x34}, 16, true},
      {Dpt(4000, 1), {0x12}, 8, true},
      {1, {0x0C, 0x33}, 16, true},
      {1, {0x01}, 6, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(DptText(c.dpt) + " " + RawText(c.bytes));
    LogCapture capture(log4cplus::DEBUG_LOG_LEVEL);
    EXPECT_EQ(Quor::CheckGroupValue(Group(c.bytes, c.bits), c.dpt), c.ok);
    EXPECT_EQ(capture.Lines().front(),
              Debug("DPT is " + DptText(c.dpt) + " with bit size " + std::to_string(c.bits % 256)));
  }
}

// The device cannot hold a wider DPT number; a wider host reads the same low 32 bits.
TEST(Encode, DptNumbersAre32BitsWide) {
  const auto wide = static_cast<unsigned long>(0x100090001ull);
  const auto group = Quor::TevValueToGroupValue(Float(21.5), wide);
  ASSERT_TRUE(group);
  EXPECT_EQ(RawBytes(*group), (Bytes{0x0C, 0x33}));
}

}  // namespace
