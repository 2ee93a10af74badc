// Doubles as text: shortest round-trip output and a strict reader of the same forms.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "TevValue/TevValueDetail.hpp"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The shape of a decimal number: sign, digits, optional fraction, optional exponent.
struct DecimalShape {
  bool valid = false;
  bool negative = false;
  // Position of the first significant digit relative to the decimal point plus the
  // exponent: > 0 means the magnitude is at least 1. Only read for out-of-range numbers.
  long magnitude = 0;
};

DecimalShape ScanDecimal(const char* first, const char* last) {
  DecimalShape shape;
  const char* p = first;
  if (p != last && (*p == '+' || *p == '-')) {
    shape.negative = *p == '-';
    ++p;
  }
  long integerDigits = 0;    // significant digits before the point
  long leadingFraction = 0;  // zeros after the point before the first significant digit
  bool significant = false;
  bool anyDigit = false;
  for (; p != last && IsDigit(*p); ++p) {
    anyDigit = true;
    significant = significant || *p != '0';
    integerDigits += significant ? 1 : 0;
  }
  if (p != last && *p == '.') {
    for (++p; p != last && IsDigit(*p); ++p) {
      anyDigit = true;
      leadingFraction += (!significant && *p == '0') ? 1 : 0;
      significant = significant || *p != '0';
    }
  }
  if (!anyDigit) {
    return shape;
  }
  long exponent = 0;
  if (p != last && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negativeExponent = false;
    if (p != last && (*p == '+' || *p == '-')) {
      negativeExponent = *p == '-';
      ++p;
    }
    if (p == last || !IsDigit(*p)) {
      return shape;
    }
    for (; p != last && IsDigit(*p); ++p) {
      exponent = std::min(exponent * 10 + (*p - '0'), 1000000L);  // saturates, sign is enough
    }
    exponent = negativeExponent ? -exponent : exponent;
  }
  shape.valid = p == last;
  shape.magnitude = (integerDigits > 0 ? integerDigits : -leadingFraction) + exponent;
  return shape;
}

}  // namespace

namespace TevValueDetail {

void AppendDouble(std::string& text, double value) {
  if (std::isnan(value)) {
    text += "nan";
    return;
  }
  if (std::isinf(value)) {
    text += value < 0 ? "-inf" : "inf";
    return;
  }
  // Fixed notation where it stays short, as a reader expects "21.5" rather than "2.15e+01".
  const double magnitude = std::fabs(value);
  const auto format = magnitude == 0.0 || (magnitude >= 1e-4 && magnitude < 1e16)
                          ? std::chars_format::fixed
                          : std::chars_format::scientific;
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format);
  text.append(buffer, result.ptr);
}

bool ParseDouble(const char* first, const char* last, double& value, bool saturate) {
  const std::string_view text(first, static_cast<std::size_t>(last - first));
  if (text == "nan") {
    value = std::numeric_limits<double>::quiet_NaN();
    return true;
  }
  if (text == "inf" || text == "-inf") {
    value = text == "inf" ? std::numeric_limits<double>::infinity()
                          : -std::numeric_limits<double>::infinity();
    return true;
  }
  const DecimalShape shape = ScanDecimal(first, last);
  if (!shape.valid) {
    return false;
  }
  // from_chars takes no '+'.
  const char* const start = (*first == '+') ? first + 1 : first;
  double parsed = 0.0;
  const auto result = std::from_chars(start, last, parsed, std::chars_format::general);
  if (result.ptr != last) {
    return false;
  }
  if (result.ec == std::errc::result_out_of_range) {
    if (!saturate) {
      return false;
    }
    const double limit = shape.magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    value = shape.negative ? -limit : limit;
    return true;
  }
  if (result.ec != std::errc()) {
    return false;
  }
  value = parsed;
  return true;
}

}  // namespace TevValueDetail
