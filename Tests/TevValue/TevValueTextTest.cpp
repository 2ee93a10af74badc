#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TevValueTestValues.h"

namespace {

using namespace TevTest;
using namespace std::string_literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(TevValueConstruction, DefaultIsEmptyWithClearedLocalTime) {
  const TEVVALUE v;
  EXPECT_EQ(v.tvt, tvtEmpty);
  EXPECT_EQ(v.state, 0);
  EXPECT_TRUE(v.stringValue.empty());
  EXPECT_EQ(v.value.doubleValue, 0.0);
  EXPECT_EQ(v.value.timeValue.year, 0);
  EXPECT_EQ(v.value.timeValue.weekday, 0);
  EXPECT_EQ(v.value.timeValue.kind, 0);
  EXPECT_TRUE(v.value.timeValue.localTime);
  EXPECT_FALSE(v.value.timeValue.daylightSaving);
}

TEST(TevValueConstruction, StateFollowsType) {
  const struct {
    TevValueType tvt;
    int32_t state;
  } rows[] = {
      {tvtInvalid, 1}, {tvtEmpty, 0},   {tvtBoolean, 2},  {tvtFloat, 2},
      {tvtString, 2},  {tvtDayTime, 2}, {tvtType1039, 2}, {static_cast<TevValueType>(77), 2},
  };
  for (const auto& row : rows) {
    const TEVVALUE v(row.tvt);
    EXPECT_EQ(v.tvt, row.tvt);
    EXPECT_EQ(v.state, row.state) << row.tvt;
    const TEVVALUE empty;
    EXPECT_EQ(std::memcmp(&v.value, &empty.value, sizeof v.value), 0) << row.tvt;
    EXPECT_TRUE(v.stringValue.empty());
  }
}

TEST(TevValueNames, ValueTypes) {
  const struct {
    TevValueType tvt;
    const char* name;
  } rows[] = {
      {tvtInvalid, "Invalid"},   {tvtEmpty, "Empty"},
      {tvtBoolean, "Boolean"},   {tvtFloat, "Float"},
      {tvtInteger, "Integer"},   {tvtByte, "Byte"},
      {tvtWord, "Word"},         {tvtDWord, "DWord"},
      {tvtString, "String"},     {tvtDate, "Date"},
      {tvtTime, "Time"},         {tvtDateTime, "DateTime"},
      {tvtDayTime, "DayTime"},   {tvtPercent, "Percent"},
      {tvtDimStep, "DimStep"},   {tvtType5, "Type5"},
      {tvtType14, "Type14"},     {tvtType1005, "Type1005"},
      {tvtType1039, "Type1039"}, {static_cast<TevValueType>(-3), "Type-3"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TEVVALUE::GetNameFromValueType(row.tvt), row.name);
  }
}

TEST(TevValueNames, SubTypes) {
  const struct {
    int32_t tst;
    const char* name;
  } rows[] = {
      {0, "Generic"},          {3001, "StatusWithMode"}, {3002, "ControlStep"},
      {3003, "PhysicalFloat"}, {4001, "SceneNumber"},    {8001, "Ascii"},
      {8002, "Latin1"},        {2001, "SubType2001"},    {9, "SubType9"},
      {12, "SubType12"},       {5, "SubType5"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TevDP::GetNameFromValueSubType(static_cast<TevDP::TevValueSubType>(row.tst)),
              row.name);
  }
}

TEST(TevValueToString, ShortLogText) {
  const struct {
    TEVVALUE value;
    const char* text;
  } rows[] = {
      {TEVVALUE(), "Empty"},
      {TEVVALUE(tvtInvalid), "Invalid"},
      {Float(21.5), "Float 21.5"},
      {String("abc"), "String 'abc'"},
      {Boolean(true), "Boolean true"},
      {Byte(7, tvtType1021), "Type1021 7"},
      {Timed(tvtDate, Time(2024, 5, 17, 0, 0, 0)), "Date 2024-05-17"},
      {TEVVALUE(static_cast<TevValueType>(77)), "Type77"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.value.ToString(), row.text);
  }
}

TEVTIME OddTime() {
  TEVTIME t;
  t.Clear(false);
  t.year = 65535;
  t.month = 200;
  t.day = 0;
  t.hour = 99;
  t.minute = 255;
  t.second = 61;
  t.hundredths = 42;
  t.weekday = 0xFFFF;
  t.kind = 7;
  t.daylightSaving = true;
  return t;
}

TEVTIME DayTime(int hour, int minute, int second, uint16_t weekday) {
  TEVTIME t = Time(2000, 1, 1, hour, minute, second);
  t.weekday = weekday;
  t.localTime = false;
  return t;
}

struct InternalRow {
  TEVVALUE value;
  std::string text;
};

const std::vector<InternalRow>& InternalRows() {
  static const std::vector<InternalRow> rows = {
      {TEVVALUE(tvtInvalid), "0.7:"},
      {TEVVALUE(), "1.7:"},
      {Boolean(true), "2.7:true"},
      {Boolean(false), "2.7:false"},
      {Float(21.5), "3.7:21.5"},
      {Float(0.1), "3.7:0.1"},
      {Float(kNaN), "3.7:nan"},
      {Float(kInf), "3.7:inf"},
      {Float(-kInf), "3.7:-inf"},
      {Float(0.0), "3.7:0"},
      {Float(-0.0), "3.7:-0"},
      {Float(std::numeric_limits<double>::denorm_min()), "3.7:5e-324"},
      {Float(std::numeric_limits<double>::max()), "3.7:1.7976931348623157e+308"},
      {Float(std::numeric_limits<double>::lowest()), "3.7:-1.7976931348623157e+308"},
      {Float(std::numeric_limits<double>::min()), "3.7:2.2250738585072014e-308"},
      {Float(1e16), "3.7:1e+16"},
      {Float(0.0001), "3.7:0.0001"},
      {Float(1.0 / 3.0), "3.7:0.3333333333333333"},
      {Float(50.0, tvtPercent), "1036.7:50"},
      {Float(-3.0, tvtDimStep), "1037.7:-3"},
      {Float(kNaN, tvtPercent), "1036.7:nan"},
      {Float(2.5, tvtType1005), "1005.7:2.5"},
      {Float(-1e-300, tvtType1039), "1039.7:-1e-300"},
      {Signed(std::numeric_limits<int32_t>::min()), "4.7:-2147483648"},
      {Signed(std::numeric_limits<int32_t>::max(), tvtType14), "14.7:2147483647"},
      {Signed(-5, tvtType5), "5.7:-5"},
      {Byte(255), "6.7:255"},
      {Byte(0, tvtType1021), "1021.7:0"},
      {Word(65535), "7.7:65535"},
      {DWord(4294967295u), "8.7:4294967295"},
      {DWord(9, tvtType9), "9.7:9"},
      {DWord(20, tvtType20), "20.7:20"},
      {String("abc"), "10.7:abc"},
      {String(""), "10.7:"},
      {String("a\0b\xFF\xC3"s), "10.7:a\0b\xFF\xC3"s},
      {String("3.7:nan"), "10.7:3.7:nan"},
      {String("line\nbreak 2.7:true"), "10.7:line\nbreak 2.7:true"},
      {Timed(tvtDate, Time(2024, 5, 17, 0, 0, 0)), "11.7:2024-05-17T00:00:00.00 16 1 1 0"},
      {Timed(tvtTime, Time(2024, 5, 17, 13, 45, 10)), "12.7:2024-05-17T13:45:10.00 16 1 1 0"},
      {Timed(tvtDateTime, Time(1, 1, 1, 23, 59, 59)), "13.7:0001-01-01T23:59:59.00 1 1 1 0"},
      {Timed(tvtDayTime, DayTime(8, 30, 0, 16)), "15.7:2000-01-01T08:30:00.00 16 1 0 0"},
      {Timed(tvtType102, OddTime()), "102.7:65535-200-00T99:255:61.42 65535 7 0 1"},
      {Timed(tvtType104, TEVTIME{}), "104.7:0000-00-00T00:00:00.00 0 0 0 0"},
      {Timed(tvtType105, Time(9999, 12, 31, 0, 0, 0)), "105.7:9999-12-31T00:00:00.00 16 1 1 0"},
      {Timed(tvtType201, Time(2000, 2, 29, 1, 2, 3)), "201.7:2000-02-29T01:02:03.00 2 1 1 0"},
  };
  return rows;
}

TEST(TevValueInternalFormat, WritesTheDocumentedText) {
  for (const auto& row : InternalRows()) {
    std::string text = "stale";
    EXPECT_TRUE(row.value.Serialize(text, true)) << row.text;
    EXPECT_EQ(text, row.text);
  }
}

TEST(TevValueInternalFormat, ReadsBackBitExact) {
  for (const auto& row : InternalRows()) {
    TEVVALUE read(tvtString);
    read.stringValue = "stale";
    EXPECT_TRUE(read.Deserialize(row.text)) << row.text;
    EXPECT_TRUE(Same(row.value, read)) << row.text;
  }
}

TEST(TevValueInternalFormat, EveryDoubleRoundTrips) {
  std::mt19937_64 random(20240517);
  for (int i = 0; i < 200000; ++i) {
    const uint64_t bits = random();
    double d = 0.0;
    std::memcpy(&d, &bits, sizeof d);
    if (std::isnan(d)) {
      continue;  // every NaN is written as "nan"
    }
    TEVVALUE read;
    ASSERT_TRUE(read.Deserialize(Internal(Float(d))));
    uint64_t readBits = 0;
    std::memcpy(&readBits, &read.value.doubleValue, sizeof readBits);
    ASSERT_EQ(readBits, bits) << Internal(Float(d));
  }
}

TEST(TevValueInternalFormat, EveryByteStringRoundTrips) {
  std::mt19937 random(8001);
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 2000; ++i) {
    std::string bytes(static_cast<std::size_t>(length(random)), '\0');
    for (char& c : bytes) {
      c = static_cast<char>(byte(random));
    }
    TEVVALUE read;
    ASSERT_TRUE(read.Deserialize(Internal(String(bytes))));
    ASSERT_TRUE(Same(String(bytes), read));
  }
}

TEST(TevValueInternalFormat, UnreadableTextLeavesInvalid) {
  const std::string rows[] = {
      "3.7:",
      "3.7:abc",
      "3.7:1e400",
      "3.7:NaN",
      "3.7: 1",
      "2.7:yes",
      "2.7:",
      "6.7:256",
      "6.7:-1",
      "7.7:65536",
      "8.7:-1",
      "4.7:2147483648",
      "4.7:+1",
      "4.7:0x10",
      "999.7:1",
      "0.7:x",
      "1.7: ",
      "11.7:2024-05-17",
      "11.7:2024-05-17T00:00:00.00 16 1 2 0",
      "11.7:2024-256-17T00:00:00.00 16 1 1 0",
      "12.7:2024-05-17T00:00:00.00 16 1 1 0 ",
  };
  for (const auto& text : rows) {
    TEVVALUE read = Float(1.0);
    EXPECT_FALSE(read.Deserialize(text)) << text;
    EXPECT_TRUE(Same(TEVVALUE(tvtInvalid), read)) << text;
  }
}

TEST(TevValueInternalFormat, UnknownTypeNumberIsNotWritten) {
  std::string text = "stale";
  EXPECT_FALSE(TEVVALUE(static_cast<TevValueType>(77)).Serialize(text, true));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(TEVVALUE(static_cast<TevValueType>(77)).Serialize(text, false));
}

// Plain text of a value, and the type and plain text it reads back as.
struct PlainRow {
  TEVVALUE value;
  const char* text;
  TevValueType readType;
};

TEST(TevValuePlainFormat, WritesReadableTextThatReadsBack) {
  const PlainRow rows[] = {
      {TEVVALUE(tvtInvalid), "invalid", tvtInvalid},
      {TEVVALUE(), "", tvtEmpty},
      {Boolean(true), "true", tvtBoolean},
      {Boolean(false), "false", tvtBoolean},
      {Float(21.5), "21.5", tvtFloat},
      {Float(0.1), "0.1", tvtFloat},
      {Float(-273.15), "-273.15", tvtFloat},
      {Float(kNaN), "nan", tvtFloat},
      {Float(kInf), "inf", tvtFloat},
      {Float(-kInf), "-inf", tvtFloat},
      {Float(1e-7), "1e-07", tvtFloat},
      {Float(6.02214076e23), "6.02214076e+23", tvtFloat},
      {Float(2.0), "2", tvtInteger},                // the plain text keeps the number, not the type
      {Float(1e15), "1000000000000000", tvtFloat},  // beyond 32 bits
      {Float(99.5, tvtPercent), "99.5", tvtFloat},
      {Float(-7.0, tvtDimStep), "-7", tvtInteger},
      {Signed(-42), "-42", tvtInteger},
      {Signed(1, tvtType14), "1", tvtInteger},
      {Byte(200), "200", tvtInteger},
      {Word(65535), "65535", tvtInteger},
      {DWord(4294967295u), "4294967295", tvtDWord},
      {String("abc"), "abc", tvtString},
      {String("a b\xFF"), "a b\xFF", tvtString},
      {Timed(tvtDate, Time(2024, 2, 29, 13, 0, 0)), "2024-02-29", tvtDate},
      {Timed(tvtType105, Time(7, 1, 2, 0, 0, 0)), "0007-01-02", tvtDate},
      {Timed(tvtTime, Time(2024, 5, 17, 13, 45, 10)), "13:45:10", tvtDayTime},
      {Timed(tvtDayTime, DayTime(13, 45, 10, 4)), "13:45:10@3", tvtDayTime},
      {Timed(tvtDayTime, DayTime(0, 0, 0, 64)), "00:00:00@7", tvtDayTime},
      {Timed(tvtDayTime, DayTime(0, 0, 0, 0)), "00:00:00", tvtDayTime},
      {Timed(tvtDayTime, DayTime(23, 59, 59, 3)), "23:59:59", tvtDayTime},  // two days
      {Timed(tvtDateTime, Time(2024, 5, 17, 13, 45, 10)), "2024-05-17T13:45:10", tvtDateTime},
      {Timed(tvtType201, Time(1999, 12, 31, 23, 59, 59)), "1999-12-31T23:59:59", tvtDateTime},
  };
  for (const auto& row : rows) {
    std::string text = "stale";
    EXPECT_TRUE(row.value.Serialize(text, false)) << row.text;
    EXPECT_EQ(text, row.text);
    TEVVALUE read;
    EXPECT_TRUE(read.Deserialize(text)) << row.text;
    EXPECT_EQ(read.tvt, row.readType) << row.text;
    EXPECT_EQ(Plain(read), row.text);
  }
}

TEST(TevValuePlainFormat, DateAndDayTimeReadBackWithTheirFrames) {
  TEVVALUE read;
  ASSERT_TRUE(read.Deserialize("2024-05-17T13:45:10"));
  EXPECT_TRUE(Same(Timed(tvtDateTime, Time(2024, 5, 17, 13, 45, 10)), read));
  ASSERT_TRUE(read.Deserialize("2024-05-17"));
  EXPECT_TRUE(Same(Timed(tvtDate, Time(2024, 5, 17, 0, 0, 0)), read));
  ASSERT_TRUE(read.Deserialize("08:30:00@5"));
  EXPECT_TRUE(Same(Timed(tvtDayTime, DayTime(8, 30, 0, 16)), read));
}

// Text, the type inferred and the plain text the value then writes.
TEST(TevValuePlainFormat, InfersTheType) {
  const struct {
    std::string text;
    TevValueType tvt;
    std::string plain;
  } rows[] = {
      {"0", tvtInteger, "0"},
      {"+5", tvtInteger, "5"},
      {"-0", tvtInteger, "0"},
      {"007", tvtInteger, "7"},
      {"-2147483648", tvtInteger, "-2147483648"},
      {"2147483647", tvtInteger, "2147483647"},
      {"2147483648", tvtDWord, "2147483648"},
      {"4294967295", tvtDWord, "4294967295"},
      {"4294967296", tvtFloat, "4294967296"},
      {"-2147483649", tvtFloat, "-2147483649"},
      {"123456789012345678901234567890", tvtFloat, "1.2345678901234568e+29"},
      {"21.50", tvtFloat, "21.5"},
      {"1.", tvtFloat, "1"},
      {".5", tvtFloat, "0.5"},
      {"-.5e1", tvtFloat, "-5"},
      {"+1E3", tvtFloat, "1000"},
      {"1e400", tvtFloat, "inf"},
      {"-1e400", tvtFloat, "-inf"},
      {"1e-400", tvtFloat, "0"},
      {"-0.0", tvtFloat, "-0"},
      {"nan", tvtFloat, "nan"},
      {"inf", tvtFloat, "inf"},
      {"-inf", tvtFloat, "-inf"},
      {"true", tvtBoolean, "true"},
      {"invalid", tvtInvalid, "invalid"},
      {"", tvtEmpty, ""},
      {"2000-02-29", tvtDate, "2000-02-29"},
      {"0001-01-01", tvtDate, "0001-01-01"},
      {"00:00:00", tvtDayTime, "00:00:00"},
      {"23:59:59@1", tvtDayTime, "23:59:59@1"},
      {"9999-12-31T23:59:59", tvtDateTime, "9999-12-31T23:59:59"},
      // Everything else stays text.
      {"True", tvtString, "True"},
      {"NaN", tvtString, "NaN"},
      {"Infinity", tvtString, "Infinity"},
      {"+inf", tvtString, "+inf"},
      {"nan(1)", tvtString, "nan(1)"},
      {" 5", tvtString, " 5"},
      {"5 ", tvtString, "5 "},
      {"+", tvtString, "+"},
      {"-", tvtString, "-"},
      {".", tvtString, "."},
      {"1e", tvtString, "1e"},
      {"e5", tvtString, "e5"},
      {"1.2.3", tvtString, "1.2.3"},
      {"0x10", tvtString, "0x10"},
      {"1,5", tvtString, "1,5"},
      {"1900-02-29", tvtString, "1900-02-29"},
      {"0000-01-01", tvtString, "0000-01-01"},
      {"2024-13-01", tvtString, "2024-13-01"},
      {"2024-5-17", tvtString, "2024-5-17"},
      {"24:00:00", tvtString, "24:00:00"},
      {"12:60:00", tvtString, "12:60:00"},
      {"12:00:00@0", tvtString, "12:00:00@0"},
      {"12:00:00@8", tvtString, "12:00:00@8"},
      {"12:00:00@", tvtString, "12:00:00@"},
      {"2024-05-17 13:45:10", tvtString, "2024-05-17 13:45:10"},
      {"2024-05-17T13:45:10@5", tvtString, "2024-05-17T13:45:10@5"},
      {"3.8:nan", tvtString, "3.8:nan"},
      {"a\0b"s, tvtString, "a\0b"s},
  };
  for (const auto& row : rows) {
    TEVVALUE read;
    EXPECT_TRUE(read.Deserialize(row.text)) << row.text;
    EXPECT_EQ(read.tvt, row.tvt) << row.text;
    EXPECT_EQ(read.state, TEVVALUE(row.tvt).state) << row.text;
    EXPECT_EQ(Plain(read), row.plain) << row.text;
  }
}

// Whatever text comes in, the value it leaves is one the internal form carries unchanged.
TEST(TevValueDeserialize, ArbitraryBytesLeaveAValueTheInternalFormKeeps) {
  static const char kAlphabet[] = "0123456789.7:-+eE@Tnaifrutlsv \xFF";
  std::mt19937 random(12);
  std::uniform_int_distribution<int> length(0, 24);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 1);  // NUL included
  for (int i = 0; i < 20000; ++i) {
    std::string text(static_cast<std::size_t>(length(random)), '\0');
    for (char& c : text) {
      c = kAlphabet[pick(random)];
    }
    TEVVALUE first;
    first.Deserialize(text);
    TEVVALUE second;
    ASSERT_TRUE(second.Deserialize(Internal(first))) << text;
    if (std::isnan(first.value.doubleValue) && first.tvt == tvtFloat) {
      ASSERT_TRUE(std::isnan(second.value.doubleValue));
    } else {
      ASSERT_TRUE(Same(first, second)) << text;
    }
  }
}

}  // namespace
