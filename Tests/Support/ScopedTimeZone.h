#pragma once
// Runs a scope in a fixed time zone and gives the caller's zone back afterwards.
// POSIX zone strings ("UTC0", "CET-1CEST,M3.5.0,M10.5.0/3") need no zone database.

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace QuorTest {

constexpr const char* kUtcZone = "UTC0";
constexpr const char* kCentralEuropeZone = "CET-1CEST,M3.5.0,M10.5.0/3";

class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* previous = std::getenv("TZ")) {
      m_previous = previous;
    }
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (m_previous) {
      setenv("TZ", m_previous->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> m_previous;
};

}  // namespace QuorTest
