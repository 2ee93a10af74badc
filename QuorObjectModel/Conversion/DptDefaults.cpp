// The fixed tables of the conversion core: the KNX bit size of each main type looked up, the
// default DPT by bit size and by value type, and which value types a row of another type accepts.

#include <algorithm>
#include <array>
#include <cstddef>

#include "QuorObjectModel/Conversion/MainTypeBits.h"
#include "QuorObjectModel/KnxValueConverter.h"

namespace Quor {

namespace {

// ---------------------------------------------------------------------------------------
// Bit size by main number

constexpr unsigned int kLastSizedMainNumber = 241;

// Dense copy of the bit-size rows, indexed by main number - 1.
constexpr std::array<unsigned int, kLastSizedMainNumber> kBitSizeByMainNumber = [] {
  std::array<unsigned int, kLastSizedMainNumber> sizes{};
  for (const MainTypeBits::Row& row : MainTypeBits::kRows) {
    sizes[row.mainNumber - 1] = row.bits;
  }
  return sizes;
}();

// ---------------------------------------------------------------------------------------
// Default DPTs

struct SizeDefault {
  unsigned char bitSize;
  unsigned short mainNumber;
  unsigned short subNumber;
};

constexpr SizeDefault kDefaultDptBySize[] = {
    {1, 1, 1},   {2, 2, 1},    {4, 3, 7},    {8, 5, 0},   {16, 9, 0},   {24, 10, 1},
    {32, 14, 0}, {40, 218, 0}, {48, 219, 1}, {64, 19, 1}, {112, 16, 1},
};

constexpr int kAnyBitSize = -1;

struct ValueTypeDefault {
  TevValueType tvt;
  int incomingBitSize;  // kAnyBitSize: whatever the caller gave
  unsigned char bitSize;
  unsigned short mainNumber;
  unsigned short subNumber;
};

// clang-format off
constexpr ValueTypeDefault kDefaultDptByValueType[] = {
    {tvtBoolean,  kAnyBitSize, 1,   1,   1},
    {tvtDimStep,  kAnyBitSize, 4,   3,   7},
    {tvtByte,     kAnyBitSize, 8,   5,   0},
    {tvtPercent,  kAnyBitSize, 8,   5,   1},
    {tvtFloat,    0,           16,  9,   0},
    {tvtFloat,    4,           4,   3,   0},
    {tvtFloat,    8,           8,   5,   1},
    {tvtFloat,    16,          16,  9,   0},
    {tvtFloat,    32,          32,  14,  0},
    {tvtTime,     kAnyBitSize, 24,  10,  1},
    {tvtDate,     kAnyBitSize, 24,  11,  1},
    {tvtDWord,    kAnyBitSize, 32,  12,  1},
    {tvtInteger,  0,           32,  13,  0},
    {tvtInteger,  8,           8,   6,   0},
    {tvtInteger,  16,          16,  8,   0},
    {tvtType14,   kAnyBitSize, 32,  13,  100},
    {tvtType9,    kAnyBitSize, 40,  218, 0},
    {tvtDateTime, kAnyBitSize, 64,  19,  1},
    {tvtString,   0,           112, 16,  1},
    {tvtString,   8,           8,   4,   1},
    {tvtString,   112,         112, 16,  0},
};
// clang-format on

// ---------------------------------------------------------------------------------------
// Value type compatibility

struct TypeList {
  const TevValueType* first;
  const TevValueType* last;
  bool Contains(TevValueType tvt) const { return std::find(first, last, tvt) != last; }
};

template <std::size_t N>
constexpr TypeList List(const TevValueType (&types)[N]) {
  return TypeList{types, types + N};
}

constexpr TevValueType kFloatKinds[] = {tvtFloat, tvtType1005, tvtPercent, tvtDimStep, tvtType1039};
constexpr TevValueType kIntegerKinds[] = {tvtInteger, tvtType14};
constexpr TevValueType kByteKinds[] = {tvtByte, tvtType1021};
constexpr TevValueType kWordKinds[] = {tvtWord, tvtDWord, tvtType20};
constexpr TevValueType kDateKinds[] = {tvtDate, tvtType105};
constexpr TevValueType kTimeKinds[] = {tvtTime, tvtType104};
constexpr TevValueType kDateTimeKinds[] = {tvtDateTime, tvtType102, tvtType201};
constexpr TevValueType kAnyTimeKinds[] = {tvtDate,    tvtTime,    tvtDateTime, tvtType102,
                                          tvtType104, tvtType105, tvtType201};

struct CompatibilityRow {
  TypeList valueTypes;
  TypeList entryTypesAccepted;
};

constexpr CompatibilityRow kCompatibility[] = {
    {List(kFloatKinds), List(kFloatKinds)},      {List(kIntegerKinds), List(kIntegerKinds)},
    {List(kByteKinds), List(kByteKinds)},        {List(kWordKinds), List(kWordKinds)},
    {List(kDateKinds), List(kDateKinds)},        {List(kTimeKinds), List(kTimeKinds)},
    {List(kDateTimeKinds), List(kAnyTimeKinds)},
};

}  // namespace

unsigned int BitSizeOfMainType(unsigned int mainNumber) {
  if (mainNumber == 0 || mainNumber > kLastSizedMainNumber) {
    return 0;
  }
  return kBitSizeByMainNumber[mainNumber - 1];
}

bool KnxValueConverter::AreValueTypesCompatible(TevValueType valueType, TevValueType entryType) {
  if (valueType == entryType) {
    return true;
  }
  for (const CompatibilityRow& row : kCompatibility) {
    if (row.valueTypes.Contains(valueType)) {
      return row.entryTypesAccepted.Contains(entryType);
    }
  }
  return false;
}

bool KnxValueConverter::GetDefaultMappingDptForSize(KNXDPT& dpt) {
  for (const SizeDefault& row : kDefaultDptBySize) {
    if (row.bitSize == dpt.bitSize) {
      dpt.mainNumber = row.mainNumber;
      dpt.subNumber = row.subNumber;
      return true;
    }
  }
  return false;
}

bool KnxValueConverter::GetDefaultMappingDptForValueType(KNXDPT& dpt, const TEVVALUE& value) {
  for (const ValueTypeDefault& row : kDefaultDptByValueType) {
    if (row.tvt == value.tvt &&
        (row.incomingBitSize == kAnyBitSize || row.incomingBitSize == dpt.bitSize)) {
      dpt = KNXDPT{row.bitSize, row.mainNumber, row.subNumber};
      return true;
    }
  }
  return false;
}

}  // namespace Quor
