#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TevValueTestValues.h"

namespace {

using namespace TevTest;
using namespace std::string_literals;
using Bytes = std::vector<unsigned char>;

Bytes Write(const TEVVALUE& value, unsigned int bufferLength, bool& ok) {
  Bytes buffer(bufferLength + 1, 0xEE);  // one guard byte past the given length
  unsigned int length = bufferLength;
  ok = TevValueToByteArray(value, buffer.data(), length);
  EXPECT_EQ(buffer[bufferLength], 0xEE) << "wrote past the given length";
  if (!ok) {
    EXPECT_EQ(length, bufferLength) << "length changed on refusal";
    return {};
  }
  EXPECT_LE(length, bufferLength);
  buffer.resize(length);
  return buffer;
}

TEST(TevValueBytesWrite, Layouts) {
  TEVTIME time = Time(2024, 5, 17, 13, 45, 10);
  time.hundredths = 7;
  time.daylightSaving = true;
  const struct {
    TEVVALUE value;
    unsigned int bufferLength;
    Bytes bytes;
  } rows[] = {
      {Boolean(true), 24, {0x01}},
      {Boolean(false), 1, {0x00}},
      {Byte(0xAB), 1, {0xAB}},
      {Byte(0x12, tvtType1021), 24, {0x12}},
      {Word(0x1234), 2, {0x12, 0x34}},
      {DWord(0x89ABCDEF), 4, {0x89, 0xAB, 0xCD, 0xEF}},
      {DWord(1, tvtType20), 24, {0, 0, 0, 1}},
      {Signed(-2), 4, {0xFF, 0xFF, 0xFF, 0xFE}},
      {Signed(0x01020304, tvtType14), 24, {1, 2, 3, 4}},
      {Float(1.0), 8, {0x3F, 0xF0, 0, 0, 0, 0, 0, 0}},
      {Float(-2.5, tvtPercent), 24, {0xC0, 0x04, 0, 0, 0, 0, 0, 0}},
      {Float(-0.0), 8, {0x80, 0, 0, 0, 0, 0, 0, 0}},
      {Float(std::numeric_limits<double>::infinity()), 8, {0x7F, 0xF0, 0, 0, 0, 0, 0, 0}},
      // Short buffers take the value as one signed byte, rounded to nearest.
      {Float(3.0, tvtDimStep), 1, {0x03}},
      {Float(-7.0, tvtDimStep), 1, {0xF9}},
      {Float(2.5, tvtType1005), 1, {0x03}},
      {Float(-2.5, tvtType1005), 1, {0xFD}},
      {Float(127.4), 1, {0x7F}},
      {Float(-128.4), 7, {0x80}},
      {String("abc"), 24, {'a', 'b', 'c'}},
      {String("a\0\xFF"s), 3, {'a', 0x00, 0xFF}},
      {String(""), 1, {}},
      {Timed(tvtDateTime, time), 13, {0x07, 0xE8, 5, 17, 13, 45, 10, 7, 0, 16, 0, 1, 0x03}},
      {Timed(tvtDayTime, TEVTIME{}), 24, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& row : rows) {
    bool ok = false;
    const Bytes bytes = Write(row.value, row.bufferLength, ok);
    EXPECT_TRUE(ok) << row.value.ToString();
    EXPECT_EQ(bytes, row.bytes) << row.value.ToString();
  }
}

TEST(TevValueBytesWrite, Refusals) {
  const struct {
    TEVVALUE value;
    unsigned int bufferLength;
  } rows[] = {
      {TEVVALUE(), 24},
      {TEVVALUE(tvtInvalid), 24},
      {TEVVALUE(static_cast<TevValueType>(77)), 24},
      {Boolean(true), 0},
      {Word(1), 1},
      {DWord(1), 3},
      {Signed(1), 2},
      {String("abcd"), 3},
      {Timed(tvtDate, Time(2024, 5, 17, 0, 0, 0)), 12},
      {Float(127.5, tvtDimStep), 1},
      {Float(-128.5, tvtDimStep), 1},
      {Float(1000.0), 4},
      {Float(std::numeric_limits<double>::quiet_NaN(), tvtType1005), 1},
      {Float(std::numeric_limits<double>::infinity(), tvtDimStep), 1},
      {Float(1.0), 0},
  };
  for (const auto& row : rows) {
    bool ok = true;
    Write(row.value, row.bufferLength, ok);
    EXPECT_FALSE(ok) << row.value.ToString() << " into " << row.bufferLength;
  }
}

TEST(TevValueBytesWrite, NullBufferIsRefused) {
  unsigned int length = 8;
  EXPECT_FALSE(TevValueToByteArray(Float(1.0), nullptr, length));
  EXPECT_EQ(length, 8u);
}

TEST(TevValueBytesRead, ByLength) {
  const struct {
    Bytes bytes;
    unsigned int length;  // may be shorter than bytes: the rest must not be read
    bool oneBit;
    TEVVALUE expected;
  } rows[] = {
      {{0x01}, 1, true, Boolean(true)},
      {{0xFE}, 1, true, Boolean(false)},
      {{0x03, 0x00}, 2, true, Boolean(true)},
      {{0xAB, 0xCD}, 1, false, Byte(0xAB)},
      {{0x12, 0x34, 0x56}, 2, false, Word(0x1234)},
      {{0x89, 0xAB, 0xCD, 0xEF}, 4, false, DWord(0x89ABCDEF)},
      {{0x40, 0x35, 0x80, 0, 0, 0, 0, 0, 0x99}, 8, false, Float(21.5)},
      {{'a', 'b', 'c', 'd'}, 3, false, String("abc")},
      {{'h', 'e', 'l', 'l', 'o'}, 5, false, String("hello")},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9}, 9, false, String("\x01\x02\x03\x04\x05\x06\x07\x08\x09")},
      {{0x07, 0xE8, 5, 17, 13, 45, 10, 7, 0, 16, 0, 1, 0x03},
       13,
       false,
       String("\x07\xE8\x05\x11\x0D\x2D\x0A\x07\x00\x10\x00\x01\x03"s)},
  };
  for (const auto& row : rows) {
    TEVVALUE read = String("stale");
    EXPECT_TRUE(ByteArrayToTevValue(row.bytes.data(), row.length, read, row.oneBit))
        << row.expected.ToString();
    EXPECT_TRUE(Same(row.expected, read));
  }
}

TEST(TevValueBytesRead, NothingToReadIsRefusedAndKeepsTheValue) {
  const unsigned char byte = 1;
  TEVVALUE read = Float(1.5);
  EXPECT_FALSE(ByteArrayToTevValue(&byte, 0, read, false));
  EXPECT_FALSE(ByteArrayToTevValue(&byte, 0, read, true));
  EXPECT_FALSE(ByteArrayToTevValue(nullptr, 4, read, false));
  EXPECT_TRUE(Same(Float(1.5), read));
}

}  // namespace
