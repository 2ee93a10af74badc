// The filled DPT table with the real converters: every main type in both directions
// with valid, boundary and refused values against the KNX bytes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

#include "QuorObjectModel/KnxValueConverter.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace {

using namespace QuorTest;
using ::testing::IsEmpty;

class DptTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(converter.Init()); }
  Quor::KnxValueConverter converter;
};

// Valid and boundary values: out as these bytes, back as the same value.
TEST_F(DptTableTest, ValidAndBoundaryValuesRoundTrip) {
  const Bytes hello = {'H', 'e', 'l', 'l', 'o', 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const Bytes full = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N'};
  const Bytes gruen = {'G', 'r', 0xFC, 'n', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  // clang-format off
  const struct {
    KNXDPT dpt;
    TEVVALUE value;
    Bytes bytes;
    unsigned int bits;
  } cases[] = {
      {{1, 1, 1},      Boolean(true),                         {0x01}, 1},
      {{1, 1, 1},      Boolean(false),                        {0x00}, 1},
      {{8, 4, 1},      Text("A"),                           {0x41}, 8},
      {{8, 4, 1},      Text("\x7f"),                        {0x7F}, 8},
      {{8, 4, 2},      Text("\xc3\xa9"),                    {0xE9}, 8},
      {{8, 4, 2},      Text("\xc3\xbf"),                    {0xFF}, 8},
      {{8, 5, 1},      Byte(128),                          {0x80}, 8},
      {{8, 5, 6},      Byte(254),                          {0xFE}, 8},
      {{8, 6, 10},     Integer(-128),                          {0x80}, 8},
      {{8, 6, 10},     Integer(127),                           {0x7F}, 8},
      {{8, 6, 20},     Byte(0x81),                         {0x81}, 8},
      {{16, 7, 1},     Word(0x1234),                       {0x12, 0x34}, 16},
      {{16, 7, 1},     Word(65535),                        {0xFF, 0xFF}, 16},
      {{16, 8, 1},     Integer(-32768),                        {0x80, 0x00}, 16},
      {{16, 8, 1},     Integer(32767),                         {0x7F, 0xFF}, 16},
      {{16, 9, 1},     Float(21.5),                        {0x0C, 0x33}, 16},
      {{16, 9, 1},     Invalid(),                          {0x7F, 0xFF}, 16},
      {{24, 11, 1},    Calendar(tvtDate, 2024, 5, 17),                  {0x11, 0x05, 0x18}, 24},
      {{24, 11, 1},    Calendar(tvtDate, 2089, 12, 31),                 {0x1F, 0x0C, 0x59}, 24},
      {{24, 11, 1},    Calendar(tvtDate, 1990, 1, 1),                   {0x01, 0x01, 0x5A}, 24},
      {{32, 12, 1},    DWord(0x12345678),                  {0x12, 0x34, 0x56, 0x78}, 32},
      {{32, 12, 1},    DWord(4294967295u),                 {0xFF, 0xFF, 0xFF, 0xFF}, 32},
      {{32, 13, 1},    Integer(5),                             {0x00, 0x00, 0x00, 0x05}, 32},
      {{32, 13, 1},    Integer(-2147483647 - 1),               {0x80, 0x00, 0x00, 0x00}, 32},
      {{32, 14, 0},    Float(1.5),                         {0x3F, 0xC0, 0x00, 0x00}, 32},
      {{32, 14, 0},    Float(FLT_MAX),                     {0x7F, 0x7F, 0xFF, 0xFF}, 32},
      {{32, 14, 0},    Invalid(),                          {0x7F, 0xC0, 0x00, 0x00}, 32},
      {{32, 15, 0},    DWord(0x00ABCDEF),                  {0x00, 0xAB, 0xCD, 0xEF}, 32},
      {{112, 16, 0},   Text("Hello"),                       hello, 112},
      {{112, 16, 0},   Text("ABCDEFGHIJKLMN"),              full, 112},
      {{112, 16, 1},   Text("Gr\xc3\xbcn"),                 gruen, 112},
      {{64, 19, 1},    Calendar(tvtDateTime, 2024, 5, 17, 13, 45, 10),  {0x7C, 0x05, 0x11, 0x0D, 0x2D, 0x0A, 0x20, 0x00}, 64},
      {{64, 19, 1},    Calendar(tvtDateTime, 2155, 12, 31, 23, 59, 59), {0xFF, 0x0C, 0x1F, 0x17, 0x3B, 0x3B, 0x20, 0x00}, 64},
      {{8, 20, 102},   Byte(4),                            {0x04}, 8},
      {{8, 21, 1},     Byte(0x12),                         {0x12}, 8},
      {{8, 23, 1},     Byte(2),                            {0x02}, 8},
      {{8, 26, 1},     Byte(0x45),                         {0x45}, 8},
      {{32, 27, 1},    DWord(0x0000FFFF),                  {0x00, 0x00, 0xFF, 0xFF}, 32},
      {{24, 232, 600}, DWord(0x00102030),                  {0x10, 0x20, 0x30}, 24},
      {{24, 232, 600}, DWord(0x00FFFFFF),                  {0xFF, 0xFF, 0xFF}, 24},
      {{8, 236, 1},    Byte(0x3F),                         {0x3F}, 8},
      {{8, 238, 1},    Byte(0x40),                         {0x40}, 8},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE("DPT " + Name(c.dpt) + " value " + c.value.ToString());
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    KNXDPT dpt = c.dpt;
    KnxStack::GroupValue group;
    EXPECT_TRUE(converter.ToKnxValue(dpt, c.value, group));
    EXPECT_EQ(group.GetRawData().ToString(), RawText(c.bytes));
    EXPECT_EQ(group.GetDefinedSize(), c.bits);

    TEVVALUE back;
    EXPECT_TRUE(converter.FromKnxValue(dpt, Group(c.bytes, c.bits), back));
    EXPECT_EQ(Show(back), Show(c.value));
    EXPECT_THAT(capture.Lines(), IsEmpty());
  }
}

// Who refuses: the converter (the core then adds its own line) or the core alone.
enum class By { Nobody, Converter, Core };

// Towards KNX: one-way values and refusals.
TEST_F(DptTableTest, OneWayValuesAndRefusalsTowardsKnx) {
  const char* const kTypeOrDpt2 = "Wrong tev value type (tvtByte) or DPT main number (2.x)!";
  const char* const kTypeOrDpt3 = "Wrong tev value type (tvtByte) or DPT main number (3.x)!";
  const Bytes grusse = {'G', 'r', '_', '_', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0};
  // clang-format off
  const struct {
    KNXDPT dpt;
    TEVVALUE value;
    bool ok;
    Bytes bytes;  // the group value afterwards; empty when nothing is written
    unsigned int bits;
    const char* line;  // the refusal before the core's follow-up line
    By by;
  } cases[] = {
      {{1, 1, 1}, Invalid(), false, {}, 0, nullptr, By::Converter},  // refused silently
      {{1, 1, 1}, Byte(1), false, {}, 0, "Invalid value type found for DPT = 1.1 val.tvt=6", By::Core},
      // No value passes both the core's type check and the converter's for 2.x, 3.x and 18.x.
      {{2, 2, 1}, Boolean(true), false, {}, 0, kTypeOrDpt2, By::Converter},
      {{2, 2, 1}, Byte(3), false, {}, 0, "Invalid value type found for DPT = 2.1 val.tvt=6", By::Core},
      {{4, 3, 7}, Float(50.0), false, {}, 0, kTypeOrDpt3, By::Converter},
      {{4, 3, 7}, Byte(9), false, {}, 0, "Invalid value type found for DPT = 3.7 val.tvt=6", By::Core},
      {{8, 4, 1}, Text("\xc3\xa9"), false, {}, 0, "Value out of raw range [0..127] for DPT 4.001: 233", By::Converter},
      {{8, 5, 6}, Byte(255), false, {}, 0, "Value out of raw range [0..254] for DPT 5.006: 255", By::Converter},
      {{8, 6, 10}, Integer(300), true, {0x2C}, 8, nullptr, By::Nobody},  // low byte, no window
      // Written before the mode is checked.
      {{8, 6, 20}, Byte(0x03), false, {0x03}, 8, "The internal value of DPT=6.20, f=3 is out of the allowed range.", By::Converter},
      {{16, 9, 1}, Float(-273.0), true, {0xA1, 0x56}, 16, nullptr, By::Nobody},
      {{16, 9, 1}, Float(670760.0), true, {0x7F, 0xFE}, 16, nullptr, By::Nobody},
      {{16, 9, 1}, Float(-273.5), false, {}, 0, "The internal value of DPT=9.1, f=-273.5 is out of the allowed range.", By::Converter},
      {{16, 9, 9}, Float(-300.0), true, {0xA0, 0xAD}, 16, nullptr, By::Nobody},  // 9.x window
      {{16, 9, 4}, Float(-0.5), false, {}, 0, "The internal value of DPT=9.4, f=-0.5 is out of the allowed range.", By::Converter},
      {{24, 10, 1}, Time(tvtTime, 0, 0, 0, 13, 45, 10, 4), true, {0x6D, 0x2D, 0x0A}, 24, nullptr, By::Nobody},
      {{24, 10, 1}, Time(tvtTime, 0, 0, 0, 23, 59, 59, 64), true, {0xF7, 0x3B, 0x3B}, 24, nullptr, By::Nobody},
      // The entry is tvtTime, so the converter's own tvtDayTime never gets past the core.
      {{24, 10, 1}, Time(tvtDayTime, 0, 0, 0, 13, 45, 10, 4), false, {}, 0, "Invalid value type found for DPT = 10.1 val.tvt=15", By::Core},
      {{24, 10, 1}, Time(tvtTime, 0, 0, 0, 24, 0, 0, 16), false, {}, 0, "Could not convert TEVTIME 0 0 0 24 0 0 0 16 1 1 0 to TimeOfDay", By::Converter},
      {{24, 11, 1}, Calendar(tvtDate, 2090, 1, 1), false, {}, 0, "Cannot convert the date outside of the range [1990...2089]: year=2090, month=1, day=1", By::Converter},
      {{112, 16, 0}, Text("Gr\xc3\xbc\xc3\x9f" "e"), true, grusse, 112, nullptr, By::Nobody},
      {{8, 17, 1}, Integer(63), true, {0x3F}, 8, nullptr, By::Nobody},
      {{8, 17, 1}, Integer(0), true, {0x00}, 8, nullptr, By::Nobody},
      {{8, 17, 1}, Integer(64), false, {}, 0, "Scene number is out of range (>63) for SceneNumber: 64", By::Converter},
      {{8, 18, 1}, Integer(5), false, {}, 0, "Wrong DPT for Scene number (18.001) or tev value type (tvtByte).", By::Converter},
      {{8, 18, 1}, Byte(0x85), false, {}, 0, "Invalid value type found for DPT = 18.1 val.tvt=6", By::Core},
      {{64, 19, 1}, Calendar(tvtDate, 2024, 5, 17), false, {}, 0, "Invalid value type found for DPT = 19.1 val.tvt=11", By::Core},
      {{64, 19, 1}, Calendar(tvtDateTime, 2156, 1, 1), false, {}, 0, "Cannot convert the date and time outside of the range [1900...2155]: year=2156", By::Converter},
      {{8, 20, 102}, Byte(5), true, {0x05}, 8, nullptr, By::Nobody},  // no window towards KNX
      {{8, 26, 1}, Byte(0x85), false, {}, 0, "Reserved bit 8 is set for SceneInfo; skipped.", By::Converter},
      {{24, 232, 600}, DWord(0x12345678), true, {0x34, 0x56, 0x78}, 24, nullptr, By::Nobody},  // top byte dropped
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE("DPT " + Name(c.dpt) + " value " + c.value.ToString());
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    KNXDPT dpt = c.dpt;
    KnxStack::GroupValue group;
    EXPECT_EQ(converter.ToKnxValue(dpt, c.value, group), c.ok);
    EXPECT_EQ(group.GetRawData().ToString(), RawText(c.bytes));
    EXPECT_EQ(group.GetDefinedSize(), c.bits);

    Lines expected;
    if (c.line != nullptr) {
      expected.push_back(Error(c.line));
    }
    if (c.by == By::Converter) {
      expected.push_back(Error("Convert to KNX value failed for DPT = " + Name(c.dpt) +
                               " val = " + c.value.ToString()));
    }
    EXPECT_EQ(capture.Lines(), expected);
  }
}

std::string SizeRefusal(const char* dpt, unsigned int actual, unsigned int expected) {
  return std::string("Failed to convert a GroupValue for DPT ") + dpt +
         " because of unexpected bit size: " + std::to_string(actual) +
         ", expected: " + std::to_string(expected);
}

// From KNX: one-way values and refusals.
TEST_F(DptTableTest, OneWayValuesAndRefusalsFromKnx) {
  const Bytes umlaut = {'G', 'r', 0xFC, 'n', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  // The core's bit-size refusal, for a few rows; the round trips show every row's size.
  const std::string size1 = SizeRefusal("1.1", 7, 1), size23 = SizeRefusal("23.1", 6, 8),
                    size232 = SizeRefusal("232.600", 32, 24);
  // clang-format off
  const struct {
    KNXDPT dpt;
    Bytes bytes;
    unsigned int bits;
    bool ok;
    TEVVALUE expected;  // type and storage afterwards
    const char* line;   // converter's or core's refusal, or an INFO note when ok
    By by;
  } cases[] = {
      {{1, 1, 1}, {0x01}, 7, false, TEVVALUE(tvtBoolean), size1.c_str(), By::Core},  // 7 bits are compared
      {{2, 2, 1}, {0x03}, 2, true, Byte(3), nullptr, By::Nobody},
      {{2, 2, 1}, {0x00}, 2, true, Byte(0), nullptr, By::Nobody},
      // The 4-bit converter fills the byte and leaves the entry's tvtFloat.
      {{4, 3, 7}, {0x0F}, 4, true, Byte(15, tvtFloat), nullptr, By::Nobody},
      {{4, 3, 7}, {0x00}, 4, true, Byte(0, tvtFloat), nullptr, By::Nobody},
      {{8, 4, 1}, {0x80}, 8, false, TEVVALUE(tvtString), "Value out of raw range [0..127] for DPT 4.001: 128", By::Converter},
      {{8, 4, 3}, {0xFF}, 8, true, Text("\xc3\xbf"), nullptr, By::Nobody},  // 4.x row
      {{8, 5, 6}, {0xFF}, 8, false, TEVVALUE(tvtByte), "Value out of raw range IntegerRange(0, 254, 0, 254) for DPT 5.6; value was 255", By::Converter},
      {{8, 6, 20}, {0x07}, 8, false, TEVVALUE(tvtByte), "The internal value of DPT=6.20, f=7 is out of the allowed range.", By::Converter},
      // Stored, then refused by the window.
      {{16, 9, 1}, {0xA0, 0xAD}, 16, false, Float(-300.0), "The internal value of DPT=9.1, f=-300 is out of the allowed range.", By::Converter},
      {{16, 9, 9}, {0x7F, 0xFE}, 16, true, Float(670433.28), nullptr, By::Nobody},  // 9.x row
      // Between them, the accepted rows set every bit outside the reserved masks.
      {{24, 10, 1}, {0x6D, 0x2D, 0x0E}, 24, true, DayTime(13, 45, 14, 4), nullptr, By::Nobody},
      {{24, 10, 1}, {0xF7, 0x3B, 0x3B}, 24, true, DayTime(23, 59, 59, 64), nullptr, By::Nobody},
      {{24, 10, 1}, {0x6D, 0x6D, 0x0A}, 24, false, TEVVALUE(tvtTime), "No valid TimeOfDay datagram, reserved fields are not zero!", By::Converter},
      {{24, 10, 1}, {0x6D, 0xAD, 0x0A}, 24, false, TEVVALUE(tvtTime), "No valid TimeOfDay datagram, reserved fields are not zero!", By::Converter},
      {{24, 10, 1}, {0x6D, 0x2D, 0x4A}, 24, false, TEVVALUE(tvtTime), "No valid TimeOfDay datagram, reserved fields are not zero!", By::Converter},
      {{24, 10, 1}, {0x6D, 0x2D, 0x8A}, 24, false, TEVVALUE(tvtTime), "No valid TimeOfDay datagram, reserved fields are not zero!", By::Converter},
      {{24, 10, 1}, {0x18, 0x00, 0x00}, 24, false, TEVVALUE(tvtTime), "No valid TimeOfDay (10.001)!", By::Converter},
      {{24, 10, 1}, {0x17, 0x3C, 0x00}, 24, false, TEVVALUE(tvtTime), "No valid TimeOfDay (10.001)!", By::Converter},
      {{24, 10, 1}, {0x17, 0x00, 0x3C}, 24, false, TEVVALUE(tvtTime), "No valid TimeOfDay (10.001)!", By::Converter},
      // Year bytes 100..127 are no KNX year, yet the converter checks only the reserved bits
      // and the date: the stack reads them by the same rule, 100 as 2000.
      {{24, 11, 1}, {0x1F, 0x0C, 0x7F}, 24, true, Calendar(tvtDate, 2027, 12, 31), nullptr, By::Nobody},
      {{24, 11, 1}, {0x04, 0x03, 0x64}, 24, true, Calendar(tvtDate, 2000, 3, 4), nullptr, By::Nobody},
      {{24, 11, 1}, {0x11, 0x05, 0x98}, 24, false, TEVVALUE(tvtDate), "No valid Date datagram, reserved fields are not zero!", By::Converter},
      {{24, 11, 1}, {0x31, 0x05, 0x18}, 24, false, TEVVALUE(tvtDate), "No valid Date datagram, reserved fields are not zero!", By::Converter},
      {{24, 11, 1}, {0x51, 0x05, 0x18}, 24, false, TEVVALUE(tvtDate), "No valid Date datagram, reserved fields are not zero!", By::Converter},
      {{24, 11, 1}, {0x91, 0x05, 0x18}, 24, false, TEVVALUE(tvtDate), "No valid Date datagram, reserved fields are not zero!", By::Converter},
      {{24, 11, 1}, {0x11, 0x15, 0x18}, 24, false, TEVVALUE(tvtDate), "No valid Date datagram, reserved fields are not zero!", By::Converter},
      {{24, 11, 1}, {0x11, 0x25, 0x18}, 24, false, TEVVALUE(tvtDate), "No valid Date datagram, reserved fields are not zero!", By::Converter},
      {{24, 11, 1}, {0x11, 0x45, 0x18}, 24, false, TEVVALUE(tvtDate), "No valid Date datagram, reserved fields are not zero!", By::Converter},
      {{24, 11, 1}, {0x11, 0x85, 0x18}, 24, false, TEVVALUE(tvtDate), "No valid Date datagram, reserved fields are not zero!", By::Converter},
      {{24, 11, 1}, {0x1F, 0x02, 0x18}, 24, false, TEVVALUE(tvtDate), "Cannot convert invalid date: year=2024, month=2, day=31", By::Converter},
      {{112, 16, 0}, umlaut, 112, true, Text("Gr__n"), "Invalid characters for DPT 16.0 has been replaced with _.", By::Nobody},
      {{8, 17, 1}, {0x3F}, 8, true, Integer(63, tvtByte), nullptr, By::Nobody},
      {{8, 17, 1}, {0x00}, 8, true, Integer(0, tvtByte), nullptr, By::Nobody},
      // The received number is stored before the window refuses it.
      {{8, 17, 1}, {0x40}, 8, false, Integer(64, tvtInteger), "Scene number is out of range (>63) for SceneNumber: 64", By::Converter},
      {{8, 18, 1}, {0x85}, 8, true, Byte(0x85, tvtInteger), nullptr, By::Nobody},
      {{8, 18, 1}, {0x3F}, 8, true, Byte(0x3F, tvtInteger), nullptr, By::Nobody},
      {{8, 18, 1}, {0x45}, 8, false, TEVVALUE(tvtInteger), "Reserved bit is used for scene number in DPT scene control!", By::Converter},
      {{64, 19, 1}, {0x7C, 0x0D, 0x11, 0x0D, 0x2D, 0x0A, 0x20, 0x00}, 64, false, TEVVALUE(tvtDateTime), "Cannot convert invalid date and time: year=2024, month=13, day=17, hour=13, minute=45, second=10", By::Converter},
      {{64, 19, 1}, {0x7C, 0x05, 0x11, 0x18, 0x2D, 0x0A, 0x20, 0x00}, 64, false, TEVVALUE(tvtDateTime), "Cannot convert invalid date and time: year=2024, month=5, day=17, hour=24, minute=45, second=10", By::Converter},
      // Bits above each field, weekday bits and flag bytes are ignored; the two rows set every
      // bit of every field, at the first and the last year.
      {{64, 19, 1}, {0xFF, 0xFC, 0xFF, 0xF7, 0xFB, 0xFB, 0xFF, 0xFF}, 64, true, Calendar(tvtDateTime, 2155, 12, 31, 23, 59, 59), nullptr, By::Nobody},
      {{64, 19, 1}, {0x00, 0xF3, 0xEE, 0xEE, 0xE4, 0xE4, 0xFF, 0xFF}, 64, true, Calendar(tvtDateTime, 1900, 3, 14, 14, 36, 36), nullptr, By::Nobody},
      {{8, 20, 102}, {0x05}, 8, false, TEVVALUE(tvtByte), "Value out of raw range IntegerRange(0, 4, 0, 4) for DPT 20.102; value was 5", By::Converter},
      // Only when both sizes are at most 6 are they not compared.
      {{8, 23, 1}, {0x02}, 6, false, TEVVALUE(tvtByte), size23.c_str(), By::Core},
      {{24, 232, 600}, {0x10, 0x20, 0x30, 0x40}, 32, false, TEVVALUE(tvtDWord), size232.c_str(), By::Core},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE("DPT " + Name(c.dpt) + " bytes " + RawText(c.bytes));
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    KNXDPT dpt = c.dpt;
    TEVVALUE value;
    EXPECT_EQ(converter.FromKnxValue(dpt, Group(c.bytes, c.bits), value), c.ok);
    EXPECT_EQ(Show(value), Show(c.expected));

    Lines expected;
    if (c.line != nullptr) {
      expected.push_back(c.by == By::Nobody ? Info(c.line) : Error(c.line));
    }
    if (c.by == By::Converter) {
      expected.push_back(Error("Convert from KNX value failed for DPT = " + Name(c.dpt) +
                               " GroupValue = " + RawText(c.bytes)));
    }
    EXPECT_EQ(capture.Lines(), expected);
  }
}

}  // namespace
