#include "QuorObjectModel/KnxConverter.h"

#include <algorithm>
#include <limits>
#include <ostream>

#include <Quor/Log.h>

namespace Quor {

namespace {

// Wraps instead of overflowing; exact for every span of the 32-bit ranges.
int64_t Span(int64_t min, int64_t max) {
  return static_cast<int64_t>(static_cast<uint64_t>(max) - static_cast<uint64_t>(min));
}

// How a range's messages name its two sides, and the words that join them in the last one.
struct RangeWording {
  const char* internal;
  const char* external;
  const char* joiner;
};

constexpr RangeWording kIntegerWording = {"internal", "external", " or because of invalid "};
constexpr RangeWording kFloatIntegerWording = {"double", "integer", " or because invalid "};
constexpr RangeWording kFloatWording = {"double", "external", " or because invalid "};

// The one computation of every range kind: factor = external span / internal span. An empty
// span leaves the factor as it is; a factor that comes out as 0 (an underflow) is set to 1.
// Logs as the member that calls it.
template <class Internal, class External>
void SetScaleFactor(double& factor, double internalSpan, double externalSpan, Internal internalMin,
                    Internal internalMax, External externalMin, External externalMax,
                    const RangeWording& words, const LogSite& site) {
  constexpr const char* failed = "Failed to calculate the scale factor because of invalid ";
  if (internalSpan == 0.0) {
    QUOR_LOG_ERROR_AT(
        site, failed << words.internal << " range [" << internalMin << ", " << internalMax << "].");
    return;
  }
  if (externalSpan == 0.0) {
    QUOR_LOG_ERROR_AT(
        site, failed << words.external << " range [" << externalMin << ", " << externalMax << "].");
    return;
  }
  const double f = externalSpan / internalSpan;
  if (f == 0.0) {
    factor = 1.0;
    QUOR_LOG_ERROR_AT(site, failed << words.internal << " range [" << internalMin << ", "
                                   << internalMax << "]" << words.joiner << words.external
                                   << " range [" << externalMin << ", " << externalMax << "].");
    return;
  }
  factor = f;
}

// Integer spans, signed: a reversed range gives a negative factor.
template <class Range>
void SetIntegerScaleFactor(Range& r, const LogSite& site) {
  SetScaleFactor(r.scaleFactor, static_cast<double>(Span(r.internalMin, r.internalMax)),
                 static_cast<double>(Span(r.externalMin, r.externalMax)), r.internalMin,
                 r.internalMax, r.externalMin, r.externalMax, kIntegerWording, site);
}

}  // namespace

void IntegerRange::CalculateScaleFactor() {
  SetIntegerScaleFactor(*this, QUOR_LOG_SITE);
}

int64_t IntegerRange::Map(int64_t v) const {
  double raw = (static_cast<double>(v) - internalMin) * scaleFactor + externalMin;
  if (raw > 0.0) {
    raw += 0.5;
  } else if (raw < 0.0) {
    raw -= 0.5;
  }
  // Out-of-window arguments must not make the conversion undefined.
  constexpr double limit = 9.2233720368547748e18;  // 2^63
  if (!(raw > -limit && raw < limit)) {
    return raw > 0.0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  }
  return static_cast<int64_t>(raw);  // truncates toward zero
}

std::ostream& operator<<(std::ostream& os, const IntegerRange& range) {
  return os << "IntegerRange(" << range.internalMin << ", " << range.internalMax << ", "
            << range.externalMin << ", " << range.externalMax << ")";
}

void LongIntegerRange::CalculateScaleFactor() {
  SetIntegerScaleFactor(*this, QUOR_LOG_SITE);
}

FloatIntegerRange::FloatIntegerRange(double doubleMin, double doubleMax, int integerMin,
                                     int integerMax)
    : doubleMin(doubleMin),
      doubleMax(doubleMax),
      integerMin(integerMin),
      integerMax(integerMax),
      scaleFactor(1.0) {
  CalculateScaleFactor();
}

void FloatIntegerRange::CalculateScaleFactor() {
  SetScaleFactor(scaleFactor, doubleMax - doubleMin,
                 static_cast<double>(Span(integerMin, integerMax)), doubleMin, doubleMax,
                 integerMin, integerMax, kFloatIntegerWording, QUOR_LOG_SITE);
}

void FloatRange::CalculateScaleFactor() {
  // Order-insensitive, so the factor is never negative.
  SetScaleFactor(scaleFactor, std::max(doubleMin, doubleMax) - std::min(doubleMin, doubleMax),
                 std::max(externalMin, externalMax) - std::min(externalMin, externalMax), doubleMin,
                 doubleMax, externalMin, externalMax, kFloatWording, QUOR_LOG_SITE);
}

IntegerRange MakeIntegerRange(int32_t internalMin, int32_t internalMax, int32_t externalMin,
                              int32_t externalMax) {
  IntegerRange range{internalMin, internalMax, externalMin, externalMax, 1.0};
  range.CalculateScaleFactor();
  return range;
}

LongIntegerRange MakeLongIntegerRange(int64_t internalMin, int64_t internalMax, int64_t externalMin,
                                      int64_t externalMax) {
  LongIntegerRange range{internalMin, internalMax, externalMin, externalMax, 1.0};
  range.CalculateScaleFactor();
  return range;
}

FloatRange MakeFloatRange(double doubleMin, double doubleMax, double externalMin,
                          double externalMax) {
  FloatRange range{doubleMin, doubleMax, externalMin, externalMax, 1.0};
  range.CalculateScaleFactor();
  return range;
}

}  // namespace Quor
