// What the library relies on of the KNX stack stand-in: its encodings and refusals.
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <KnxStack/GroupValue.h>

#include "Support/Values.h"

namespace {

using namespace QuorTest;
using KnxStack::GroupValue;
using KnxStack::GroupValueException;
using testing::StrEq;
using testing::ThrowsMessage;

// Each value writes exactly these bytes and bit size, even over a large received value, and
// reads back from them; the bits a small size leaves unused are not read.
template <class T>
void CheckEncoding(void (GroupValue::*set)(T), T (GroupValue::*get)() const, unsigned int bits,
                   const std::vector<std::pair<T, Bytes>>& rows) {
  for (const auto& [value, bytes] : rows) {
    GroupValue group = Group(Bytes(40, 0xAA), 320);
    (group.*set)(value);
    EXPECT_EQ(RawBytes(group), bytes) << +value;
    EXPECT_EQ(group.GetDefinedSize(), bits) << +value;
    Bytes received = bytes;
    received[0] |= static_cast<unsigned char>(bits < 8 ? 0xFF << bits : 0);
    EXPECT_EQ((Group(received, bits).*get)(), value) << +value;
    EXPECT_THROW((Group(Bytes(bytes.begin(), bytes.end() - 1), bits).*get)(), GroupValueException);
  }
}

TEST(GroupValueEncoding, IntegersAndFloat32) {
  CheckEncoding(&GroupValue::SetAsBoolean, &GroupValue::GetAsBoolean, 1,
                {{false, {0}}, {true, {1}}});
  CheckEncoding<unsigned char>(&GroupValue::SetAsUnsigned2, &GroupValue::GetAsUnsigned2, 2,
                               {{0, {0}}, {3, {3}}});
  CheckEncoding<unsigned char>(&GroupValue::SetAsUnsigned4, &GroupValue::GetAsUnsigned4, 4,
                               {{0, {0}}, {15, {15}}});
  CheckEncoding<unsigned char>(&GroupValue::SetAsUnsigned8, &GroupValue::GetAsUnsigned8, 8,
                               {{0, {0}}, {255, {0xFF}}});
  CheckEncoding<signed char>(&GroupValue::SetAsSigned8, &GroupValue::GetAsSigned8, 8,
                             {{-128, {0x80}}, {-1, {0xFF}}, {127, {0x7F}}});
  CheckEncoding<uint16_t>(&GroupValue::SetAsUnsigned16, &GroupValue::GetAsUnsigned16, 16,
                          {{0x1234, {0x12, 0x34}}, {65535, {0xFF, 0xFF}}});
  CheckEncoding<int16_t>(&GroupValue::SetAsSigned16, &GroupValue::GetAsSigned16, 16,
                         {{-32768, {0x80, 0x00}}, {-2, {0xFF, 0xFE}}, {32767, {0x7F, 0xFF}}});
  CheckEncoding<uint32_t>(&GroupValue::SetAsUnsigned32, &GroupValue::GetAsUnsigned32, 32,
                          {{0x12345678, {0x12, 0x34, 0x56, 0x78}}, {0, {0, 0, 0, 0}}});
  CheckEncoding<int32_t>(&GroupValue::SetAsSigned32, &GroupValue::GetAsSigned32, 32,
                         {{-2147483647 - 1, {0x80, 0, 0, 0}}, {-2, {0xFF, 0xFF, 0xFF, 0xFE}}});
  CheckEncoding<float>(&GroupValue::SetAsFloat32, &GroupValue::GetAsFloat32, 32,
                       {{-2.5f, {0xC0, 0x20, 0, 0}},
                        {1e10f, {0x50, 0x15, 0x02, 0xF9}},
                        {std::numeric_limits<float>::infinity(), {0x7F, 0x80, 0, 0}}});
  GroupValue group;
  group.SetAsUnsigned2(0x10);  // the nibble form: control 1, value 0
  EXPECT_EQ(group, Group({0x02}, 2));
  group.SetAsChar('\xE9');
  EXPECT_EQ(group, Group({0xE9}, 8));
  EXPECT_EQ(Group({0xFA}, 3).GetAsUnsigned3(), 2);
}

// 14 bytes, cut and zero-padded; reading stops at the first 0.
TEST(GroupValueEncoding, String14) {
  const std::pair<std::string, Bytes> rows[] = {
      {"KNX is OK", {'K', 'N', 'X', ' ', 'i', 's', ' ', 'O', 'K', 0, 0, 0, 0, 0}},
      {"ABCDEFGHIJKLMNO", {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N'}}};
  for (const auto& [text, bytes] : rows) {
    GroupValue group = Group(Bytes(40, 0xAA), 320);
    group.SetAsString14(text);
    EXPECT_EQ(group, Group(bytes, 112)) << text;
    EXPECT_EQ(Group(bytes, 112).GetAsString14(), text.substr(0, 14));
  }
}

// Date: day, month, two-digit year (90..99 the 1900s); time: weekday in the top three bits,
// 1 = Monday. Read back with the reserved bits set.
TEST(GroupValueEncoding, DateAndTimeOfDay) {
  EXPECT_EQ((std::array<int, 8>{GroupValue::NoDay, GroupValue::Monday, GroupValue::Tuesday,
                                GroupValue::Wednesday, GroupValue::Thursday, GroupValue::Friday,
                                GroupValue::Saturday, GroupValue::Sunday}),
            (std::array<int, 8>{0, 1, 2, 3, 4, 5, 6, 7}));
  const std::pair<std::array<int, 4>, Bytes> dates[] = {{{31, 12, 2089}, {31, 12, 89}},
                                                        {{1, 1, 1990}, {1, 1, 90}},
                                                        {{1, 1, 2000}, {1, 1, 0}},
                                                        {{15, 6, 1999}, {15, 6, 99}}},
                                             times[] = {{{23, 59, 59, 7}, {0xF7, 59, 59}},
                                                        {{0, 0, 0, 0}, {0, 0, 0}},
                                                        {{12, 1, 2, 3}, {0x6C, 1, 2}}};
  for (auto [fields, bytes] : dates) {
    GroupValue group;
    group.SetAsDate(fields[0], fields[1], fields[2]);
    EXPECT_EQ(group, Group(bytes, 24)) << fields[2];
    std::array<int, 4> read{};
    bytes[0] |= 0xE0, bytes[1] |= 0xF0, bytes[2] |= 0x80;
    Group(bytes, 24).GetAsDate(read[0], read[1], read[2]);
    EXPECT_EQ(read, fields);
  }
  for (auto [fields, bytes] : times) {
    GroupValue group;
    group.SetAsTimeOfDay(fields[0], fields[1], fields[2], GroupValue::DayOfWeek(fields[3]));
    EXPECT_EQ(group, Group(bytes, 24)) << fields[0];
    std::array<int, 4> read{};
    GroupValue::DayOfWeek day = GroupValue::NoDay;
    bytes[1] |= 0xC0, bytes[2] |= 0xC0;
    Group(bytes, 24).GetAsTimeOfDay(read[0], read[1], read[2], day);
    read[3] = day;
    EXPECT_EQ(read, fields);
  }
}

TEST(GroupValueEncoding, Float16) {
  const std::pair<double, Bytes> rows[] = {
      {0.01, {0x00, 0x01}},
      {-671088.64, {0xF8, 0x00}},
      {-20.48, {0x80, 0x00}},
      {20.4799, {0x0C, 0x00}},  // mantissa rounds to 2048: carried to exponent 1
      {0.005, {0x00, 0x01}},    // half rounds away from zero
      {670760.96, {0x7F, 0xFE}},
      {32767.0, {0x7F, 0xFF}},
      {std::numeric_limits<double>::quiet_NaN(), {0x7F, 0xFF}},
  };
  for (const auto& [value, bytes] : rows) {
    GroupValue group = Group(Bytes(40, 0xAA), 320);
    group.SetAsFloat16(value);
    EXPECT_EQ(RawBytes(group), bytes) << value;
    EXPECT_EQ(group.GetDefinedSize(), 16u) << value;
  }
}

TEST(GroupValueRefusals, ThrowWithAccessorAndReason) {
  GroupValue g;
  int i = 0;
  // clang-format off
  const std::vector<std::pair<std::function<void()>, const char*>> rows = {
      {[&] { g.SetAsUnsigned2(4); }, "SetAsUnsigned2: value 4 out of range 0..3 or 0x10, 0x11"},
      {[&] { g.SetAsFloat16(670761.0); }, "SetAsFloat16: value 670761 out of range -671088.64..670760.96"},
      {[&] { g.SetAsFloat16(670761.123456); }, "SetAsFloat16: value 670761.1235 out of range -671088.64..670760.96"},
      {[&] { g.SetAsUnsigned2(0x12); }, "SetAsUnsigned2: value 18 out of range 0..3 or 0x10, 0x11"},
      {[&] { g.SetAsUnsigned4(16); }, "SetAsUnsigned4: value 16 out of range 0..15"},
      {[&] { g.SetAsFloat16(-671088.65); }, "SetAsFloat16: value -671088.65 out of range -671088.64..670760.96"},
      {[&] { g.SetAsDate(1, 1, 1989); }, "SetAsDate: year 1989 out of range 1990..2089"},
      {[&] { g.SetAsDate(1, 1, 2090); }, "SetAsDate: year 2090 out of range 1990..2089"},
      {[&] { g.SetAsDate(0, 1, 2000); }, "SetAsDate: day 0 out of range 1..31"},
      {[&] { g.SetAsDate(32, 1, 2000); }, "SetAsDate: day 32 out of range 1..31"},
      {[&] { g.SetAsDate(1, 0, 2000); }, "SetAsDate: month 0 out of range 1..12"},
      {[&] { g.SetAsDate(1, 13, 2000); }, "SetAsDate: month 13 out of range 1..12"},
      {[&] { g.SetAsTimeOfDay(24, 0, 0, GroupValue::Monday); }, "SetAsTimeOfDay: hour 24 out of range 0..23"},
      {[&] { g.SetAsTimeOfDay(-1, 0, 0, GroupValue::Monday); }, "SetAsTimeOfDay: hour -1 out of range 0..23"},
      {[&] { g.SetAsTimeOfDay(0, 60, 0, GroupValue::Monday); }, "SetAsTimeOfDay: minute 60 out of range 0..59"},
      {[&] { g.SetAsTimeOfDay(0, 0, 60, GroupValue::Monday); }, "SetAsTimeOfDay: second 60 out of range 0..59"},
      {[&] { g.SetAsTimeOfDay(0, 0, 0, GroupValue::DayOfWeek(8)); }, "SetAsTimeOfDay: day 8 out of range 0..7"},
      {[&] { Group({1, 2}, 16).GetAsDate(i, i, i); }, "GetAsDate: raw data has 2 bytes, needs 3"},
      {[&] { GroupValue::DayOfWeek d; Group({1, 2}, 16).GetAsTimeOfDay(i, i, i, d); }, "GetAsTimeOfDay: raw data has 2 bytes, needs 3"},
      {[&] { Group({1, 2, 3}, 24).GetRawData().GetUInt8Value(3); }, "BinaryData::GetUInt8Value: index 3 needs 1 byte, data has 3 bytes"},
      {[&] { Group({1, 2, 3}, 24).GetRawData().GetUInt24Value(1); }, "BinaryData::GetUInt24Value: index 1 needs 3 bytes, data has 3 bytes"},
      {[&] { Group({1, 2, 3}, 24).GetRawData().GetUInt32Value(1); }, "BinaryData::GetUInt32Value: index 1 needs 3 bytes, data has 3 bytes"},
      {[&] { Group({1, 2, 3}, 24).GetAsFloat32(); }, "GetAsFloat32: raw data has 3 bytes, needs 4"},
      {[&] { GroupValue().GetAsBoolean(); }, "GetAsBoolean: raw data has 0 bytes, needs 1"},
      {[&] { Group({1}, 0).GetAsUnsigned16(); }, "GetAsUnsigned16: raw data has 1 byte, needs 2"},
  };
  // clang-format on
  for (const auto& [call, message] : rows) {
    g = Group({0x42}, 8);
    EXPECT_THAT(call, ThrowsMessage<GroupValueException>(StrEq(message)));
    EXPECT_EQ(g, Group({0x42}, 8)) << message;  // a refused value changes nothing
  }
}

// A byte set past the end grows the data, zero-filled, from the inline bytes to the heap and
// on; copies, moves and reads keep every byte; a 32-bit read takes three bytes at the end.
TEST(BinaryData, GrowsCopiesAndReads) {
  KnxStack::BinaryData data;
  Bytes expected(41, 0);
  for (const unsigned int index : {2u, 20u, 40u}) {
    data.SetUInt8Value(index, static_cast<uint8_t>(index));
    expected[index] = static_cast<unsigned char>(index);
  }
  KnxStack::BinaryData copy(data), moved(std::move(copy)), assigned;
  assigned = moved;
  EXPECT_EQ(assigned, Group(expected, 0).GetRawData());
  EXPECT_EQ(copy, KnxStack::BinaryData());  // a moved-from buffer is empty, not a dangling size
  copy = KnxStack::BinaryData(expected.data(), 20);
  assigned = copy;  // one heap buffer for another, the old one freed
  EXPECT_EQ(assigned, copy);
  EXPECT_EQ((std::array<uint32_t, 4>{data.GetUInt8Value(40), data.GetUInt24Value(20),
                                     data.GetUInt32Value(20), data.GetUInt32Value(38)}),
            (std::array<uint32_t, 4>{40, 0x140000, 0x14000000, 0x28}));
  assigned = KnxStack::BinaryData(expected.data(), 3);
  EXPECT_EQ(assigned.ToString(), "00 00 02");
  EXPECT_NE(assigned, data);
  EXPECT_NE(Group({1}, 8), Group({1}, 1));
}

uint16_t Encode(double value) {
  GroupValue group;
  group.SetAsFloat16(value);
  return static_cast<uint16_t>(group.GetAsUnsigned16());
}

double Decode(uint16_t encoded) {
  GroupValue group;
  group.SetAsUnsigned16(encoded);
  return group.GetAsFloat16();
}

double Step(uint16_t encoded) {
  return 0.01 * std::ldexp(1.0, (encoded >> 11) & 0x0F);
}

// Log-scale sweep over the whole range, both signs: the decoded value is within half a step of
// the exponent chosen, and that exponent is the smallest one that can hold the mantissa.
TEST(Float16RoundTrip, WithinHalfAStepAtTheSmallestExponent) {
  for (double magnitude = 0.001; magnitude <= 670760.96; magnitude *= 1.0137) {
    for (double value : {magnitude, -magnitude}) {
      const uint16_t encoded = Encode(value);
      // 0x7FFE stands in for the top code, one step further up.
      const double tolerance = (encoded == 0x7FFE ? 1.5 : 0.5) * Step(encoded) * (1 + 1e-9);
      ASSERT_LE(std::fabs(Decode(encoded) - value), tolerance) << value;
      if (Step(encoded) > 0.01) {
        const double below = std::round(value * 2.0 / Step(encoded));
        ASSERT_TRUE(below < -2048 || below > 2047) << value;
      }
    }
  }
}

// Every code in its smallest-exponent form comes back from decode then encode.
TEST(Float16RoundTrip, EveryNormalisedCodeSurvivesDecodeThenEncode) {
  for (uint32_t code = 0; code <= 0xFFFF; ++code) {
    const auto encoded = static_cast<uint16_t>(code);
    const int mantissa = (encoded & 0x07FF) - ((encoded & 0x8000) ? 2048 : 0);
    const bool normalised = (encoded & 0x7800) == 0 || mantissa > 1023 || mantissa < -1024;
    if (normalised && encoded != 0x7FFF) {
      ASSERT_EQ(Encode(Decode(encoded)), encoded) << std::hex << code;
    }
  }
}

// A mantissa exactly halfway between two steps rounds away from zero, in both signs and at
// every exponent where a tie can occur (20.49 * 100 is exactly 2049 in a double).
TEST(Float16Rounding, TiesGoAwayFromZero) {
  struct Tie {
    double value;
    double sent;
  };
  for (const Tie& tie : {Tie{20.49, 20.5}, Tie{-20.49, -20.5}, Tie{40.98, 41.0}, Tie{-40.98, -41.0},
                         Tie{81.96, 82.0}, Tie{-81.96, -82.0}}) {
    EXPECT_EQ(Decode(Encode(tie.value)), tie.sent) << tie.value;
  }
}

}  // namespace
