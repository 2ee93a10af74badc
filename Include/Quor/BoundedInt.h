#pragma once
/// \file
/// Integers that can only hold values of a fixed range.
/// \ingroup helpers

#include <stdexcept>
#include <string>

#include <boost/optional.hpp>

namespace Quor {

/// An integer that can only hold values in [Min, Max]; Tag keeps unrelated bounds apart
/// (see LogicalDeviceId).
/// \ingroup helpers
template <class T, T Min, T Max, class Tag>
class BoundedInt {
  static_assert(Min <= Max, "empty range");

 public:
  /// Throws std::out_of_range for a value outside [Min, Max].
  explicit constexpr BoundedInt(T value) : m_value(Check(value)) {}

  /// The bounded value, or an empty optional for a value outside [Min, Max].
  static constexpr boost::optional<BoundedInt> Create(T value) {
    return IsInRange(value) ? boost::optional<BoundedInt>(BoundedInt(value)) : boost::none;
  }

  /// Whether value lies in [Min, Max].
  static constexpr bool IsInRange(T value) { return Min <= value && value <= Max; }

  /// The value.
  constexpr T Get() const { return m_value; }
  /// The value.
  constexpr operator T() const { return m_value; }

 private:
  static constexpr T Check(T value) {
    return IsInRange(value)
               ? value
               : throw std::out_of_range("BoundedInt: " + std::to_string(value) + " outside [" +
                                         std::to_string(Min) + ", " + std::to_string(Max) + "]");
  }

  T m_value;
};

}  // namespace Quor
