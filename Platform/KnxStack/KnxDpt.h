#pragma once
/// \file
/// The platform's datapoint type record. Part of the platform contract the library relies on.
/// \ingroup platform

#include <cstdint>

/// The platform's datapoint type (DPT) record, copied by value. In log text a DPT prints as
/// main.sub in plain decimals (9.001 prints as 9.1).
/// \ingroup platform
struct KNXDPT {
  uint8_t bitSize;      ///< Size of the KNX value in bits; 0 = not given.
  uint16_t mainNumber;  ///< Main type number; 0 = no DPT.
  uint16_t subNumber;   ///< Sub type number.
};
