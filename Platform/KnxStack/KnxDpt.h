#pragma once

#include <cstdint>

// The platform's datapoint type record, copied by value. In log text a DPT prints as
// main.sub in plain decimals (9.001 prints as 9.1).
struct KNXDPT {
  uint8_t bitSize;      // size of the KNX value in bits; 0 = not given
  uint16_t mainNumber;  // 0 = no DPT
  uint16_t subNumber;
};
