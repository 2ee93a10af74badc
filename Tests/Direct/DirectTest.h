#pragma once
// What the direct conversion tests share besides the common builders.

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "Support/LogCapture.h"
#include "Support/ScopedTimeZone.h"
#include "Support/Values.h"

namespace DirectTest {

using namespace QuorTest;

inline std::string DptText(unsigned long dpt) {
  return "DPT " + std::to_string(dpt >> 16) + "." + std::to_string(dpt & 0xFFFF);
}

// Captured lines without the timing line of a slow decode, which depends on the machine.
inline Lines LinesOf(const LogCapture& capture) {
  Lines lines = capture.Lines();
  lines.erase(std::remove_if(lines.begin(), lines.end(),
                             [](const Line& line) {
                               return line.second.rfind("Decoding a KNX value took ", 0) == 0;
                             }),
              lines.end());
  return lines;
}

// Every test runs in Central European time, with daylight saving.
class InCentralEurope : public ::testing::Test {
 private:
  ScopedTimeZone m_zone{kCentralEuropeZone};
};

}  // namespace DirectTest
