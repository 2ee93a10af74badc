// What the library relies on of the KNX stack stand-in: its encodings and refusals.
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
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

// Each value gives exactly these bytes and size, even over a large received value.
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
  // clang-format off
  const std::vector<std::pair<std::function<void()>, const char*>> rows = {
      {[&] { g.SetAsUnsigned2(4); }, "SetAsUnsigned2: value 4 out of range 0..3 or 0x10, 0x11"},
      {[&] { g.SetAsFloat16(670761.0); }, "SetAsFloat16: value 670761 out of range -671088.64..670760.96"},
      {[&] { g.SetAsDate(1, 1, 1989); }, "SetAsDate: year 1989 out of range 1990..2089"},
      {[&] { g.SetAsTimeOfDay(24, 0, 0, GroupValue::Monday); }, "SetAsTimeOfDay: hour 24 out of range 0..23"},
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
