// Doubles as text: shortest round-trip output and a strict reader of the same forms.
//
// Both give the same texts and values on every C++ library we build with: the output is
// std::to_chars where the library has it for doubles (libstdc++ 11) and an exact equivalent
// elsewhere; the reader is always our own, since libstdc++ before 12 refuses subnormals in
// std::from_chars. Neither depends on the process's locale.

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

#include "TevValue/TevValueDetail.hpp"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The shape of a decimal number: sign, digits, optional fraction, optional exponent.
struct DecimalShape {
  bool valid = false;
  bool negative = false;
  bool nonZero = false;  // some digit is not 0
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
  shape.nonZero = significant;
  shape.magnitude = (integerDigits > 0 ? integerDigits : -leadingFraction) + exponent;
  return shape;
}

locale_t CLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return locale;
}

// The correctly rounded double of a NUL-terminated decimal, as strtod reads it in the C locale.
double ReadDecimal(const char* text) {
  return strtod_l(text, nullptr, CLocale());
}

#if !defined(__cpp_lib_to_chars)
// The double that mantissa * 10^exponent reads as.
double DecimalValue(std::uint64_t mantissa, int exponent) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%" PRIu64 "e%d", mantissa, exponent);
  return ReadDecimal(buffer);
}

// The shortest decimal that reads back as a positive finite double and, of those as short, the
// nearest (what std::to_chars prints): digits without trailing zeros and the power of ten of
// the last one. The correctly rounded candidate of each length is tried, then its neighbour
// on the value's other side, which reads back where the value's rounding interval is lopsided
// (at powers of two).
struct Decimal {
  std::uint64_t mantissa;
  int exponent;
};

Decimal ShortestDecimal(double magnitude) {
  Decimal found{0, 0};
  for (int precision = 1; precision <= 17; ++precision) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, magnitude);
    // Digits up to the 'e' (the decimal point is the locale's), then the exponent.
    std::uint64_t mantissa = 0;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
      if (IsDigit(*p)) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
      }
    }
    const int exponent = static_cast<int>(std::strtol(p + 1, nullptr, 10)) - (precision - 1);
    const double candidate = DecimalValue(mantissa, exponent);
    if (candidate == magnitude) {
      found = {mantissa, exponent};
      break;
    }
    const std::uint64_t neighbour = candidate < magnitude ? mantissa + 1 : mantissa - 1;
    if (DecimalValue(neighbour, exponent) == magnitude) {
      found = {neighbour, exponent};
      break;
    }
  }
  while (found.mantissa % 10 == 0) {
    found.mantissa /= 10;
    ++found.exponent;
  }
  return found;
}

// As std::to_chars(value, fixed or scientific) prints it: the shortest round-trip digits.
void AppendShortest(std::string& text, double value, bool fixed) {
  if (std::signbit(value)) {
    text += '-';
  }
  if (value == 0.0) {
    text += fixed ? "0" : "0e+00";
    return;
  }
  const Decimal decimal = ShortestDecimal(std::fabs(value));
  const std::string digits = std::to_string(decimal.mantissa);
  const int count = static_cast<int>(digits.size());
  const int point = count + decimal.exponent;  // digits before the decimal point
  if (!fixed) {
    text += digits[0];
    if (count > 1) {
      text += '.';
      text.append(digits, 1, std::string::npos);
    }
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%02d", point - 1 < 0 ? '-' : '+',
                  std::abs(point - 1));
    text += exponent;
  } else if (point >= count) {
    text += digits;
    text.append(static_cast<std::size_t>(point - count), '0');
  } else if (point > 0) {
    text.append(digits, 0, static_cast<std::size_t>(point));
    text += '.';
    text.append(digits, static_cast<std::size_t>(point), std::string::npos);
  } else {
    text += "0.";
    text.append(static_cast<std::size_t>(-point), '0');
    text += digits;
  }
}

#endif  // !__cpp_lib_to_chars

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
  const bool fixed = magnitude == 0.0 || (magnitude >= 1e-4 && magnitude < 1e16);
#if defined(__cpp_lib_to_chars)
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value,
                    fixed ? std::chars_format::fixed : std::chars_format::scientific);
  text.append(buffer, result.ptr);
#else
  AppendShortest(text, value, fixed);
#endif
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
  // The shape is checked, so strtod reads all of it; a copy ends it with a NUL.
  const std::size_t length = static_cast<std::size_t>(last - first);
  double parsed = 0.0;
  if (length < 64) {
    char buffer[64];
    std::copy(first, last, buffer);
    buffer[length] = '\0';
    parsed = ReadDecimal(buffer);
  } else {
    parsed = ReadDecimal(std::string(first, last).c_str());
  }
  // Out of range is what rounds to infinity or, from a number that is not zero, to zero;
  // subnormals are in range.
  if (std::isinf(parsed) || (parsed == 0.0 && shape.nonZero)) {
    if (!saturate) {
      return false;
    }
    const double limit = shape.magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    value = shape.negative ? -limit : limit;
    return true;
  }
  value = parsed;
  return true;
}

}  // namespace TevValueDetail
