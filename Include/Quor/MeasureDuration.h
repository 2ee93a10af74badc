#pragma once
/// \file
/// Times a scope and logs how long it took when the scope ends.
/// \ingroup helpers

#include <string>

#include <boost/chrono/duration.hpp>
#include <boost/core/noncopyable.hpp>
#include <boost/optional.hpp>
#include <boost/timer/timer.hpp>

#include "QuorObjectModel/Export.h"

namespace Quor {

/// Times its own lifetime. When it ends, it logs "<message><times>" with the times as
/// boost::timer prints them (6 places), e.g.
///
///     Decoding a KNX value took 0.123456s wall, 0.110000s user + 0.000000s system = 0.110000s CPU
///     (89.1%)
///
/// With a threshold: at INFO once the wall time reached it, nothing below it. Without one:
/// always at DEBUG.
/// \ingroup helpers
class QUOR_API MeasureDuration : private boost::noncopyable {
 public:
  /// Starts the timer.
  explicit MeasureDuration(std::string message,
                           boost::optional<boost::chrono::nanoseconds> threshold = boost::none);
  /// Stops the timer and logs.
  ~MeasureDuration();

 private:
  boost::timer::cpu_timer m_timer;
  std::string m_message;
  boost::optional<boost::chrono::nanoseconds> m_threshold;
};

}  // namespace Quor
