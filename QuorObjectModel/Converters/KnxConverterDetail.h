#pragma once
// Small helpers shared by the converter implementations (not part of the API).

#include <cstdint>

namespace Quor {
namespace Detail {

// A converter checks the DPT and the value type it is handed in one of two forms, each part a
// comparison that matches. Strict: every part must match. Permissive: one matching part lets
// the value through. The permissive form is deliberate, not a slip of && for ||: those
// converters have always accepted a value when either the DPT or the type is theirs, and
// callers that hand them a neighbouring DPT or a related type rely on it.
template <class... Parts>
constexpr bool PassesStrictCheck(Parts... parts) {
  return (... && parts);
}

template <class... Parts>
constexpr bool PassesPermissiveCheck(Parts... parts) {
  return (... || parts);
}

// Inclusive acceptance window; false for NaN.
template <class T, class Bound>
constexpr bool IsInWindow(T v, Bound min, Bound max) {
  return min <= v && v <= max;
}

}  // namespace Detail
}  // namespace Quor
