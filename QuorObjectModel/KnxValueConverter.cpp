#include "QuorObjectModel/KnxValueConverter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <type_traits>
#include <utility>

#include <Quor/Log.h>

namespace Quor {

namespace {

// ---------------------------------------------------------------------------------------
// Bit size by main number

struct MainTypeBits {
  unsigned short mainNumber;
  unsigned int bits;
};

// clang-format off
constexpr MainTypeBits kMainTypeBits[] = {
    {1, 1},     {2, 2},     {3, 4},     {4, 8},     {5, 8},     {6, 8},     {7, 16},
    {8, 16},    {9, 16},    {10, 24},   {11, 24},   {12, 32},   {13, 32},   {14, 32},
    {15, 32},   {16, 112},  {17, 8},    {18, 8},    {19, 64},   {20, 8},    {21, 8},
    {22, 16},   {23, 8},    {24, VariableBitSize},  {25, 8},    {26, 8},    {27, 32},
    {28, VariableBitSize},  {29, 64},   {30, 24},   {31, 3},
    {200, 9},   {201, 16},  {202, 16},  {203, 24},  {204, 16},  {205, 24},  {206, 24},
    {207, 16},  {209, 24},  {210, 32},  {211, 16},  {212, 48},  {213, 64},  {214, 32},
    {215, 40},  {216, 40},  {217, 16},  {218, 40},  {219, 48},  {220, 32},  {221, 48},
    {222, 48},  {223, 24},  {224, 48},  {225, 24},  {229, 48},  {230, 64},  {231, 32},
    {232, 24},  {234, 16},  {235, 48},  {236, 8},   {237, 16},  {238, 8},   {239, 16},
    {240, 24},  {241, 32},
};
// clang-format on

constexpr unsigned int kLastSizedMainNumber = 241;

// Dense copy of the rows above, indexed by main number - 1.
constexpr std::array<unsigned int, kLastSizedMainNumber> kBitSizeByMainNumber = [] {
  std::array<unsigned int, kLastSizedMainNumber> sizes{};
  for (const MainTypeBits& row : kMainTypeBits) {
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

// ---------------------------------------------------------------------------------------
// The DPT table

// A row's range in field order. Every bound of the table is exact in a double, so one
// bounds type serves all four range classes.
struct Bounds {
  double first;
  double second;
  double third;
  double fourth;
};

constexpr double kFltMax = std::numeric_limits<float>::max();

struct DptRow;
using RegisterRow = bool (*)(KnxValueConverter& converter, const DptRow& row);

struct DptRow {
  // text is the DPT as the table writes it ("9.x", "6.020"); x is sub number 0.
  constexpr DptRow(const char* text, unsigned char bits, TevValueType tvt,
                   TevDP::TevValueSubType tst, RegisterRow registerRow, Bounds range = {})
      : text(text),
        mainNumber(ParseNumber(text)),
        subNumber(ParseNumber(SubText(text))),
        bits(bits),
        tvt(tvt),
        tst(tst),
        registerRow(registerRow),
        range(range) {}

  const char* text;
  unsigned short mainNumber;
  unsigned short subNumber;
  unsigned char bits;
  TevValueType tvt;
  TevDP::TevValueSubType tst;
  RegisterRow registerRow;
  Bounds range;

 private:
  static constexpr const char* SubText(const char* dpt) {
    while (*dpt != '.') {
      ++dpt;
    }
    return dpt + 1;
  }
  // Decimal digits up to the first non-digit; "x" reads as 0.
  static constexpr unsigned short ParseNumber(const char* digits) {
    unsigned int number = 0;
    for (; *digits >= '0' && *digits <= '9'; ++digits) {
      number = number * 10 + static_cast<unsigned int>(*digits - '0');
    }
    return static_cast<unsigned short>(number);
  }
};

template <class Range>
Range MakeRange(const Bounds& b);

template <>
IntegerRange MakeRange<IntegerRange>(const Bounds& b) {
  return MakeIntegerRange(static_cast<int32_t>(b.first), static_cast<int32_t>(b.second),
                          static_cast<int32_t>(b.third), static_cast<int32_t>(b.fourth));
}

template <>
LongIntegerRange MakeRange<LongIntegerRange>(const Bounds& b) {
  return MakeLongIntegerRange(static_cast<int64_t>(b.first), static_cast<int64_t>(b.second),
                              static_cast<int64_t>(b.third), static_cast<int64_t>(b.fourth));
}

template <>
FloatRange MakeRange<FloatRange>(const Bounds& b) {
  return MakeFloatRange(b.first, b.second, b.third, b.fourth);
}

template <>
FloatIntegerRange MakeRange<FloatIntegerRange>(const Bounds& b) {
  return FloatIntegerRange(b.first, b.second, static_cast<int>(b.third),
                           static_cast<int>(b.fourth));
}

template <class Converter, class = void>
struct HasRange : std::false_type {};
template <class Converter>
struct HasRange<Converter, std::void_t<decltype(std::declval<const Converter&>().GetRange())>>
    : std::true_type {};

// Builds the row's prototype on the stack, so the map's clone is the only allocation.
template <class Converter>
bool Register(KnxValueConverter& converter, const DptRow& row) {
  if constexpr (HasRange<Converter>::value) {
    using Range = std::decay_t<decltype(std::declval<const Converter&>().GetRange())>;
    const Converter prototype(MakeRange<Range>(row.range));
    return converter.AddDptValueMapEntry(row.mainNumber, row.subNumber, row.bits, row.tvt, row.tst,
                                         prototype);
  } else {
    const Converter prototype{};
    return converter.AddDptValueMapEntry(row.mainNumber, row.subNumber, row.bits, row.tvt, row.tst,
                                         prototype);
  }
}

using TevDP::tstAscii;
using TevDP::tstControlStep;
using TevDP::tstGeneric;
using TevDP::tstLatin1;
using TevDP::tstPhysicalFloat;
using TevDP::tstSceneNumber;
using TevDP::tstStatusWithMode;

// Rows in registration order, 232.x after 236.x as always; the map keeps them sorted.
// clang-format off
constexpr DptRow kDptTable[] = {
//   DPT      bits tvt          tst                converter                                      range
    {"1.x",   1,   tvtBoolean,  tstGeneric,        Register<KnxConverter1Bit>},
    {"2.x",   2,   tvtBoolean,  tstGeneric,        Register<KnxConverter2Bit>},
    {"3.x",   4,   tvtFloat,    tstControlStep,    Register<KnxConverter4Bit>,                    {-100.0, 100.0, 0, 15}},
    {"4.x",   8,   tvtString,   tstAscii,          Register<KnxConverter8BitString>,              {0, 127, 0, 127}},
    {"4.001", 8,   tvtString,   tstAscii,          Register<KnxConverter8BitString>,              {0, 127, 0, 127}},
    {"4.002", 8,   tvtString,   tstLatin1,         Register<KnxConverter8BitString>,              {0, 255, 0, 255}},
    {"5.x",   8,   tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
    {"5.006", 8,   tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 254, 0, 254}},
    {"6.x",   8,   tvtInteger,  tstGeneric,        Register<KnxConverterInteger8BitSigned>,       {-128, 127, -128, 127}},
    {"6.020", 8,   tvtByte,     tstStatusWithMode, Register<KnxConverterStatus8Bit>,              {0, 255, 0, 255}},
    {"7.x",   16,  tvtWord,     tstGeneric,        Register<KnxConverterInteger16BitUnsigned>,    {0, 65535, 0, 65535}},
    {"8.x",   16,  tvtInteger,  tstGeneric,        Register<KnxConverterInteger16BitSigned>,      {-32768, 32767, -32768, 32767}},
    {"9.x",   16,  tvtFloat,    tstGeneric,        Register<KnxConverterFloat16BitFloat>,         {-671088.64, 670760.96, -671088.64, 670760.96}},
    {"9.001", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-273.0, 670760.0, -273.0, 670760.0}},
    {"9.002", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.003", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.004", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.0, 0.0, 670760.0}},
    {"9.005", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.0, 0.0, 670760.0}},
    {"9.006", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.0, 0.0, 670760.0}},
    {"9.007", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.0, 0.0, 670760.0}},
    {"9.008", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.0, 0.0, 670760.0}},
    {"9.010", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.011", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.020", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.021", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.022", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.023", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.024", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.025", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.026", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-671088.64, 670760.96, -671088.64, 670760.96}},
    {"9.027", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-459.6, 670760.96, -459.6, 670760.96}},
    {"9.028", 16,  tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.96, 0.0, 670760.96}},
    {"10.x",  24,  tvtTime,     tstGeneric,        Register<KnxConverterTimeOfDay>},
    {"11.x",  24,  tvtDate,     tstGeneric,        Register<KnxConverterDate>},
    {"12.x",  32,  tvtDWord,    tstGeneric,        Register<KnxConverterInteger32BitUnsigned>,    {0, 4294967295.0, 0, 4294967295.0}},
    {"13.x",  32,  tvtInteger,  tstGeneric,        Register<KnxConverterInteger32BitSigned>,      {-2147483648.0, 2147483647, -2147483648.0, 2147483647}},
    {"14.x",  32,  tvtFloat,    tstGeneric,        Register<KnxConverterFloat32BitFloat>,         {-kFltMax, kFltMax, -kFltMax, kFltMax}},
    {"15.x",  32,  tvtDWord,    tstGeneric,        Register<KnxConverterInteger32BitUnsigned>,    {0, 4294967295.0, 0, 4294967295.0}},
    {"16.x",  112, tvtString,   tstAscii,          Register<KnxConverter14ByteString>,            {0, 127, 0, 127}},
    {"16.001",112, tvtString,   tstLatin1,         Register<KnxConverter14ByteString>,            {0, 255, 0, 255}},
    {"17.x",  8,   tvtInteger,  tstSceneNumber,    Register<KnxConverterSceneNumber>,             {0, 63, 0, 63}},
    {"18.x",  8,   tvtInteger,  tstSceneNumber,    Register<KnxConverterSceneControl>,            {0, 63, 0, 63}},
    {"19.x",  64,  tvtDateTime, tstGeneric,        Register<KnxConverterDateTime>},
    {"20.x",  8,   tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
    {"20.102",8,   tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 4, 0, 4}},
    {"20.103",8,   tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 4, 0, 4}},
    {"21.x",  8,   tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
    {"23.x",  8,   tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
    {"26.x",  8,   tvtByte,     tstGeneric,        Register<KnxConverterSceneInfo>,               {-64, 64, 0, 255}},
    {"27.x",  32,  tvtDWord,    tstGeneric,        Register<KnxConverterInteger32BitUnsigned>,    {0, 4294967295.0, 0, 4294967295.0}},
    {"236.x", 8,   tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
    {"232.x", 24,  tvtDWord,    tstGeneric,        Register<KnxConverterInteger24BitUnsigned>,    {0, 16777215, 0, 16777215}},
    {"238.x", 8,   tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
};
// clang-format on

static_assert(std::size(kDptTable) == 53, "the DPT table has 53 rows");

// ---------------------------------------------------------------------------------------
// Map helpers

constexpr uint32_t KeyOf(unsigned short mainNumber, unsigned short subNumber) {
  return (static_cast<uint32_t>(mainNumber) << 16) | subNumber;
}

uint32_t KeyOf(const DptValueEntry& entry) {
  return KeyOf(entry.dpt.mainNumber, entry.dpt.subNumber);
}

template <class Iterator>
Iterator LowerBound(Iterator first, Iterator last, uint32_t key) {
  return std::lower_bound(first, last, key, [](const DptValueEntry* entry, uint32_t wanted) {
    return KeyOf(*entry) < wanted;
  });
}

const DptValueEntry& NotFoundEntry() {
  // Created on the first miss (thread-safe one-time initialisation), kept until exit.
  static const DptValueEntry notFound(KNXDPT{0, 0, 0}, tvtEmpty, TevDP::tstGeneric,
                                      std::make_unique<KnxConverterDefault>());
  return notFound;
}

}  // namespace

unsigned int BitSizeOfMainType(unsigned int mainNumber) {
  if (mainNumber == 0 || mainNumber > kLastSizedMainNumber) {
    return 0;
  }
  return kBitSizeByMainNumber[mainNumber - 1];
}

// ---------------------------------------------------------------------------------------
// DptValueEntry

DptValueEntry::DptValueEntry(KNXDPT dpt, TevValueType tvt, TevDP::TevValueSubType tst,
                             std::unique_ptr<KnxConverter> converter)
    : dpt(dpt), tvt(tvt), tst(tst), converter(std::move(converter)) {}

DptValueEntry::DptValueEntry(const DptValueEntry& other)
    : dpt(other.dpt),
      tvt(other.tvt),
      tst(other.tst),
      converter(other.converter ? other.converter->Clone() : nullptr) {}

DptValueEntry& DptValueEntry::operator=(const DptValueEntry& other) {
  if (this != &other) {
    DptValueEntry copy(other);
    *this = std::move(copy);
  }
  return *this;
}

// ---------------------------------------------------------------------------------------
// DptValueMap

DptValueMap::DptValueMap(const DptValueMap& other) {
  *this = other;
}

DptValueMap& DptValueMap::operator=(const DptValueMap& other) {
  if (this != &other) {
    Clear();
    for (const DptValueEntry& entry : other.GetEntries()) {
      Insert(entry.dpt, entry.tvt, entry.tst, *entry.converter);
    }
  }
  return *this;
}

void DptValueMap::Clear() {
  m_sorted.clear();
  m_inline.clear();
  m_overflow.clear();
  m_firstOfMain[0] = 0;
  m_indexLimit = 0;
}

std::pair<DptValueMap::Sorted::const_iterator, DptValueMap::Sorted::const_iterator>
DptValueMap::EntriesOfMain(unsigned short mainNumber) const {
  const auto begin = m_sorted.begin();
  if (mainNumber < kIndexedMains) {
    const unsigned int first = std::min<unsigned int>(mainNumber, m_indexLimit);
    const unsigned int last = std::min<unsigned int>(mainNumber + 1u, m_indexLimit);
    return {begin + m_firstOfMain[first], begin + m_firstOfMain[last]};
  }
  const auto unindexed = begin + m_firstOfMain[m_indexLimit];
  const auto first = LowerBound(unindexed, m_sorted.end(), KeyOf(mainNumber, 0));
  // By main number, not by key: the key after main 65535 does not fit in 32 bits.
  const auto last = std::partition_point(first, m_sorted.end(), [mainNumber](const auto* entry) {
    return entry->dpt.mainNumber == mainNumber;
  });
  return {first, last};
}

const DptValueEntry& DptValueMap::GetEntry(const KNXDPT& dpt) const {
  const auto [first, last] = EntriesOfMain(dpt.mainNumber);
  const auto exact = std::lower_bound(first, last, dpt.subNumber,
                                      [](const DptValueEntry* entry, unsigned short wanted) {
                                        return entry->dpt.subNumber < wanted;
                                      });
  if (exact != last && (*exact)->dpt.subNumber == dpt.subNumber) {
    return **exact;
  }
  if (first == last || dpt.subNumber == 0) {
    QUOR_LOG_ERROR("No Entry found for DPT = " << dpt.mainNumber << "." << dpt.subNumber);
    return NotFoundEntry();
  }
  // The main.x entry stands for every sub number without an entry of its own.
  if ((*first)->dpt.subNumber == 0) {
    return **first;
  }
  QUOR_LOG_ERROR("No Entry found for DPT = " << dpt.mainNumber << ".x");
  return NotFoundEntry();
}

bool DptValueMap::Contains(unsigned short mainNumber, unsigned short subNumber) const {
  const auto [first, last] = EntriesOfMain(mainNumber);
  return std::any_of(first, last, [subNumber](const DptValueEntry* entry) {
    return entry->dpt.subNumber == subNumber;
  });
}

bool DptValueMap::Insert(KNXDPT dpt, TevValueType tvt, TevDP::TevValueSubType tst,
                         const KnxConverter& prototype) {
  const uint32_t key = KeyOf(dpt.mainNumber, dpt.subNumber);
  // Tables register mostly in ascending order: appending needs no search.
  auto position = m_sorted.end();
  if (!m_sorted.empty() && KeyOf(*m_sorted.back()) >= key) {
    position = LowerBound(m_sorted.begin(), m_sorted.end(), key);
    if (KeyOf(**position) == key) {
      return false;
    }
  }
  // One clone for a new entry and none for a duplicate: the same map as cloning first, with
  // half the allocations in Init().
  std::unique_ptr<KnxConverter> clone(prototype.Clone());
  const DptValueEntry& entry = m_inline.size() < kInlineEntries
                                   ? m_inline.emplace_back(dpt, tvt, tst, std::move(clone))
                                   : m_overflow.emplace_back(dpt, tvt, tst, std::move(clone));
  m_sorted.insert(position, &entry);

  if (dpt.mainNumber < kIndexedMains) {
    // A new largest main number first extends the index over the main numbers up to it,
    // then everything after the new entry moves up by one.
    const unsigned int limit = dpt.mainNumber + 1u;
    if (limit > m_indexLimit) {
      const auto begin = m_firstOfMain.begin();
      std::fill(begin + m_indexLimit + 1, begin + limit + 1, m_firstOfMain[m_indexLimit]);
      m_indexLimit = limit;
    }
    for (unsigned int k = limit; k <= m_indexLimit; ++k) {
      ++m_firstOfMain[k];
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// KnxValueConverter

bool KnxValueConverter::Init() {
  return FillDptValueMap();
}

bool KnxValueConverter::FillDptValueMap() {
  m_map.Clear();
  for (const DptRow& row : kDptTable) {
    if (!row.registerRow(*this, row)) {
      QUOR_LOG_ERROR("Add DPT value map entry failed. DPT=" << row.text);
    }
  }
  return true;
}

bool KnxValueConverter::AddDptValueMapEntry(unsigned short mainNumber, unsigned short subNumber,
                                            unsigned char bitSize, TevValueType tvt,
                                            TevDP::TevValueSubType tst,
                                            const KnxConverter& converter) {
  // The first registration wins and a duplicate is no failure. The map clones the
  // prototype only for a new entry, so a duplicate costs no throw-away clone.
  m_map.Insert(KNXDPT{bitSize, mainNumber, subNumber}, tvt, tst, converter);
  return true;
}

bool KnxValueConverter::ToKnxValue(KNXDPT& dpt, const TEVVALUE& value,
                                   KnxStack::GroupValue& group) {
  try {
    if (dpt.mainNumber == 0 && !GetDefaultMappingDptForValueType(dpt, value) &&
        !GetDefaultMappingDptForSize(dpt)) {
      QUOR_LOG_INFO("Could not find DPT for bit size " << dpt.bitSize);
      return false;
    }
    const DptValueEntry& entry = GetEntry(dpt);
    if (entry.tvt == tvtEmpty) {
      QUOR_LOG_ERROR("No Entry found for DPT = " << dpt.mainNumber << "." << dpt.subNumber);
      QUOR_LOG_ERROR("Assume validity and accept value!");
      return true;
    }
    // An invalid value always goes to the converter, which knows how to send it.
    if (value.tvt != tvtInvalid && !AreValueTypesCompatible(value.tvt, entry.tvt)) {
      QUOR_LOG_ERROR("Invalid value type found for DPT = " << dpt.mainNumber << "." << dpt.subNumber
                                                           << " val.tvt="
                                                           << static_cast<int>(value.tvt));
      return false;
    }
    if (!entry.converter) {
      QUOR_LOG_ERROR("NULL pointer as KnxConverter for DPT = " << dpt.mainNumber << "."
                                                               << dpt.subNumber);
      return false;
    }
    const bool converted = entry.converter->ToKnxValue(dpt, value, group);
    if (!converted) {
      QUOR_LOG_ERROR("Convert to KNX value failed for DPT = "
                     << dpt.mainNumber << "." << dpt.subNumber << " val = " << value.ToString());
    }
    return converted;
  } catch (const KnxStack::GroupValueException& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of TEVVALUE to GroupValue: " << e.what());
    // Callers have always been told that such a value went out.
    return true;
  }
}

bool KnxValueConverter::FromKnxValue(KNXDPT& dpt, const KnxStack::GroupValue& group,
                                     TEVVALUE& value) {
  try {
    if (dpt.mainNumber == 0) {
      if (dpt.bitSize == 0) {
        KNXDPT sized = dpt;
        sized.bitSize = static_cast<uint8_t>(group.GetDefinedSize());
        if (GetDefaultMappingDptForSize(sized)) {
          dpt = sized;
        }
      } else if (!GetDefaultMappingDptForSize(dpt)) {
        QUOR_LOG_INFO("Could not find DPT for bit size " << dpt.bitSize);
        return false;
      }
      if (dpt.mainNumber == 0) {
        QUOR_LOG_ERROR("Convert from KNX value failed. Missing DPT. GroupValue = "
                       << group.GetRawData().ToString());
        return false;
      }
    }

    const DptValueEntry& entry = GetEntry(dpt);
    if (entry.tvt == tvtEmpty) {
      QUOR_LOG_ERROR("No Entry found for DPT = " << dpt.mainNumber << "." << dpt.subNumber);
      QUOR_LOG_ERROR("Assume validity and accept value!");
      value.tvt = tvtEmpty;
      return true;
    }
    value.tvt = entry.tvt;

    // Values of up to 6 bits travel in one byte, so their sizes are not compared; a
    // 6-bit value is reread with the main type's own size.
    const unsigned int expected = BitSizeOfMainType(dpt.mainNumber);
    const unsigned int actual = group.GetDefinedSize();
    std::optional<KnxStack::GroupValue> resized;
    if (expected <= 6 && actual <= 6) {
      if (actual == 6) {
        resized.emplace(group.GetRawData(), expected);
      }
    } else if (actual != expected && expected != VariableBitSize) {
      QUOR_LOG_ERROR("Failed to convert a GroupValue for DPT "
                     << dpt.mainNumber << "." << dpt.subNumber
                     << " because of unexpected bit size: " << actual
                     << ", expected: " << expected);
      return false;
    }
    const KnxStack::GroupValue& source = resized ? *resized : group;

    if (!entry.converter) {
      QUOR_LOG_ERROR("NULL pointer as KnxConverter for DPT = " << dpt.mainNumber << "."
                                                               << dpt.subNumber);
      return false;
    }
    const bool converted = entry.converter->FromKnxValue(dpt, source, value);
    if (!converted) {
      QUOR_LOG_ERROR("Convert from KNX value failed for DPT = " << dpt.mainNumber << "."
                                                                << dpt.subNumber << " GroupValue = "
                                                                << source.GetRawData().ToString());
    }
    return converted;
  } catch (const KnxStack::GroupValueException& e) {
    QUOR_LOG_ERROR("Exception caught during conversion of GroupValue: "
                   << e.what() << "(DPT: " << dpt.mainNumber << "." << dpt.subNumber
                   << ", Value: " << value.ToString() << ")");
    return false;
  }
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

// ---------------------------------------------------------------------------------------
// QuorKnxValueConverter

QuorKnxValueConverter::QuorKnxValueConverter() = default;
QuorKnxValueConverter::~QuorKnxValueConverter() = default;

bool QuorKnxValueConverter::Init() {
  return m_converter.Init();
}

bool QuorKnxValueConverter::ToKnxValue(KNXDPT& dpt, const TEVVALUE& value,
                                       KnxStack::GroupValue& group) {
  return m_converter.ToKnxValue(dpt, value, group);
}

bool QuorKnxValueConverter::ToKnxValue(KNXDPT& dpt, const std::string& serialized,
                                       KnxStack::GroupValue& group) {
  // A text that does not deserialise is left to the type check of the conversion.
  TEVVALUE value;
  static_cast<void>(value.Deserialize(serialized));
  return m_converter.ToKnxValue(dpt, value, group);
}

bool QuorKnxValueConverter::ToKnxValue(const std::string& serialized, unsigned long bitSize,
                                       KnxStack::GroupValue& group) {
  KNXDPT dpt{static_cast<uint8_t>(bitSize & 0xFFu), 0, 0};
  TEVVALUE value;
  static_cast<void>(value.Deserialize(serialized));
  return m_converter.ToKnxValue(dpt, value, group);
}

bool QuorKnxValueConverter::FromKnxValue(KNXDPT& dpt, const KnxStack::GroupValue& group,
                                         TEVVALUE& value) {
  return m_converter.FromKnxValue(dpt, group, value);
}

bool QuorKnxValueConverter::FromKnxValue(const KnxStack::GroupValue& group, std::string& serialized,
                                         bool flag) {
  KNXDPT dpt{static_cast<uint8_t>(group.GetDefinedSize() & 0xFFu), 0, 0};
  TEVVALUE value;
  const bool converted = m_converter.FromKnxValue(dpt, group, value);
  if (converted) {
    static_cast<void>(value.Serialize(serialized, flag));
  }
  return converted;
}

}  // namespace Quor
