#include <cmath>
#include <limits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DirectTest.h"
#include "QuorObjectModel/GroupValueTevValue.h"

namespace {

using namespace DirectTest;
using QuorTest::LogCapture;

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

TEST_F(RoundTrip, EveryMainTypeEncodesItsBytesAndDecodesTheValueBack) {
  for (const Row& row : kRoundTrips) {
    SCOPED_TRACE(testing::Message() << "DPT " << (row.dpt >> 16) << "." << (row.dpt & 0xFFFF) << " "
                                    << Show(row.value));
    const auto group = Quor::TevValueToGroupValue(row.value, row.dpt);
    ASSERT_TRUE(group);
    EXPECT_EQ(RawBytes(*group), row.bytes);
    EXPECT_EQ(group->GetDefinedSize(), row.bits);
    const auto back = Quor::GroupValueToTevValue(*group, row.dpt);
    ASSERT_TRUE(back);
    EXPECT_EQ(Show(*back), Show(row.value));
  }
}

TEST_F(RoundTrip, DptsOfTheConverterTableGoBothWaysWithoutALogLine) {
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  for (const unsigned long dpt :
       {Dpt(1, 1), Dpt(9, 1), Dpt(10, 1), Dpt(11, 1), Dpt(16, 1), Dpt(19, 1), Dpt(232, 600)}) {
    for (const Row& row : kRoundTrips) {
      if (row.dpt == dpt) {
        const auto group = Quor::TevValueToGroupValue(row.value, dpt);
        ASSERT_TRUE(group);
        EXPECT_TRUE(Quor::GroupValueToTevValue(*group, dpt));
      }
    }
  }
  EXPECT_EQ(LinesOf(capture), Lines{});
}

// Encodings that do not come back as they went out.
const Row kEncodeOnly[] = {
    // clang-format off
    {Dpt(2, 1), Byte(0x11), {0x03}, 2},  // control 1, value 1 in the nibble form
    {Dpt(6, 1), Byte(0x80), {0x80}, 8},
    {Dpt(9, 1), Float(std::nan("")), {0x7F, 0xFF}, 16},
    {Dpt(14, 0), Float(1e300), {0x7F, 0x80, 0x00, 0x00}, 32},
    {Dpt(16, 1), Text("\xE2\x82\xACuro and far more"), {'?', 'u', 'r', 'o', ' ', 'a', 'n', 'd', ' ', 'f', 'a', 'r', ' ', 'm'}, 112},
    {Dpt(17, 1), Byte(0), {0}, 8},
    // Hour 24 rolls into the next day, a Saturday.
    {Dpt(19, 1), Time(tvtDateTime, 2021, 12, 31, 24, 0, 0, 0, false), {122, 1, 1, 6 << 5, 0, 0, 0x20, 0}, 64},
    {Dpt(19, 1), Time(tvtDateTime, 2021, 3, 14, 12, 75, 0, 0, false), {121, 3, 14, 0xED, 15, 0, 0x20, 0}, 64},
    // The year byte counts modulo 256: 2156 is 0 again (a Thursday).
    {Dpt(19, 1), Time(tvtDateTime, 2156, 1, 1, 8, 0, 0, 0, false), {0, 1, 1, 0x88, 0, 0, 0x20, 0}, 64},
    {Dpt(232, 600), DWord(0xFF123456), {0x12, 0x34, 0x56}, 24},
    // clang-format on
};

TEST(EncodeOnly, BytesOfValuesThatDoNotComeBackUnchanged) {
  for (const Row& row : kEncodeOnly) {
    SCOPED_TRACE(testing::Message() << "DPT " << (row.dpt >> 16) << "." << (row.dpt & 0xFFFF) << " "
                                    << Show(row.value));
    const auto group = Quor::TevValueToGroupValue(row.value, row.dpt);
    ASSERT_TRUE(group);
    EXPECT_EQ(RawBytes(*group), row.bytes);
    EXPECT_EQ(group->GetDefinedSize(), row.bits);
  }
}

struct DecodeRow {
  unsigned long dpt;
  Bytes bytes;
  unsigned int bits;
  TEVVALUE value;
};

const DecodeRow kDecodeOnly[] = {
    // Only the low two bits count.
    {Dpt(23, 1), {0x06}, 8, Byte(2)},
    {Dpt(31, 1), {0x05}, 3, Byte(5)},
    // The invalid pattern passes the check and reads as the largest 2-byte float.
    {Dpt(9, 1), {0x7F, 0xFF}, 16, Float(670760.96)},
    // A valid date after the last second of 32-bit time is the empty value.
    {Dpt(11, 1), {1, 1, 40}, 24, TEVVALUE()},
    {Dpt(19, 1), {139, 1, 19, 3, 14, 8, 0x20, 0}, 64, TEVVALUE()},
    // Main types with a value type but no decoding give the empty value.
    {Dpt(24, 1), {'a', 0}, 16, TEVVALUE()},
    {Dpt(25, 1000), {0x12}, 8, TEVVALUE()},
    {Dpt(28, 1), {'a', 0}, 16, TEVVALUE()},
    {Dpt(30, 1010), {0, 0, 1}, 24, TEVVALUE()},
    {Dpt(200, 100), {0x01, 0x00}, 9, TEVVALUE()},
    {Dpt(201, 100), {0x00, 0x01}, 16, TEVVALUE()},
    {Dpt(202, 1), {0x00, 0x01}, 16, TEVVALUE()},
};

class DecodeOnly : public InCentralEurope {};

TEST_F(DecodeOnly, ValuesOfBytesThatAreNotSentThisWay) {
  for (const DecodeRow& row : kDecodeOnly) {
    SCOPED_TRACE(DptText(row.dpt));
    const auto value = Quor::GroupValueToTevValue(Group(row.bytes, row.bits), row.dpt);
    ASSERT_TRUE(value);
    EXPECT_EQ(Show(*value), Show(row.value));
  }
}

TEST_F(DecodeOnly, DateTimesEndWithTheLastSecondOf32BitTime) {
  const QuorTest::ScopedTimeZone inUtc(QuorTest::kUtcZone);
  const auto last =
      Quor::GroupValueToTevValue(Group({138, 1, 19, 3, 14, 7, 0x20, 0}, 64), Dpt(19, 1));
  ASSERT_TRUE(last);
  EXPECT_EQ(Show(*last), Show(Time(tvtDateTime, 2038, 1, 19, 3, 14, 7, 2, false)));
  const auto after =
      Quor::GroupValueToTevValue(Group({138, 1, 19, 3, 14, 8, 0x20, 0}, 64), Dpt(19, 1));
  ASSERT_TRUE(after);
  EXPECT_EQ(after->tvt, tvtEmpty);
}

TEST_F(DecodeOnly, DatesAreMidnightOfTheLocalZone) {
  const QuorTest::ScopedTimeZone inUtc(QuorTest::kUtcZone);
  const auto utc = Quor::GroupValueToTevValue(Group({17, 5, 24}, 24), Dpt(11, 1));
  ASSERT_TRUE(utc);
  EXPECT_EQ(Show(*utc), Show(Time(tvtDate, 2024, 5, 17, 0, 0, 0, 16, false)));
}

// The device cannot hold a wider DPT number; a wider host reads the same low 32 bits.
TEST(EncodeOnly, DptNumbersAre32BitsWide) {
  const auto wide = static_cast<unsigned long>(0x100090001ull);
  const auto group = Quor::TevValueToGroupValue(Float(21.5), wide);
  ASSERT_TRUE(group);
  EXPECT_EQ(RawBytes(*group), (Bytes{0x0C, 0x33}));
}

}  // namespace
