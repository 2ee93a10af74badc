#pragma once

#include <stdexcept>
#include <string>

#include <boost/optional.hpp>

namespace Quor {

// An integer that can only hold values in [Min, Max]; Tag keeps unrelated bounds apart.
template <class T, T Min, T Max, class Tag>
class BoundedInt {
  static_assert(Min <= Max, "empty range");

 public:
  // Throws std::out_of_range for a value outside [Min, Max].
  explicit constexpr BoundedInt(T value) : m_value(Check(value)) {}

  static constexpr boost::optional<BoundedInt> Create(T value) {
    return IsInRange(value) ? boost::optional<BoundedInt>(BoundedInt(value)) : boost::none;
  }

  static constexpr bool IsInRange(T value) { return Min <= value && value <= Max; }

  constexpr T Get() const { return m_value; }
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
