// The DPT table: the rows Init() registers, one line each, in registration order.

#include "QuorObjectModel/Conversion/DptTable.h"

#include <cstdint>
#include <iterator>
#include <limits>
#include <type_traits>
#include <utility>

#include "QuorObjectModel/Conversion/MainTypeBits.h"
#include "QuorObjectModel/Wire/KnxWireFormat.h"

namespace Quor {

namespace {

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
constexpr double kLastScene = Knx::kHighestSceneNumber;

struct DptRow;
using RegisterRow = void (*)(DptValueMap& map, const DptRow& row);

struct DptRow {
  // text is the DPT as the table writes it ("9.x", "6.020"); x is sub number 0. The bit size is
  // the main type's, so that a row cannot disagree with the received values' check.
  constexpr DptRow(const char* text, TevValueType tvt, TevDP::TevValueSubType tst,
                   RegisterRow registerRow, const Bounds& range = {})
      : mainNumber(ParseNumber(text)),
        subNumber(ParseNumber(SubText(text))),
        bits(static_cast<unsigned char>(MainTypeBits::Of(mainNumber))),
        tvt(tvt),
        tst(tst),
        registerRow(registerRow),
        range(range) {}

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

// A ranged class missing from the list has no default constructor to build it with below, so
// the list the tool reads stays complete.
template <class Converter, class... Ranged>
constexpr bool IsAmong(KnxConverterList<Ranged...> /*list*/) {
  return (std::is_same_v<Converter, Ranged> || ...);
}

// Builds the row's prototype on the stack, so the map's clone is the only allocation. A taken
// DPT is no failure: the first registration stays.
template <class Converter>
void Register(DptValueMap& map, const DptRow& row) {
  const KNXDPT dpt{row.bits, row.mainNumber, row.subNumber};
  if constexpr (IsAmong<Converter>(RangedKnxConverters{})) {
    using Range = std::decay_t<decltype(std::declval<const Converter&>().GetRange())>;
    map.Insert(dpt, row.tvt, row.tst, Converter(MakeRange<Range>(row.range)));
  } else {
    map.Insert(dpt, row.tvt, row.tst, Converter{});
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
//   DPT      tvt          tst                converter                                      range
    {"1.x",   tvtBoolean,  tstGeneric,        Register<KnxConverter1Bit>},
    {"2.x",   tvtBoolean,  tstGeneric,        Register<KnxConverter2Bit>},
    {"3.x",   tvtFloat,    tstControlStep,    Register<KnxConverter4Bit>,                    {-100.0, 100.0, 0, 15}},
    {"4.x",   tvtString,   tstAscii,          Register<KnxConverter8BitString>,              {0, 127, 0, 127}},
    {"4.001", tvtString,   tstAscii,          Register<KnxConverter8BitString>,              {0, 127, 0, 127}},
    {"4.002", tvtString,   tstLatin1,         Register<KnxConverter8BitString>,              {0, 255, 0, 255}},
    {"5.x",   tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
    {"5.006", tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 254, 0, 254}},
    {"6.x",   tvtInteger,  tstGeneric,        Register<KnxConverterInteger8BitSigned>,       {-128, 127, -128, 127}},
    {"6.020", tvtByte,     tstStatusWithMode, Register<KnxConverterStatus8Bit>,              {0, 255, 0, 255}},
    {"7.x",   tvtWord,     tstGeneric,        Register<KnxConverterInteger16BitUnsigned>,    {0, 65535, 0, 65535}},
    {"8.x",   tvtInteger,  tstGeneric,        Register<KnxConverterInteger16BitSigned>,      {-32768, 32767, -32768, 32767}},
    {"9.x",   tvtFloat,    tstGeneric,        Register<KnxConverterFloat16BitFloat>,         {-671088.64, 670760.96, -671088.64, 670760.96}},
    {"9.001", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-273.0, 670760.0, -273.0, 670760.0}},
    {"9.002", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.003", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.004", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.0, 0.0, 670760.0}},
    {"9.005", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.0, 0.0, 670760.0}},
    {"9.006", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.0, 0.0, 670760.0}},
    {"9.007", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.0, 0.0, 670760.0}},
    {"9.008", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.0, 0.0, 670760.0}},
    {"9.010", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.011", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.020", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.021", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.022", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.023", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.024", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.025", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-670760.0, 670760.0, -670760.0, 670760.0}},
    {"9.026", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-671088.64, 670760.96, -671088.64, 670760.96}},
    {"9.027", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {-459.6, 670760.96, -459.6, 670760.96}},
    {"9.028", tvtFloat,    tstPhysicalFloat,  Register<KnxConverterFloat16BitFloat>,         {0.0, 670760.96, 0.0, 670760.96}},
    {"10.x",  tvtTime,     tstGeneric,        Register<KnxConverterTimeOfDay>},
    {"11.x",  tvtDate,     tstGeneric,        Register<KnxConverterDate>},
    {"12.x",  tvtDWord,    tstGeneric,        Register<KnxConverterInteger32BitUnsigned>,    {0, 4294967295.0, 0, 4294967295.0}},
    {"13.x",  tvtInteger,  tstGeneric,        Register<KnxConverterInteger32BitSigned>,      {-2147483648.0, 2147483647, -2147483648.0, 2147483647}},
    {"14.x",  tvtFloat,    tstGeneric,        Register<KnxConverterFloat32BitFloat>,         {-kFltMax, kFltMax, -kFltMax, kFltMax}},
    {"15.x",  tvtDWord,    tstGeneric,        Register<KnxConverterInteger32BitUnsigned>,    {0, 4294967295.0, 0, 4294967295.0}},
    {"16.x",  tvtString,   tstAscii,          Register<KnxConverter14ByteString>,            {0, 127, 0, 127}},
    {"16.001",tvtString,   tstLatin1,         Register<KnxConverter14ByteString>,            {0, 255, 0, 255}},
    {"17.x",  tvtInteger,  tstSceneNumber,    Register<KnxConverterSceneNumber>,             {0, kLastScene, 0, kLastScene}},
    {"18.x",  tvtInteger,  tstSceneNumber,    Register<KnxConverterSceneControl>,            {0, kLastScene, 0, kLastScene}},
    {"19.x",  tvtDateTime, tstGeneric,        Register<KnxConverterDateTime>},
    {"20.x",  tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
    {"20.102",tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 4, 0, 4}},
    {"20.103",tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 4, 0, 4}},
    {"21.x",  tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
    {"23.x",  tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
    {"26.x",  tvtByte,     tstGeneric,        Register<KnxConverterSceneInfo>,               {-64, 64, 0, 255}},
    {"27.x",  tvtDWord,    tstGeneric,        Register<KnxConverterInteger32BitUnsigned>,    {0, 4294967295.0, 0, 4294967295.0}},
    {"236.x", tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
    {"232.x", tvtDWord,    tstGeneric,        Register<KnxConverterInteger24BitUnsigned>,    {0, 16777215, 0, 16777215}},
    {"238.x", tvtByte,     tstGeneric,        Register<KnxConverterByte8BitUnsigned>,        {0, 255, 0, 255}},
};
// clang-format on

static_assert(std::size(kDptTable) == 53, "the DPT table has 53 rows");

// A row's bit size comes from its main type: one of fixed size that fits the entry's byte.
constexpr bool EveryRowSized() {
  for (const DptRow& row : kDptTable) {
    const unsigned int bits = MainTypeBits::Of(row.mainNumber);
    if (bits == 0 || bits > std::numeric_limits<unsigned char>::max()) {
      return false;
    }
  }
  return true;
}
static_assert(EveryRowSized(), "every row's main type has a bit size below 256");

}  // namespace

void InsertDptRows(DptValueMap& map) {
  for (const DptRow& row : kDptTable) {
    row.registerRow(map, row);
  }
}

}  // namespace Quor
