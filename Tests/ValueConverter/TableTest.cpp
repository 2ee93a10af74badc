// The filled DPT table with the real converters: every main type in both directions
// with a valid, a boundary and a refused value against the KNX bytes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <string>
#include <tuple>
#include <vector>

#include "QuorObjectModel/KnxValueConverter.h"
#include "Support/LogCapture.h"
#include "Values.h"

namespace {

using namespace QuorTest;
using ::testing::ElementsAreArray;

constexpr int kInfo = log4cplus::INFO_LOG_LEVEL;
constexpr int kError = log4cplus::ERROR_LOG_LEVEL;

// Who refuses: the converter (the core then adds its own line) or the core alone.
enum class By { Nobody, Converter, Core };

using Line = std::pair<int, std::string>;

std::vector<Line> NonDebugLines(const LogCapture& capture) {
  std::vector<Line> lines;
  for (const Line& line : capture.Lines()) {
    if (line.first >= kInfo) {
      lines.push_back(line);
    }
  }
  return lines;
}

std::string DptText(const KNXDPT& dpt) {
  return std::to_string(dpt.mainNumber) + "." + std::to_string(dpt.subNumber);
}

// ---------------------------------------------------------------------------------------
// Towards KNX

struct ToCase {
  KNXDPT dpt;
  TEVVALUE value;
  bool ok;
  Bytes bytes;  // the group value afterwards; empty when nothing is written
  unsigned int bits;
  const char* line;  // the refusal (or note) before the core's follow-up line
  By by;
};

TEST(DptTableTest, EveryMainTypeTowardsKnx) {
  const char* const kTypeOrDpt2 = "Wrong tev value type (tvtByte) or DPT main number (2.x)!";
  const char* const kTypeOrDpt3 = "Wrong tev value type (tvtByte) or DPT main number (3.x)!";
  // clang-format off
  const std::vector<ToCase> cases = {
      {{1, 1, 1}, Bool(true), true, {0x01}, 1, nullptr, By::Nobody},
      {{1, 1, 1}, Bool(false), true, {0x00}, 1, nullptr, By::Nobody},
      {{1, 1, 1}, Invalid(), false, {}, 0, nullptr, By::Converter},  // refused silently
      {{1, 1, 1}, Byte(1), false, {}, 0, "Invalid value type found for DPT = 1.1 val.tvt=6", By::Core},
      // No value passes both the core's type check and the converter's for 2.x and 3.x.
      {{2, 2, 1}, Bool(true), false, {}, 0, kTypeOrDpt2, By::Converter},
      {{2, 2, 1}, Byte(3), false, {}, 0, "Invalid value type found for DPT = 2.1 val.tvt=6", By::Core},
      {{4, 3, 7}, Float(50.0), false, {}, 0, kTypeOrDpt3, By::Converter},
      {{4, 3, 7}, Byte(9), false, {}, 0, "Invalid value type found for DPT = 3.7 val.tvt=6", By::Core},
      {{8, 4, 1}, Str("A"), true, {0x41}, 8, nullptr, By::Nobody},
      {{8, 4, 1}, Str("\x7f"), true, {0x7F}, 8, nullptr, By::Nobody},
      {{8, 4, 1}, Str("\xc3\xa9"), false, {}, 0, "Value out of raw range [0..127] for DPT 4.001: 233", By::Converter},
      {{8, 4, 2}, Str("\xc3\xa9"), true, {0xE9}, 8, nullptr, By::Nobody},
      {{8, 4, 2}, Str("\xc3\xbf"), true, {0xFF}, 8, nullptr, By::Nobody},
      {{8, 4, 1}, Int(65), false, {}, 0, "Invalid value type found for DPT = 4.1 val.tvt=4", By::Core},
      {{8, 5, 1}, Byte(128), true, {0x80}, 8, nullptr, By::Nobody},
      {{8, 5, 1}, Byte(255), true, {0xFF}, 8, nullptr, By::Nobody},
      {{8, 5, 1}, Int(1), false, {}, 0, "Invalid value type found for DPT = 5.1 val.tvt=4", By::Core},
      {{8, 5, 6}, Byte(254), true, {0xFE}, 8, nullptr, By::Nobody},
      {{8, 5, 6}, Byte(255), false, {}, 0, "Value out of raw range [0..254] for DPT 5.006: 255", By::Converter},
      {{8, 6, 10}, Int(-128), true, {0x80}, 8, nullptr, By::Nobody},
      {{8, 6, 10}, Int(127), true, {0x7F}, 8, nullptr, By::Nobody},
      {{8, 6, 10}, Int(300), true, {0x2C}, 8, nullptr, By::Nobody},  // low byte, no window
      {{8, 6, 10}, Byte(1), false, {}, 0, "Invalid value type found for DPT = 6.10 val.tvt=6", By::Core},
      {{8, 6, 20}, Byte(0x81), true, {0x81}, 8, nullptr, By::Nobody},
      {{8, 6, 20}, Byte(0x04), true, {0x04}, 8, nullptr, By::Nobody},
      // Written before the mode is checked.
      {{8, 6, 20}, Byte(0x03), false, {0x03}, 8, "The internal value of DPT=6.20, f=3 is out of the allowed range.", By::Converter},
      {{16, 7, 1}, Word(0x1234), true, {0x12, 0x34}, 16, nullptr, By::Nobody},
      {{16, 7, 1}, Word(65535), true, {0xFF, 0xFF}, 16, nullptr, By::Nobody},
      {{16, 7, 1}, Int(1), false, {}, 0, "Invalid value type found for DPT = 7.1 val.tvt=4", By::Core},
      {{16, 8, 1}, Int(-32768), true, {0x80, 0x00}, 16, nullptr, By::Nobody},
      {{16, 8, 1}, Int(32767), true, {0x7F, 0xFF}, 16, nullptr, By::Nobody},
      {{16, 8, 1}, Word(1), false, {}, 0, "Invalid value type found for DPT = 8.1 val.tvt=7", By::Core},
      {{16, 9, 1}, Float(21.5), true, {0x0C, 0x33}, 16, nullptr, By::Nobody},
      {{16, 9, 1}, Float(-273.0), true, {0xA1, 0x56}, 16, nullptr, By::Nobody},
      {{16, 9, 1}, Float(670760.0), true, {0x7F, 0xFE}, 16, nullptr, By::Nobody},
      {{16, 9, 1}, Invalid(), true, {0x7F, 0xFF}, 16, nullptr, By::Nobody},
      {{16, 9, 1}, Float(-273.5), false, {}, 0, "The internal value of DPT=9.1, f=-273.5 is out of the allowed range.", By::Converter},
      {{16, 9, 9}, Float(-300.0), true, {0xA0, 0xAD}, 16, nullptr, By::Nobody},  // 9.x window
      {{16, 9, 4}, Float(-0.5), false, {}, 0, "The internal value of DPT=9.4, f=-0.5 is out of the allowed range.", By::Converter},
      {{24, 10, 1}, TimeOfDay(tvtTime, 13, 45, 10, 4), true, {0x6D, 0x2D, 0x0A}, 24, nullptr, By::Nobody},
      {{24, 10, 1}, TimeOfDay(tvtTime, 23, 59, 59, 64), true, {0xF7, 0x3B, 0x3B}, 24, nullptr, By::Nobody},
      // The entry is tvtTime, so the converter's own tvtDayTime never gets past the core.
      {{24, 10, 1}, TimeOfDay(tvtDayTime, 13, 45, 10, 4), false, {}, 0, "Invalid value type found for DPT = 10.1 val.tvt=15", By::Core},
      {{24, 11, 1}, Date(2024, 5, 17), true, {0x11, 0x05, 0x18}, 24, nullptr, By::Nobody},
      {{24, 11, 1}, Date(2089, 12, 31), true, {0x1F, 0x0C, 0x59}, 24, nullptr, By::Nobody},
      {{24, 11, 1}, Date(1990, 1, 1), true, {0x01, 0x01, 0x5A}, 24, nullptr, By::Nobody},
      {{24, 11, 1}, Date(2090, 1, 1), false, {}, 0, "Cannot convert the date outside of the range [1990...2089]: year=2090, month=1, day=1", By::Converter},
      {{32, 12, 1}, DWord(0x12345678), true, {0x12, 0x34, 0x56, 0x78}, 32, nullptr, By::Nobody},
      {{32, 12, 1}, DWord(4294967295u), true, {0xFF, 0xFF, 0xFF, 0xFF}, 32, nullptr, By::Nobody},
      {{32, 12, 1}, Int(1), false, {}, 0, "Invalid value type found for DPT = 12.1 val.tvt=4", By::Core},
      {{32, 13, 1}, Int(5), true, {0x00, 0x00, 0x00, 0x05}, 32, nullptr, By::Nobody},
      {{32, 13, 1}, Int(-2147483647 - 1), true, {0x80, 0x00, 0x00, 0x00}, 32, nullptr, By::Nobody},
      {{32, 13, 1}, DWord(5), false, {}, 0, "Invalid value type found for DPT = 13.1 val.tvt=8", By::Core},
      {{32, 14, 0}, Float(1.5), true, {0x3F, 0xC0, 0x00, 0x00}, 32, nullptr, By::Nobody},
      {{32, 14, 0}, Float(FLT_MAX), true, {0x7F, 0x7F, 0xFF, 0xFF}, 32, nullptr, By::Nobody},
      {{32, 14, 0}, Invalid(), true, {0x7F, 0xC0, 0x00, 0x00}, 32, nullptr, By::Nobody},
      {{32, 14, 0}, Int(1), false, {}, 0, "Invalid value type found for DPT = 14.0 val.tvt=4", By::Core},
      {{32, 15, 0}, DWord(0x00ABCDEF), true, {0x00, 0xAB, 0xCD, 0xEF}, 32, nullptr, By::Nobody},
      {{32, 15, 0}, DWord(0), true, {0x00, 0x00, 0x00, 0x00}, 32, nullptr, By::Nobody},
      {{32, 15, 0}, Bool(true), false, {}, 0, "Invalid value type found for DPT = 15.0 val.tvt=2", By::Core},
      {{112, 16, 0}, Str("Gr\xc3\xbc\xc3\x9f" "e"), true, {'G', 'r', '_', '_', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0}, 112, nullptr, By::Nobody},
      {{112, 16, 0}, Str("ABCDEFGHIJKLMN"), true, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N'}, 112, nullptr, By::Nobody},
      {{112, 16, 1}, Str("Gr\xc3\xbc\xc3\x9f" "e"), true, {'G', 'r', 0xFC, 0xDF, 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0}, 112, nullptr, By::Nobody},
      {{112, 16, 0}, Int(1), false, {}, 0, "Invalid value type found for DPT = 16.0 val.tvt=4", By::Core},
      {{8, 17, 1}, Int(63), true, {0x3F}, 8, nullptr, By::Nobody},
      {{8, 17, 1}, Int(0), true, {0x00}, 8, nullptr, By::Nobody},
      {{8, 17, 1}, Int(64), false, {}, 0, "Scene number is out of range (>63) for SceneNumber: 64", By::Converter},
      // The entry is tvtInteger and the converter wants tvtByte: nothing passes.
      {{8, 18, 1}, Int(5), false, {}, 0, "Wrong DPT for Scene number (18.001) or tev value type (tvtByte).", By::Converter},
      {{8, 18, 1}, Byte(0x85), false, {}, 0, "Invalid value type found for DPT = 18.1 val.tvt=6", By::Core},
      {{64, 19, 1}, DateTime(2024, 5, 17, 13, 45, 10), true, {0x7C, 0x05, 0x11, 0x0D, 0x2D, 0x0A, 0x20, 0x00}, 64, nullptr, By::Nobody},
      {{64, 19, 1}, DateTime(2155, 12, 31, 23, 59, 59), true, {0xFF, 0x0C, 0x1F, 0x17, 0x3B, 0x3B, 0x20, 0x00}, 64, nullptr, By::Nobody},
      {{64, 19, 1}, Date(2024, 5, 17), false, {}, 0, "Invalid value type found for DPT = 19.1 val.tvt=11", By::Core},
      {{8, 20, 102}, Byte(4), true, {0x04}, 8, nullptr, By::Nobody},
      {{8, 20, 102}, Byte(5), true, {0x05}, 8, nullptr, By::Nobody},  // no window towards KNX
      {{8, 20, 1}, Word(1), false, {}, 0, "Invalid value type found for DPT = 20.1 val.tvt=7", By::Core},
      {{8, 21, 1}, Byte(0x12), true, {0x12}, 8, nullptr, By::Nobody},
      {{8, 21, 1}, Byte(0), true, {0x00}, 8, nullptr, By::Nobody},
      {{8, 21, 1}, Float(1.0), false, {}, 0, "Invalid value type found for DPT = 21.1 val.tvt=3", By::Core},
      {{8, 23, 1}, Byte(2), true, {0x02}, 8, nullptr, By::Nobody},
      {{8, 23, 1}, Byte(255), true, {0xFF}, 8, nullptr, By::Nobody},
      {{8, 23, 1}, Int(2), false, {}, 0, "Invalid value type found for DPT = 23.1 val.tvt=4", By::Core},
      {{8, 26, 1}, Byte(0x45), true, {0x45}, 8, nullptr, By::Nobody},
      {{8, 26, 1}, Byte(0x7F), true, {0x7F}, 8, nullptr, By::Nobody},
      {{8, 26, 1}, Byte(0x85), false, {}, 0, "Reserved bit 8 is set for SceneInfo; skipped.", By::Converter},
      {{32, 27, 1}, DWord(0x0000FFFF), true, {0x00, 0x00, 0xFF, 0xFF}, 32, nullptr, By::Nobody},
      {{32, 27, 1}, DWord(4294967295u), true, {0xFF, 0xFF, 0xFF, 0xFF}, 32, nullptr, By::Nobody},
      {{32, 27, 1}, Int(1), false, {}, 0, "Invalid value type found for DPT = 27.1 val.tvt=4", By::Core},
      {{24, 232, 600}, DWord(0x00102030), true, {0x10, 0x20, 0x30}, 24, nullptr, By::Nobody},
      {{24, 232, 600}, DWord(0x12345678), true, {0x34, 0x56, 0x78}, 24, nullptr, By::Nobody},  // top byte dropped
      {{24, 232, 600}, Int(1), false, {}, 0, "Invalid value type found for DPT = 232.600 val.tvt=4", By::Core},
      {{8, 236, 1}, Byte(0x3F), true, {0x3F}, 8, nullptr, By::Nobody},
      {{8, 236, 1}, Byte(255), true, {0xFF}, 8, nullptr, By::Nobody},
      {{8, 236, 1}, Str("a"), false, {}, 0, "Invalid value type found for DPT = 236.1 val.tvt=10", By::Core},
      {{8, 238, 1}, Byte(0x40), true, {0x40}, 8, nullptr, By::Nobody},
      {{8, 238, 1}, Byte(255), true, {0xFF}, 8, nullptr, By::Nobody},
      {{8, 238, 1}, Bool(true), false, {}, 0, "Invalid value type found for DPT = 238.1 val.tvt=2", By::Core},
  };
  // clang-format on
  Quor::KnxValueConverter converter;
  ASSERT_TRUE(converter.Init());
  for (const ToCase& c : cases) {
    SCOPED_TRACE("DPT " + DptText(c.dpt) + " value " + c.value.ToString());
    LogCapture capture;
    KNXDPT dpt = c.dpt;
    KnxStack::GroupValue group;
    EXPECT_EQ(converter.ToKnxValue(dpt, c.value, group), c.ok);
    EXPECT_EQ(group.GetRawData().ToString(), RawText(c.bytes));
    EXPECT_EQ(group.GetDefinedSize(), c.bits);

    std::vector<Line> expected;
    if (c.line != nullptr) {
      expected.emplace_back(kError, c.line);
    }
    if (c.by == By::Converter) {
      expected.emplace_back(kError, "Convert to KNX value failed for DPT = " + DptText(c.dpt) +
                                        " val = " + c.value.ToString());
    }
    EXPECT_THAT(NonDebugLines(capture), ElementsAreArray(expected));
  }
}

// ---------------------------------------------------------------------------------------
// From KNX

// The storage member a case compares besides the type.
enum class Member { None, Bool, Byte, Word, DWord, Int, Double, String, Date, TimeOfDay, DateTime };

struct FromCase {
  KNXDPT dpt;
  Bytes bytes;
  unsigned int bits;
  bool ok;
  TEVVALUE expected;
  Member member;
  const char* line;  // converter's refusal, core's own refusal, or an INFO note (ok)
  By by;
};

void ExpectMember(const TEVVALUE& actual, const TEVVALUE& expected, Member member) {
  const TEVTIME& a = actual.value.timeValue;
  const TEVTIME& e = expected.value.timeValue;
  switch (member) {
    case Member::None:
      break;
    case Member::Bool:
      EXPECT_EQ(actual.value.boolValue, expected.value.boolValue);
      break;
    case Member::Byte:
      EXPECT_EQ(actual.value.byteValue, expected.value.byteValue);
      break;
    case Member::Word:
      EXPECT_EQ(actual.value.wordValue, expected.value.wordValue);
      break;
    case Member::DWord:
      EXPECT_EQ(actual.value.dwordValue, expected.value.dwordValue);
      break;
    case Member::Int:
      EXPECT_EQ(actual.value.intValue, expected.value.intValue);
      break;
    case Member::Double:
      EXPECT_DOUBLE_EQ(actual.value.doubleValue, expected.value.doubleValue);
      break;
    case Member::String:
      EXPECT_EQ(actual.stringValue, expected.stringValue);
      break;
    case Member::Date:
      EXPECT_EQ(std::tie(a.year, a.month, a.day), std::tie(e.year, e.month, e.day));
      break;
    case Member::TimeOfDay:
      EXPECT_EQ(std::tie(a.hour, a.minute, a.second, a.weekday),
                std::tie(e.hour, e.minute, e.second, e.weekday));
      break;
    case Member::DateTime:
      EXPECT_EQ(std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second),
                std::tie(e.year, e.month, e.day, e.hour, e.minute, e.second));
      break;
  }
}

TEVVALUE Typed(TevValueType tvt) {
  return TEVVALUE(tvt);
}

TEVVALUE ByteAs(TevValueType tvt, unsigned char b) {
  TEVVALUE v(tvt);
  v.value.byteValue = b;
  return v;
}

TEVVALUE IntAs(TevValueType tvt, int32_t i) {
  TEVVALUE v(tvt);
  v.value.intValue = i;
  return v;
}

TEST(DptTableTest, EveryMainTypeFromKnx) {
  const Bytes hello = {'H', 'e', 'l', 'l', 'o', 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const Bytes umlaut = {'G', 'r', 0xFC, 'n', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  // clang-format off
  const std::vector<FromCase> cases = {
      {{1, 1, 1}, {0x01}, 1, true, Bool(true), Member::Bool, nullptr, By::Nobody},
      {{1, 1, 1}, {0x00}, 1, true, Bool(false), Member::Bool, nullptr, By::Nobody},
      {{1, 1, 1}, {0x01, 0x00}, 16, false, Typed(tvtBoolean), Member::None, "Failed to convert a GroupValue for DPT 1.1 because of unexpected bit size: 16, expected: 1", By::Core},
      {{2, 2, 1}, {0x03}, 2, true, Byte(3), Member::Byte, nullptr, By::Nobody},
      {{2, 2, 1}, {0x00}, 2, true, Byte(0), Member::Byte, nullptr, By::Nobody},
      {{2, 2, 1}, {0x03}, 8, false, Typed(tvtBoolean), Member::None, "Failed to convert a GroupValue for DPT 2.1 because of unexpected bit size: 8, expected: 2", By::Core},
      // The 4-bit converter fills the byte and leaves the entry's tvtFloat.
      {{4, 3, 7}, {0x0F}, 4, true, ByteAs(tvtFloat, 15), Member::Byte, nullptr, By::Nobody},
      {{4, 3, 7}, {0x09}, 4, true, ByteAs(tvtFloat, 9), Member::Byte, nullptr, By::Nobody},
      {{4, 3, 7}, {0x09}, 8, false, Typed(tvtFloat), Member::None, "Failed to convert a GroupValue for DPT 3.7 because of unexpected bit size: 8, expected: 4", By::Core},
      {{8, 4, 1}, {0x41}, 8, true, Str("A"), Member::String, nullptr, By::Nobody},
      {{8, 4, 1}, {0x7F}, 8, true, Str("\x7f"), Member::String, nullptr, By::Nobody},
      {{8, 4, 1}, {0x80}, 8, false, Typed(tvtString), Member::None, "Value out of raw range [0..127] for DPT 4.001: 128", By::Converter},
      {{8, 4, 2}, {0xE9}, 8, true, Str("\xc3\xa9"), Member::String, nullptr, By::Nobody},
      {{8, 4, 3}, {0xFF}, 8, true, Str("\xc3\xbf"), Member::String, nullptr, By::Nobody},  // 4.x row
      {{8, 5, 1}, {0x80}, 8, true, Byte(128), Member::Byte, nullptr, By::Nobody},
      {{8, 5, 1}, {0xFF}, 8, true, Byte(255), Member::Byte, nullptr, By::Nobody},
      {{8, 5, 1}, {0x00, 0x01}, 16, false, Typed(tvtByte), Member::None, "Failed to convert a GroupValue for DPT 5.1 because of unexpected bit size: 16, expected: 8", By::Core},
      {{8, 5, 6}, {0xFE}, 8, true, Byte(254), Member::Byte, nullptr, By::Nobody},
      {{8, 5, 6}, {0xFF}, 8, false, Typed(tvtByte), Member::None, "Value out of raw range IntegerRange(0, 254, 0, 254) for DPT 5.6; value was 255", By::Converter},
      {{8, 6, 10}, {0x80}, 8, true, Int(-128), Member::Int, nullptr, By::Nobody},
      {{8, 6, 10}, {0x7F}, 8, true, Int(127), Member::Int, nullptr, By::Nobody},
      {{8, 6, 10}, {0x00, 0x7F}, 16, false, Typed(tvtInteger), Member::None, "Failed to convert a GroupValue for DPT 6.10 because of unexpected bit size: 16, expected: 8", By::Core},
      {{8, 6, 20}, {0x81}, 8, true, Byte(0x81), Member::Byte, nullptr, By::Nobody},
      {{8, 6, 20}, {0x04}, 8, true, Byte(0x04), Member::Byte, nullptr, By::Nobody},
      {{8, 6, 20}, {0x07}, 8, false, Typed(tvtByte), Member::None, "The internal value of DPT=6.20, f=7 is out of the allowed range.", By::Converter},
      {{16, 7, 1}, {0x12, 0x34}, 16, true, Word(0x1234), Member::Word, nullptr, By::Nobody},
      {{16, 7, 1}, {0xFF, 0xFF}, 16, true, Word(65535), Member::Word, nullptr, By::Nobody},
      {{16, 7, 1}, {0x12}, 8, false, Typed(tvtWord), Member::None, "Failed to convert a GroupValue for DPT 7.1 because of unexpected bit size: 8, expected: 16", By::Core},
      {{16, 8, 1}, {0x80, 0x00}, 16, true, Int(-32768), Member::Int, nullptr, By::Nobody},
      {{16, 8, 1}, {0x7F, 0xFF}, 16, true, Int(32767), Member::Int, nullptr, By::Nobody},
      {{16, 8, 1}, {0x00, 0x00, 0x01}, 24, false, Typed(tvtInteger), Member::None, "Failed to convert a GroupValue for DPT 8.1 because of unexpected bit size: 24, expected: 16", By::Core},
      {{16, 9, 1}, {0x0C, 0x33}, 16, true, Float(21.5), Member::Double, nullptr, By::Nobody},
      {{16, 9, 1}, {0x7F, 0xFF}, 16, true, Typed(tvtInvalid), Member::None, nullptr, By::Nobody},
      // Stored, then refused by the window.
      {{16, 9, 1}, {0xA0, 0xAD}, 16, false, Float(-300.0), Member::Double, "The internal value of DPT=9.1, f=-300 is out of the allowed range.", By::Converter},
      {{16, 9, 9}, {0x7F, 0xFE}, 16, true, Float(670433.28), Member::Double, nullptr, By::Nobody},  // 9.x row
      {{24, 10, 1}, {0x6D, 0x2D, 0x0A}, 24, true, TimeOfDay(tvtDayTime, 13, 45, 10, 4), Member::TimeOfDay, nullptr, By::Nobody},
      {{24, 10, 1}, {0xF7, 0x3B, 0x3B}, 24, true, TimeOfDay(tvtDayTime, 23, 59, 59, 64), Member::TimeOfDay, nullptr, By::Nobody},
      {{24, 10, 1}, {0x6D, 0x6D, 0x0A}, 24, false, Typed(tvtTime), Member::None, "No valid TimeOfDay datagram, reserved fields are not zero!", By::Converter},
      {{24, 11, 1}, {0x11, 0x05, 0x18}, 24, true, Date(2024, 5, 17), Member::Date, nullptr, By::Nobody},
      {{24, 11, 1}, {0x1F, 0x0C, 0x59}, 24, true, Date(2089, 12, 31), Member::Date, nullptr, By::Nobody},
      {{24, 11, 1}, {0x31, 0x05, 0x18}, 24, false, Typed(tvtDate), Member::None, "No valid Date datagram, reserved fields are not zero!", By::Converter},
      {{24, 11, 1}, {0x1F, 0x02, 0x18}, 24, false, Typed(tvtDate), Member::None, "Cannot convert invalid date: year=2024, month=2, day=31", By::Converter},
      {{32, 12, 1}, {0x12, 0x34, 0x56, 0x78}, 32, true, DWord(0x12345678), Member::DWord, nullptr, By::Nobody},
      {{32, 12, 1}, {0xFF, 0xFF, 0xFF, 0xFF}, 32, true, DWord(4294967295u), Member::DWord, nullptr, By::Nobody},
      {{32, 12, 1}, {0xFF, 0xFF}, 16, false, Typed(tvtDWord), Member::None, "Failed to convert a GroupValue for DPT 12.1 because of unexpected bit size: 16, expected: 32", By::Core},
      {{32, 13, 1}, {0x00, 0x00, 0x00, 0x05}, 32, true, Int(5), Member::Int, nullptr, By::Nobody},
      {{32, 13, 1}, {0x80, 0x00, 0x00, 0x00}, 32, true, Int(-2147483647 - 1), Member::Int, nullptr, By::Nobody},
      {{32, 13, 1}, {0x80}, 8, false, Typed(tvtInteger), Member::None, "Failed to convert a GroupValue for DPT 13.1 because of unexpected bit size: 8, expected: 32", By::Core},
      {{32, 14, 0}, {0x3F, 0xC0, 0x00, 0x00}, 32, true, Float(1.5), Member::Double, nullptr, By::Nobody},
      {{32, 14, 0}, {0x7F, 0xC0, 0x00, 0x00}, 32, true, Typed(tvtInvalid), Member::None, nullptr, By::Nobody},
      {{32, 14, 0}, {0x3F, 0xC0}, 16, false, Typed(tvtFloat), Member::None, "Failed to convert a GroupValue for DPT 14.0 because of unexpected bit size: 16, expected: 32", By::Core},
      {{32, 15, 0}, {0x00, 0xAB, 0xCD, 0xEF}, 32, true, DWord(0x00ABCDEF), Member::DWord, nullptr, By::Nobody},
      {{32, 15, 0}, {0x00, 0x00, 0x00, 0x00}, 32, true, DWord(0), Member::DWord, nullptr, By::Nobody},
      {{32, 15, 0}, {0x00, 0xAB, 0xCD}, 24, false, Typed(tvtDWord), Member::None, "Failed to convert a GroupValue for DPT 15.0 because of unexpected bit size: 24, expected: 32", By::Core},
      {{112, 16, 0}, hello, 112, true, Str("Hello"), Member::String, nullptr, By::Nobody},
      {{112, 16, 0}, umlaut, 112, true, Str("Gr__n"), Member::String, "Invalid characters for DPT 16.0 has been replaced with _.", By::Nobody},
      {{112, 16, 1}, umlaut, 112, true, Str("Gr\xc3\xbcn"), Member::String, nullptr, By::Nobody},
      {{112, 16, 0}, {'H'}, 8, false, Typed(tvtString), Member::None, "Failed to convert a GroupValue for DPT 16.0 because of unexpected bit size: 8, expected: 112", By::Core},
      {{8, 17, 1}, {0x3F}, 8, true, IntAs(tvtByte, 63), Member::Int, nullptr, By::Nobody},
      {{8, 17, 1}, {0x00}, 8, true, IntAs(tvtByte, 0), Member::Int, nullptr, By::Nobody},
      // The received number is stored before the window refuses it.
      {{8, 17, 1}, {0x40}, 8, false, IntAs(tvtInteger, 64), Member::Int, "Scene number is out of range (>63) for SceneNumber: 64", By::Converter},
      {{8, 18, 1}, {0x85}, 8, true, ByteAs(tvtInteger, 0x85), Member::Byte, nullptr, By::Nobody},
      {{8, 18, 1}, {0x3F}, 8, true, ByteAs(tvtInteger, 0x3F), Member::Byte, nullptr, By::Nobody},
      {{8, 18, 1}, {0x45}, 8, false, Typed(tvtInteger), Member::None, "Reserved bit is used for scene number in DPT scene control!", By::Converter},
      {{64, 19, 1}, {0x7C, 0x05, 0x11, 0x0D, 0x2D, 0x0A, 0x20, 0x00}, 64, true, DateTime(2024, 5, 17, 13, 45, 10), Member::DateTime, nullptr, By::Nobody},
      {{64, 19, 1}, {0xFF, 0x0C, 0x1F, 0x17, 0x3B, 0x3B, 0x20, 0x00}, 64, true, DateTime(2155, 12, 31, 23, 59, 59), Member::DateTime, nullptr, By::Nobody},
      {{64, 19, 1}, {0x7C, 0x0D, 0x11, 0x0D, 0x2D, 0x0A, 0x20, 0x00}, 64, false, Typed(tvtDateTime), Member::None, "Cannot convert invalid date and time: year=2024, month=13, day=17, hour=13, minute=45, second=10", By::Converter},
      {{8, 20, 102}, {0x04}, 8, true, Byte(4), Member::Byte, nullptr, By::Nobody},
      {{8, 20, 102}, {0x00}, 8, true, Byte(0), Member::Byte, nullptr, By::Nobody},
      {{8, 20, 102}, {0x05}, 8, false, Typed(tvtByte), Member::None, "Value out of raw range IntegerRange(0, 4, 0, 4) for DPT 20.102; value was 5", By::Converter},
      {{8, 21, 1}, {0x12}, 8, true, Byte(0x12), Member::Byte, nullptr, By::Nobody},
      {{8, 21, 1}, {0xFF}, 8, true, Byte(255), Member::Byte, nullptr, By::Nobody},
      {{8, 21, 1}, {0x12, 0x00}, 16, false, Typed(tvtByte), Member::None, "Failed to convert a GroupValue for DPT 21.1 because of unexpected bit size: 16, expected: 8", By::Core},
      {{8, 23, 1}, {0x02}, 8, true, Byte(2), Member::Byte, nullptr, By::Nobody},
      {{8, 23, 1}, {0xFF}, 8, true, Byte(255), Member::Byte, nullptr, By::Nobody},
      {{8, 23, 1}, {0x02}, 6, false, Typed(tvtByte), Member::None, "Failed to convert a GroupValue for DPT 23.1 because of unexpected bit size: 6, expected: 8", By::Core},
      {{8, 26, 1}, {0x45}, 8, true, Byte(0x45), Member::Byte, nullptr, By::Nobody},
      {{8, 26, 1}, {0x7F}, 8, true, Byte(0x7F), Member::Byte, nullptr, By::Nobody},
      {{8, 26, 1}, {0x45, 0x00}, 16, false, Typed(tvtByte), Member::None, "Failed to convert a GroupValue for DPT 26.1 because of unexpected bit size: 16, expected: 8", By::Core},
      {{32, 27, 1}, {0x00, 0x00, 0xFF, 0xFF}, 32, true, DWord(0xFFFF), Member::DWord, nullptr, By::Nobody},
      {{32, 27, 1}, {0xFF, 0xFF, 0xFF, 0xFF}, 32, true, DWord(4294967295u), Member::DWord, nullptr, By::Nobody},
      {{32, 27, 1}, {0xFF}, 8, false, Typed(tvtDWord), Member::None, "Failed to convert a GroupValue for DPT 27.1 because of unexpected bit size: 8, expected: 32", By::Core},
      {{24, 232, 600}, {0x10, 0x20, 0x30}, 24, true, DWord(0x102030), Member::DWord, nullptr, By::Nobody},
      {{24, 232, 600}, {0xFF, 0xFF, 0xFF}, 24, true, DWord(0xFFFFFF), Member::DWord, nullptr, By::Nobody},
      {{24, 232, 600}, {0x10, 0x20, 0x30, 0x40}, 32, false, Typed(tvtDWord), Member::None, "Failed to convert a GroupValue for DPT 232.600 because of unexpected bit size: 32, expected: 24", By::Core},
      {{8, 236, 1}, {0x3F}, 8, true, Byte(0x3F), Member::Byte, nullptr, By::Nobody},
      {{8, 236, 1}, {0xFF}, 8, true, Byte(255), Member::Byte, nullptr, By::Nobody},
      {{8, 236, 1}, {0x3F, 0x00}, 16, false, Typed(tvtByte), Member::None, "Failed to convert a GroupValue for DPT 236.1 because of unexpected bit size: 16, expected: 8", By::Core},
      {{8, 238, 1}, {0x40}, 8, true, Byte(0x40), Member::Byte, nullptr, By::Nobody},
      {{8, 238, 1}, {0xFF}, 8, true, Byte(255), Member::Byte, nullptr, By::Nobody},
      {{8, 238, 1}, {0x40, 0x00}, 16, false, Typed(tvtByte), Member::None, "Failed to convert a GroupValue for DPT 238.1 because of unexpected bit size: 16, expected: 8", By::Core},
  };
  // clang-format on
  Quor::KnxValueConverter converter;
  ASSERT_TRUE(converter.Init());
  for (const FromCase& c : cases) {
    SCOPED_TRACE("DPT " + DptText(c.dpt) + " bytes " + RawText(c.bytes));
    LogCapture capture;
    KNXDPT dpt = c.dpt;
    TEVVALUE value;
    EXPECT_EQ(converter.FromKnxValue(dpt, MakeGroup(c.bytes, c.bits), value), c.ok);
    EXPECT_EQ(value.tvt, c.expected.tvt);
    ExpectMember(value, c.expected, c.member);

    std::vector<Line> expected;
    if (c.line != nullptr) {
      expected.emplace_back(c.by == By::Nobody ? kInfo : kError, c.line);
    }
    if (c.by == By::Converter) {
      expected.emplace_back(kError, "Convert from KNX value failed for DPT = " + DptText(c.dpt) +
                                        " GroupValue = " + RawText(c.bytes));
    }
    EXPECT_THAT(NonDebugLines(capture), ElementsAreArray(expected));
  }
}

// ---------------------------------------------------------------------------------------
// Lookups in the filled table

class FilledTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(converter.Init()); }
  Quor::KnxValueConverter converter;
};

TEST_F(FilledTableTest, HasFiftyThreeEntriesAscendingEvenAfterASecondInit) {
  ASSERT_TRUE(converter.Init());
  const Quor::DptValueMap::Entries& entries = converter.GetMap().GetEntries();
  EXPECT_EQ(entries.size(), 53u);
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return std::make_pair(a.dpt.mainNumber, a.dpt.subNumber) <
           std::make_pair(b.dpt.mainNumber, b.dpt.subNumber);
  }));
  ASSERT_GE(entries.size(), 3u);
  EXPECT_EQ(entries[entries.size() - 3].dpt.mainNumber, 232);
  EXPECT_EQ(entries[entries.size() - 2].dpt.mainNumber, 236);
  EXPECT_EQ(entries[entries.size() - 1].dpt.mainNumber, 238);
}

TEST_F(FilledTableTest, SubNumbersResolveToTheirOwnRowOrTheMainTypeRow) {
  LogCapture capture;
  const Quor::DptValueEntry& own = converter.GetEntry(KNXDPT{16, 9, 1});
  EXPECT_EQ(own.tst, TevDP::tstPhysicalFloat);
  const auto* ownConverter =
      dynamic_cast<const Quor::KnxConverterFloat16BitFloat*>(own.converter.get());
  ASSERT_NE(ownConverter, nullptr);
  EXPECT_EQ(ownConverter->GetRange().doubleMin, -273.0);
  EXPECT_EQ(ownConverter->GetRange().doubleMax, 670760.0);

  const Quor::DptValueEntry& nineX = converter.GetEntry(KNXDPT{16, 9, 9});
  EXPECT_EQ(nineX.dpt.subNumber, 0);
  EXPECT_EQ(nineX.tst, TevDP::tstGeneric);

  const Quor::DptValueEntry& fourX = converter.GetEntry(KNXDPT{8, 4, 3});
  EXPECT_EQ(fourX.dpt.subNumber, 0);
  EXPECT_EQ(fourX.tst, TevDP::tstAscii);
  const auto* ascii = dynamic_cast<const Quor::KnxConverter8BitString*>(fourX.converter.get());
  ASSERT_NE(ascii, nullptr);
  EXPECT_EQ(ascii->GetRange().internalMin, 0);
  EXPECT_EQ(ascii->GetRange().internalMax, 127);
  EXPECT_TRUE(capture.Lines().empty());
}

TEST_F(FilledTableTest, SceneInfoIsTheOnlyRowWithDifferingRanges) {
  const auto* info = dynamic_cast<const Quor::KnxConverterSceneInfo*>(
      converter.GetEntry(KNXDPT{8, 26, 1}).converter.get());
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->GetRange().internalMin, -64);
  EXPECT_EQ(info->GetRange().internalMax, 64);
  EXPECT_EQ(info->GetRange().externalMin, 0);
  EXPECT_EQ(info->GetRange().externalMax, 255);
  EXPECT_DOUBLE_EQ(info->GetRange().scaleFactor, 255.0 / 128.0);
}

TEST_F(FilledTableTest, MainTypesWithoutRowsAreAcceptedUnconverted) {
  for (const unsigned short main : {22, 24, 25, 28, 100, 231, 237}) {
    SCOPED_TRACE(main);
    LogCapture capture;
    KNXDPT dpt{8, main, 1};
    KnxStack::GroupValue group;
    EXPECT_TRUE(converter.ToKnxValue(dpt, Byte(1), group));
    EXPECT_EQ(group, KnxStack::GroupValue());
    const std::string missing = "No Entry found for DPT = " + std::to_string(main) + ".1";
    EXPECT_THAT(
        capture.Lines(),
        ElementsAreArray(std::vector<Line>{
            {kError, missing}, {kError, missing}, {kError, "Assume validity and accept value!"}}));
  }
}

TEST_F(FilledTableTest, FortyAndFortyEightBitDefaultsHaveNoRow) {
  {
    LogCapture capture;
    KNXDPT dpt{0, 0, 0};
    TEVVALUE value = Byte(7);
    EXPECT_TRUE(converter.FromKnxValue(dpt, MakeGroup({1, 2, 3, 4, 5}, 40), value));
    EXPECT_EQ(value.tvt, tvtEmpty);
    EXPECT_EQ(dpt.mainNumber, 218);
    EXPECT_THAT(capture.Lines(),
                ElementsAreArray(std::vector<Line>{{kError, "No Entry found for DPT = 218.0"},
                                                   {kError, "No Entry found for DPT = 218.0"},
                                                   {kError, "Assume validity and accept value!"}}));
  }
  {
    LogCapture capture;
    KNXDPT dpt{48, 0, 0};
    KnxStack::GroupValue group;
    EXPECT_TRUE(converter.ToKnxValue(dpt, TEVVALUE(tvtEmpty), group));
    EXPECT_EQ(group, KnxStack::GroupValue());
    EXPECT_THAT(capture.Lines(),
                ElementsAreArray(std::vector<Line>{{kError, "No Entry found for DPT = 219.1"},
                                                   {kError, "No Entry found for DPT = 219.1"},
                                                   {kError, "Assume validity and accept value!"}}));
  }
}

}  // namespace
