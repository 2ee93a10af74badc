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

TEST(TevValueInternalFormat, UnreadableTextLeavesInvalid) {
  for (const char* text :
       {"3.7:1e400", "2.7:yes", "6.7:256", "4.7:2147483648", "999.7:1", "11.7:2024-05-17"}) {
    TEVVALUE read = Float(1.0);
    EXPECT_FALSE(read.Deserialize(text)) << text;
    EXPECT_TRUE(Same(Invalid(), read)) << text;
  }
}

}  // namespace
