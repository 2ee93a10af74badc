#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include <gtest/gtest.h>

#include "QuorObjectModel/KnxConverter.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace {

using namespace QuorTest;
using namespace Quor;

// The scale factor of each kind of range, and the line an empty span logs (the factor then
// stays 1).
TEST(Ranges, ScaleFactorIsTheSignedRatioOfTheSpans) {
  const std::string failed = "Failed to calculate the scale factor because of invalid ";
  const struct {
    std::function<double()> factor;
    double expected;
    std::string line;
  } cases[] = {
      // clang-format off
      {[] { return MakeIntegerRange(0, 254, 0, 254).scaleFactor; }, 1.0, ""},
      {[] { return MakeIntegerRange(-64, 64, 0, 255).scaleFactor; }, 1.9921875, ""},
      {[] { return MakeIntegerRange(10, 0, 0, 10).scaleFactor; }, -1.0, ""},
      {[] { return MakeIntegerRange(INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX).scaleFactor; }, 1.0, ""},
      {[] { return MakeIntegerRange(0, 0, 0, 255).scaleFactor; }, 1.0, failed + "internal range [0, 0]."},
      {[] { return MakeIntegerRange(0, 100, 5, 5).scaleFactor; }, 1.0, failed + "external range [5, 5]."},
      {[] { return MakeLongIntegerRange(0, 4294967295, 0, 4294967295).scaleFactor; }, 1.0, ""},
      {[] { return MakeLongIntegerRange(0, 1, 0, 0).scaleFactor; }, 1.0, failed + "external range [0, 0]."},
      {[] { return FloatIntegerRange(-100.0, 100.0, 0, 15).scaleFactor; }, 0.075, ""},
      {[] { return FloatIntegerRange(1.5, 1.5, 0, 15).scaleFactor; }, 1.0, failed + "double range [1.5, 1.5]."},
      {[] { return FloatIntegerRange(0.0, 1.0, 7, 7).scaleFactor; }, 1.0, failed + "integer range [7, 7]."},
      // A factor that comes out as 0 is set back to 1, whatever it was before.
      {[] { FloatIntegerRange r(0.0, 1.0, 0, 15); r.doubleMax = INFINITY; r.CalculateScaleFactor(); return r.scaleFactor; }, 1.0, failed + "double range [0, inf] or because invalid integer range [0, 15]."},
      {[] { return MakeFloatRange(10.0, 0.0, 0.0, 10.0).scaleFactor; }, 1.0, ""},  // order ignored
      {[] { return MakeFloatRange(0.0, 10.0, 40.0, 0.0).scaleFactor; }, 4.0, ""},
      {[] { return MakeFloatRange(2.0, 2.0, 0.0, 1.0).scaleFactor; }, 1.0, failed + "double range [2, 2]."},
      {[] { return MakeFloatRange(0.0, 1.0, 0.25, 0.25).scaleFactor; }, 1.0, failed + "external range [0.25, 0.25]."},
      {[] { FloatRange r{0.0, INFINITY, 0.0, 1.0, 7.0}; r.CalculateScaleFactor(); return r.scaleFactor; }, 1.0, failed + "double range [0, inf] or because invalid external range [0, 1]."},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    EXPECT_DOUBLE_EQ(c.factor(), c.expected);
    EXPECT_EQ(capture.Lines(), c.line.empty() ? Lines{} : Lines{Error(c.line)});
  }
}

TEST(Ranges, MapRoundsHalfAwayFromZero) {
  EXPECT_EQ(MakeIntegerRange(0, 10, 0, 25).Map(1), 3);     // 2.5
  EXPECT_EQ(MakeIntegerRange(0, 10, -25, 0).Map(1), -23);  // -22.5
  EXPECT_EQ(MakeIntegerRange(0, 10, -25, 0).Map(10), 0);
  EXPECT_EQ(MakeIntegerRange(-64, 64, 0, 255).Map(64), 255);
  EXPECT_EQ(MakeIntegerRange(10, 0, 0, 10).Map(3), 7);
  // Far out of the window the result saturates rather than overflow.
  using Limits = std::numeric_limits<int64_t>;
  EXPECT_EQ(MakeIntegerRange(0, 10, 0, 25).Map(Limits::max()), Limits::max());
  EXPECT_EQ(MakeIntegerRange(0, 10, 0, 25).Map(Limits::min()), Limits::min());
}

TEST(Clone, KeepsRangeAndFactor) {
  const KnxConverterInteger32BitSigned prototype(MakeIntegerRange(0, 10, 0, 25));
  const std::unique_ptr<KnxConverter> clone(prototype.Clone());
  const auto* typed = dynamic_cast<const KnxConverterInteger32BitSigned*>(clone.get());
  ASSERT_NE(typed, nullptr);
  EXPECT_EQ(typed->GetRange().scaleFactor, 2.5);
  KnxStack::GroupValue group;
  ASSERT_TRUE(clone->ToKnxValue(Dpt(13, 1, 32), Integer(1), group));
  EXPECT_EQ(RawBytes(group), (Bytes{0x00, 0x00, 0x00, 0x03}));
}

}  // namespace
