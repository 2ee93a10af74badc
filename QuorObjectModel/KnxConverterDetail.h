#pragma once
// Small helpers shared by the converter implementations (not part of the API).

#include <cstdint>

namespace Quor {
namespace Detail {

// Inclusive acceptance window; false for NaN.
template <class T, class Bound>
constexpr bool IsInWindow(T v, Bound min, Bound max) {
  return min <= v && v <= max;
}

// Valid mode fields of a DPT 6.020 status byte.
constexpr bool IsValidStatusMode(unsigned mode) {
  return mode == 1 || mode == 2 || mode == 4;
}

}  // namespace Detail
}  // namespace Quor
