#include <memory>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ConverterTestSupport.h"

namespace {

using namespace ConverterTest;
using namespace Quor;
using testing::ElementsAre;
using testing::IsEmpty;

TEST(IntegerRange, EmptyInternalSpanIsReportedAndKeepsFactorOne) {
  ErrorCapture capture;
  const IntegerRange range = MakeIntegerRange(0, 0, 0, 255);
  EXPECT_EQ(range.scaleFactor, 1.0);
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Line(kError,
                               "Failed to calculate the scale factor because of invalid internal "
                               "range [0, 0].")));
}

TEST(IntegerRange, EmptyExternalSpanIsReportedAndKeepsFactorOne) {
  ErrorCapture capture;
  const IntegerRange range = MakeIntegerRange(0, 100, 5, 5);
  EXPECT_EQ(range.scaleFactor, 1.0);
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Line(kError,
                               "Failed to calculate the scale factor because of invalid external "
                               "range [5, 5].")));
}

TEST(IntegerRange, FactorIsSignedRatioOfSpans) {
  ErrorCapture capture;
  EXPECT_EQ(MakeIntegerRange(0, 254, 0, 254).scaleFactor, 1.0);
  EXPECT_EQ(MakeIntegerRange(-64, 64, 0, 255).scaleFactor, 1.9921875);
  EXPECT_EQ(MakeIntegerRange(10, 0, 0, 10).scaleFactor, -1.0);
  EXPECT_EQ(MakeIntegerRange(INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX).scaleFactor, 1.0);
  EXPECT_THAT(capture.Lines(), IsEmpty());
}

TEST(IntegerRange, MapRoundsHalfAwayFromZero) {
  EXPECT_EQ(MakeIntegerRange(0, 10, 0, 25).Map(1), 3);     // 2.5
  EXPECT_EQ(MakeIntegerRange(0, 10, -25, 0).Map(1), -23);  // -22.5
  EXPECT_EQ(MakeIntegerRange(0, 10, -25, 0).Map(10), 0);
  EXPECT_EQ(MakeIntegerRange(-64, 64, 0, 255).Map(64), 255);
  EXPECT_EQ(MakeIntegerRange(10, 0, 0, 10).Map(3), 7);
}

TEST(LongIntegerRange, FullUnsigned32BitSpanGivesOneWithoutOverflow) {
  ErrorCapture capture;
  EXPECT_EQ(MakeLongIntegerRange(0, 4294967295, 0, 4294967295).scaleFactor, 1.0);
  EXPECT_EQ(MakeLongIntegerRange(0, 16777215, 0, 16777215).scaleFactor, 1.0);
  EXPECT_EQ(MakeLongIntegerRange(0, 1, 0, 0).scaleFactor, 1.0);
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Line(kError,
                               "Failed to calculate the scale factor because of invalid external "
                               "range [0, 0].")));
}

TEST(FloatIntegerRange, ConstructorComputesFactor) {
  ErrorCapture capture;
  EXPECT_DOUBLE_EQ(FloatIntegerRange(-100.0, 100.0, 0, 15).scaleFactor, 0.075);
  EXPECT_EQ(FloatIntegerRange(1.5, 1.5, 0, 15).scaleFactor, 1.0);
  EXPECT_EQ(FloatIntegerRange(0.0, 1.0, 7, 7).scaleFactor, 1.0);
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Line(kError,
                               "Failed to calculate the scale factor because of invalid double "
                               "range [1.5, 1.5]."),
                          Line(kError,
                               "Failed to calculate the scale factor because of invalid integer "
                               "range [7, 7].")));
}

TEST(FloatRange, FactorIgnoresOrderOfBounds) {
  ErrorCapture capture;
  EXPECT_EQ(MakeFloatRange(10.0, 0.0, 0.0, 10.0).scaleFactor, 1.0);
  EXPECT_EQ(MakeFloatRange(0.0, 10.0, 40.0, 0.0).scaleFactor, 4.0);
  EXPECT_EQ(MakeFloatRange(-273.0, 670760.0, -273.0, 670760.0).scaleFactor, 1.0);
  EXPECT_EQ(MakeFloatRange(2.0, 2.0, 0.0, 1.0).scaleFactor, 1.0);
  EXPECT_EQ(MakeFloatRange(0.0, 1.0, 0.25, 0.25).scaleFactor, 1.0);
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Line(kError,
                               "Failed to calculate the scale factor because of invalid double "
                               "range [2, 2]."),
                          Line(kError,
                               "Failed to calculate the scale factor because of invalid external "
                               "range [0.25, 0.25].")));
}

TEST(Clone, KeepsRangeAndFactor) {
  const KnxConverterInteger32BitSigned prototype(MakeIntegerRange(0, 10, 0, 25));
  const std::unique_ptr<KnxConverter> clone(prototype.Clone());
  const auto* typed = dynamic_cast<const KnxConverterInteger32BitSigned*>(clone.get());
  ASSERT_NE(typed, nullptr);
  EXPECT_EQ(typed->GetRange().internalMax, 10);
  EXPECT_EQ(typed->GetRange().externalMax, 25);
  EXPECT_EQ(typed->GetRange().scaleFactor, 2.5);

  KnxStack::GroupValue group;
  ASSERT_TRUE(clone->ToKnxValue(Dpt(13, 1, 32), Integer(1), group));
  EXPECT_EQ(RawBytes(group), (Bytes{0x00, 0x00, 0x00, 0x03}));
}

}  // namespace
