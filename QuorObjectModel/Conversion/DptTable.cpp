// The DPT table: the rows Init() registers, one line each, in registration order.

#include <cstdint>
#include <iterator>
#include <limits>
#include <type_traits>
#include <utility>

#include <Quor/Log.h>

#include "QuorObjectModel/KnxValueConverter.h"

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

struct DptRow;
using RegisterRow = bool (*)(KnxValueConverter& converter, const DptRow& row);

struct DptRow {
  // text is the DPT as the table writes it ("9.x", "6.020"); x is sub number 0.
  constexpr DptRow(const char* text, unsigned char bits, TevValueType tvt,
                   TevDP::TevValueSubType tst, RegisterRow registerRow, const Bounds& range = {})
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

}  // namespace

bool KnxValueConverter::FillDptValueMap() {
  m_map.Clear();
  for (const DptRow& row : kDptTable) {
    if (!row.registerRow(*this, row)) {
      QUOR_LOG_ERROR("Add DPT value map entry failed. DPT=" << row.text);
    }
  }
  return true;
}

}  // namespace Quor
