#include <gtest/gtest.h>

#include <string>

#include "ValueText.h"

namespace {

using QuorOm::FormatValueText;
using QuorOm::ParseValueText;

TEST(ValueText, ReadsAndPrintsEachKind) {
  const struct {
    TevValueType tvt;
    const char* input;
    const char* printed;  // what the value prints as; nullptr: the input refused
  } cases[] = {
      {tvtBoolean, "1", "true"},
      {tvtBoolean, "yes", nullptr},
      {tvtBoolean, "2", nullptr},
      {tvtFloat, "1e3", "1000"},
      {tvtFloat, "0x10", "16"},
      {tvtFloat, "-inf", "-inf"},
      {tvtFloat, "21,5", nullptr},
      {tvtByte, "0xff", "255"},
      {tvtByte, "256", nullptr},
      {tvtByte, "0x", nullptr},
      {tvtInteger, "-2147483648", "-2147483648"},
      {tvtInteger, "-0x10", "-16"},
      {tvtInteger, "2147483648", nullptr},
      {tvtInteger, "1.5", nullptr},
      {tvtDWord, "4294967295", "4294967295"},
      {tvtDWord, "4294967296", nullptr},
      {tvtDate, "2024-02-29", "2024-02-29"},
      {tvtDate, "2023-02-29", nullptr},
      {tvtDayTime, "13:45:10@7", "13:45:10@7"},
      {tvtDayTime, "13:45:10@8", nullptr},
      {tvtDayTime, "24:00:00", nullptr},
      {tvtDateTime, "2021-03-14", nullptr},
      {tvtEmpty, "5", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(TEVVALUE::GetNameFromValueType(c.tvt)) + " '" + c.input + "'");
    const auto value = ParseValueText(c.input, c.tvt);
    ASSERT_EQ(value.has_value(), c.printed != nullptr);
    if (value) {
      EXPECT_EQ(FormatValueText(*value), c.printed);
    }
  }
}

TEST(ValueText, ShortestFloatTextReadsBackExactly) {
  for (const double number : {0.1, 1.0 / 3.0, 670760.96, -273.0, 1e-300, 3.4028234663852886e38}) {
    TEVVALUE value(tvtFloat);
    value.value.doubleValue = number;
    const auto back = ParseValueText(FormatValueText(value), tvtFloat);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->value.doubleValue, number) << FormatValueText(value);
  }
}

}  // namespace
