#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ConverterTestSupport.h"

namespace {

using namespace ConverterTest;
using namespace Quor;
using testing::ElementsAre;

using testing::IsEmpty;

KnxConverter1Bit oneBit;
KnxConverter2Bit twoBit;
KnxConverter4Bit fourBit(FloatIntegerRange(-100.0, 100.0, 0, 15));
KnxConverterStatus8Bit status(IntegerRange{0, 255, 0, 255, 1.0});
KnxConverterDefault fallback;

TEST(BitFieldConverters, ToKnxValue) {
  // clang-format off
  CheckAll<ToCase>({
      {twoBit, Dpt(2, 1, 2), Byte(3), {0x03}, 2},
      {fourBit, Dpt(3, 7, 4), Byte(15), {0x0F}, 4},
      {fourBit, Dpt(3, 8, 4), Byte(0x09), {0x09}, 4},
      {status, Dpt(6, 20, 8), Byte(0x02), {0x02}, 8},
      {status, Dpt(6, 20, 8), Byte(0xFC), {0xFC}, 8},
      // Permissive: the DPT alone lets another type through, read as its byte.
      {status, Dpt(6, 20, 8), Word(0x0104), {0x04}, 8},
  });
  // clang-format on
}

TEST(BitFieldConverters, FromKnxValue) {
  // clang-format off
  CheckAll<FromCase>({
      {twoBit, Dpt(2, 1, 2), {0x02}, 2, tvtBoolean, Byte(2)},
      // The 4-bit converter leaves the table's tvtFloat in place.
      {fourBit, Dpt(3, 7, 4), {0x0B}, 4, tvtFloat, Byte(11, tvtFloat)},
      {status, Dpt(6, 20, 8), {0xF4}, 8, tvtEmpty, Byte(0xF4)},
  });
  // clang-format on
}

TEST(BitFieldConverters, Refusals) {
  // clang-format off
  CheckAll<RefusalCase>({
      {oneBit, To, Dpt(2, 1, 1), Boolean(true), {}, ""},
      {oneBit, To, Dpt(1, 1, 1), Byte(1), {}, ""},
      {oneBit, From, Dpt(2, 1, 1), TEVVALUE(tvtBoolean), {0x01}, ""},
      {twoBit, To, Dpt(1, 1, 2), Byte(1), {}, "Wrong tev value type (tvtByte) or DPT main number (2.x)!"},
      {twoBit, To, Dpt(2, 1, 2), Boolean(true), {}, "Wrong tev value type (tvtByte) or DPT main number (2.x)!"},
      {twoBit, From, Dpt(1, 1, 2), TEVVALUE(tvtBoolean), {0x01}, "Wrong DPT main number (2.x)!"},
      {fourBit, To, Dpt(3, 7, 4), Byte(16), {}, "Value out of raw range [0..15]: 16"},
      {fourBit, To, Dpt(3, 7, 4), Float(5.0), {}, "Wrong tev value type (tvtByte) or DPT main number (3.x)!"},
      {fourBit, From, Dpt(5, 1, 4), TEVVALUE(tvtFloat), {0x01}, "Wrong DPT main number (3.x)!"},
      {status, To, Dpt(5, 1, 8), Word(1), {}, "Wrong tev value type (tvtByte) or DPT main number (6.020)!"},
      {status, From, Dpt(5, 1, 8), TEVVALUE(tvtByte), {0x01}, "Wrong DPT main number (6.020)!"},
      {status, From, Dpt(6, 20, 8), Byte(9), {0x07}, "The internal value of DPT=6.20, f=7 is out of the allowed range."},
      {status, From, Dpt(6, 20, 8), Byte(9), {0x80}, "The internal value of DPT=6.20, f=0 is out of the allowed range."},
  });
  // clang-format on
}

TEST(TwoBit, ValueOutsideTheEncodingThrowsFromTheStack) {
  KnxStack::GroupValue group;
  EXPECT_THROW(twoBit.ToKnxValue(Dpt(2, 1, 2), Byte(4), group), KnxStack::GroupValueException);
}

TEST(Trace, WrittenByMostFunctions) {
  QuorTest::LogCapture capture;
  KnxStack::GroupValue group;
  TEVVALUE value(tvtFloat);
  ASSERT_TRUE(fourBit.ToKnxValue(Dpt(3, 7, 4), Byte(9), group));
  ASSERT_TRUE(fourBit.FromKnxValue(Dpt(3, 7, 4), group, value));
  const auto lines = capture.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].first, 10000);
  EXPECT_THAT(lines[0].second, testing::StartsWith("DPT is used. DPT = 3.7 tvt=6 val="));
  EXPECT_EQ(lines[1], Line(10000, "DPT is used. DPT = 3.7 grp.size=4 grp.val=09"));
  EXPECT_THAT(capture.Records()[1].message, testing::StartsWith("FromKnxValue("));
}

TEST(Trace, OmittedByOneAndTwoBitReceivers) {
  QuorTest::LogCapture capture;
  TEVVALUE value(tvtBoolean);
  ASSERT_TRUE(oneBit.FromKnxValue(Dpt(1, 1, 1), Group({0x01}, 1), value));
  ASSERT_TRUE(twoBit.FromKnxValue(Dpt(2, 1, 2), Group({0x01}, 2), value));
  EXPECT_THAT(capture.Lines(), IsEmpty());
}

// The fallback sends booleans by main number and everything else as the value library's byte
// array, as long as the bit size asks for (24 bytes without one).
TEST(Default, ToKnxValue) {
  const struct {
    KNXDPT dpt;
    TEVVALUE value;
    bool ok;
    Bytes raw;  // empty: the group value stays untouched
    std::string line;
  } cases[] = {
      // clang-format off
      {Dpt(2, 1, 2), Boolean(true), true, {0x03}, ""},  // control 1, value 1
      {Dpt(2, 1, 2), Boolean(false), true, {0x02}, ""},
      {Dpt(1, 1, 1), Boolean(true), true, {0x01}, ""},
      {Dpt(5, 1, 8), Boolean(true), true, {}, ""},
      {Dpt(7, 1, 16), Word(0x1234), true, {0x12, 0x34}, ""},
      {Dpt(3, 7, 4), Float(-3.0, tvtDimStep), true, {0xFD}, ""},
      {Dpt(5, 1, 8), Float(3.0), true, {0x03}, ""},
      {Dpt(0, 0, 0), Float(1.0), true, {0x3F, 0xF0, 0, 0, 0, 0, 0, 0}, ""},
      {Dpt(16, 0, 200), Text(std::string(24, 'a')), true, Bytes(24, 'a'), ""},
      {Dpt(3, 7, 4), Float(1000.0, tvtDimStep), false, {}, "TevValueToByteArray failed. DPT=3.7"},
      {Dpt(5, 1, 8), Float(1000.0), false, {}, "TevValueToByteArray failed. DPT=5.1 data size =1"},
      {Dpt(16, 0, 0), Text(std::string(25, 'a')), false, {}, "TevValueToByteArray failed. DPT=16.0 data size =24"},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Name(c.dpt) + " " + c.value.ToString());
    ErrorCapture capture;
    KnxStack::GroupValue group;
    EXPECT_EQ(fallback.ToKnxValue(c.dpt, c.value, group), c.ok);
    EXPECT_EQ(RawBytes(group), c.raw);
    EXPECT_EQ(capture.Lines(), c.line.empty() ? Lines{} : Lines{Error(c.line)});
  }
  TEVVALUE value;
  ASSERT_TRUE(fallback.FromKnxValue(Dpt(1, 1, 1), Group({0x01}, 1), value));
  EXPECT_TRUE(SameStorage(value, Boolean(true)));
}

TEST(Default, DecodingFailureEmptiesTheValue) {
  ErrorCapture capture;
  TEVVALUE value = Word(7);
  EXPECT_FALSE(fallback.FromKnxValue(Dpt(7, 1, 16), KnxStack::GroupValue(), value));
  EXPECT_TRUE(SameStorage(value, TEVVALUE()));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Line(kError, "ByteArrayToTevValue failed. DPT=7.1 data size =0")));
}

}  // namespace
