#pragma once
// The KNX bit size of each main type: one table for the received values' check and the DPT
// rows' bit sizes, constexpr so that the rows take theirs at compile time (not part of the API).

#include "QuorObjectModel/KnxValueConverter.h"

namespace Quor {
namespace MainTypeBits {

struct Row {
  unsigned short mainNumber;
  unsigned int bits;
};

// clang-format off
inline constexpr Row kRows[] = {
//   main  bits
    {1,    1},
    {2,    2},
    {3,    4},
    {4,    8},
    {5,    8},
    {6,    8},
    {7,    16},
    {8,    16},
    {9,    16},
    {10,   24},
    {11,   24},
    {12,   32},
    {13,   32},
    {14,   32},
    {15,   32},
    {16,   112},
    {17,   8},
    {18,   8},
    {19,   64},
    {20,   8},
    {21,   8},
    {22,   16},
    {23,   8},
    {24,   VariableBitSize},
    {25,   8},
    {26,   8},
    {27,   32},
    {28,   VariableBitSize},
    {29,   64},
    {30,   24},
    {31,   3},
    {200,  9},
    {201,  16},
    {202,  16},
    {203,  24},
    {204,  16},
    {205,  24},
    {206,  24},
    {207,  16},
    {209,  24},
    {210,  32},
    {211,  16},
    {212,  48},
    {213,  64},
    {214,  32},
    {215,  40},
    {216,  40},
    {217,  16},
    {218,  40},
    {219,  48},
    {220,  32},
    {221,  48},
    {222,  48},
    {223,  24},
    {224,  48},
    {225,  24},
    {229,  48},
    {230,  64},
    {231,  32},
    {232,  24},
    {234,  16},
    {235,  48},
    {236,  8},
    {237,  16},
    {238,  8},
    {239,  16},
    {240,  24},
    {241,  32},
};
// clang-format on

// A linear search, for constant evaluation; BitSizeOfMainType() looks up a dense copy.
constexpr unsigned int Of(unsigned int mainNumber) {
  for (const Row& row : kRows) {
    if (row.mainNumber == mainNumber) {
      return row.bits;
    }
  }
  return 0;
}

}  // namespace MainTypeBits
}  // namespace Quor
