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

// Shared by IntegerRange and LongIntegerRange; logs as the member that calls it.
template <class Range>
void CalculateScaleFactor(Range& r, const LogSite& site) {
  const int64_t spanInternal = Span(r.internalMin, r.internalMax);
  if (spanInternal == 0) {
    QUOR_LOG_ERROR_AT(site,
                      "Failed to calculate the scale factor because of invalid internal range ["
                          << r.internalMin << ", " << r.internalMax << "].");
    return;
  }
  const int64_t spanExternal = Span(r.externalMin, r.externalMax);
  if (spanExternal == 0) {
    QUOR_LOG_ERROR_AT(site,
                      "Failed to calculate the scale factor because of invalid external range ["
                          << r.externalMin << ", " << r.externalMax << "].");
    return;
  }
  const double f = static_cast<double>(spanExternal) / static_cast<double>(spanInternal);
  if (f == 0.0) {
    r.scaleFactor = 1.0;
    QUOR_LOG_ERROR_AT(site,
                      "Failed to calculate the scale factor because of invalid internal range ["
                          << r.internalMin << ", " << r.internalMax
                          << "] or because of invalid external range [" << r.externalMin << ", "
                          << r.externalMax << "].");
    return;
  }
  r.scaleFactor = f;
}

}  // namespace

void IntegerRange::CalculateScaleFactor() {
  Quor::CalculateScaleFactor(*this, QUOR_LOG_SITE);
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
  Quor::CalculateScaleFactor(*this, QUOR_LOG_SITE);
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
  const double spanDouble = doubleMax - doubleMin;
  if (spanDouble == 0.0) {
    QUOR_LOG_ERROR("Failed to calculate the scale factor because of invalid double range ["
                   << doubleMin << ", " << doubleMax << "].");
    return;
  }
  const int64_t spanInteger = Span(integerMin, integerMax);
  if (spanInteger == 0) {
    QUOR_LOG_ERROR("Failed to calculate the scale factor because of invalid integer range ["
                   << integerMin << ", " << integerMax << "].");
    return;
  }
  const double f = static_cast<double>(spanInteger) / spanDouble;
  if (f == 0.0) {
    scaleFactor = 1.0;
    QUOR_LOG_ERROR("Failed to calculate the scale factor because of invalid double range ["
                   << doubleMin << ", " << doubleMax << "] or because invalid integer range ["
                   << integerMin << ", " << integerMax << "].");
    return;
  }
  scaleFactor = f;
}

void FloatRange::CalculateScaleFactor() {
  // Order-insensitive, so the factor is never negative.
  const double span1 = std::max(doubleMin, doubleMax) - std::min(doubleMin, doubleMax);
  const double span2 = std::max(externalMin, externalMax) - std::min(externalMin, externalMax);
  if (span1 == 0.0) {
    QUOR_LOG_ERROR("Failed to calculate the scale factor because of invalid double range ["
                   << doubleMin << ", " << doubleMax << "].");
    return;
  }
  if (span2 == 0.0) {
    QUOR_LOG_ERROR("Failed to calculate the scale factor because of invalid external range ["
                   << externalMin << ", " << externalMax << "].");
    return;
  }
  const double f = span2 / span1;
  if (f == 0.0) {
    scaleFactor = 1.0;
    QUOR_LOG_ERROR("Failed to calculate the scale factor because of invalid double range ["
                   << doubleMin << ", " << doubleMax << "] or because invalid external range ["
                   << externalMin << ", " << externalMax << "].");
    return;
  }
  scaleFactor = f;
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
