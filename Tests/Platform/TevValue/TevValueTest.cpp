// What the library relies on of the value library: the serialised text the device stack
// exchanges.
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "Support/Values.h"

namespace {

using namespace QuorTest;
using namespace std::string_literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(TevValueInternalFormat, WritesTheDocumentedTextAndReadsItBackBitExact) {
  const struct {
    TEVVALUE value;
    std::string text;
  } rows[] = {
      {Invalid(), "0.7:"},
      {Float(kNaN), "3.7:nan"},
      {Float(-kInf), "3.7:-inf"},
      {Float(-0.0), "3.7:-0"},
      {Float(std::numeric_limits<double>::max()), "3.7:1.7976931348623157e+308"},
      // Number text is the same on every C++ library: fixed from 1e-4 up to 1e16, the
      // shortest digits that read back, subnormals kept.
      {Float(std::numeric_limits<double>::denorm_min()), "3.7:5e-324"},
      {Float(std::numeric_limits<double>::min()), "3.7:2.2250738585072014e-308"},
      {Float(2.2250738585072009e-308), "3.7:2.225073858507201e-308"},
      {Float(9.999999999999999e-5), "3.7:9.999999999999999e-05"},
      {Float(1e-4), "3.7:0.0001"},
      {Float(0.1 + 0.2), "3.7:0.30000000000000004"},
      {Float(-21.5), "3.7:-21.5"},
      {Float(1e15 + 0.5), "3.7:1000000000000000.5"},
      {Float(9999999999999998.0), "3.7:9999999999999998"},
      {Float(1e16), "3.7:1e+16"},
      {Float(0x1p-52), "3.7:2.220446049250313e-16"},
      {Float(50.0, tvtPercent), "1036.7:50"},
      {Integer(std::numeric_limits<int32_t>::min()), "4.7:-2147483648"},
      {DWord(4294967295u), "8.7:4294967295"},
      {Text("a\0b\xFF\xC3"s), "10.7:a\0b\xFF\xC3"s},
      {Time(tvtDate, 2024, 5, 17, 0, 0, 0, 16), "11.7:2024-05-17T00:00:00.00 16 1 1 0"},
      {Time(tvtDateTime, 1, 1, 1, 23, 59, 59, 1), "13.7:0001-01-01T23:59:59.00 1 1 1 0"},
  };
  for (const auto& row : rows) {
    std::string text = "stale";
    EXPECT_TRUE(row.value.Serialize(text, true)) << row.text;
    EXPECT_EQ(text, row.text);
    TEVVALUE read = Text("stale");
    EXPECT_TRUE(read.Deserialize(row.text)) << row.text;
    EXPECT_TRUE(Same(row.value, read)) << row.text;
  }
}

// The plain form saturates what is out of range; a number that is not zero never reads as
// zero while a subnormal holds it.
TEST(TevValuePlainFormat, ReadsNumbersOutOfRangeAsTheirLimit) {
  const struct {
    const char* text;
    double value;
  } rows[] = {
      {"1e400", kInf},
      {"-1.7976931348623159e308", -kInf},
      {"1.7976931348623158e308", std::numeric_limits<double>::max()},
      {"-1e-400", -0.0},
      {"2.4703282292062327e-324", 0.0},
      {"2.4703282292062328e-324", std::numeric_limits<double>::denorm_min()},
      {"1e-320", 1e-320},
  };
  for (const auto& row : rows) {
    TEVVALUE read;
    EXPECT_TRUE(read.Deserialize(row.text)) << row.text;
    EXPECT_TRUE(Same(Float(row.value), read)) << row.text;
  }
}

TEST(TevValueInternalFormat, UnreadableTextLeavesInvalid) {
  for (const char* text : {"3.7:1e400", "3.7:1e-400", "3.7:2e-324", "3.7:0x1p3", "2.7:yes",
                           "6.7:256", "4.7:2147483648", "999.7:1", "11.7:2024-05-17"}) {
    TEVVALUE read = Float(1.0);
    EXPECT_FALSE(read.Deserialize(text)) << text;
    EXPECT_TRUE(Same(Invalid(), read)) << text;
  }
}

}  // namespace
