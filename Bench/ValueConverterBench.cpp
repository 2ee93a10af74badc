// Cost of the table conversions, of filling the DPT table and of the facade, each next to
// a floor in the same binary: a hand-written inline 2-byte float encode and decode, and
// the 53 bare allocations and frees that cloning the table's converters needs.
//
// The logger stands at WARN, as on a device: DEBUG traces and INFO lines must cost no text.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <Quor/Log.h>
#include <log4cplus/logger.h>
#include <log4cplus/nullappender.h>

#include "QuorObjectModel/KnxValueConverter.h"

namespace {

const bool kLoggingAtWarn = [] {
  log4cplus::Logger logger = Quor::GetGlobalDefaultLogger();
  logger.addAppender(log4cplus::SharedAppenderPtr(new log4cplus::NullAppender()));
  logger.setLogLevel(log4cplus::WARN_LOG_LEVEL);
  return true;
}();

constexpr std::size_t kTableRows = 53;

// ---------------------------------------------------------------------------------------
// Floors

// 2-byte KNX float, 0.01 * M * 2^E, written out inline without range or invalid handling.
inline uint16_t InlineEncodeFloat16(double value) {
  double hundredths = value * 100.0;
  int exponent = 0;
  while (hundredths < -2048.0 || hundredths > 2047.0) {
    hundredths /= 2.0;
    ++exponent;
  }
  const auto mantissa = static_cast<int>(std::lround(hundredths));
  return static_cast<uint16_t>((mantissa < 0 ? 0x8000 : 0) | (exponent << 11) |
                               (mantissa & 0x07FF));
}

inline double InlineDecodeFloat16(uint16_t raw) {
  int mantissa = raw & 0x07FF;
  if (raw & 0x8000) {
    mantissa -= 2048;
  }
  return static_cast<double>(mantissa * (1 << ((raw >> 11) & 0x0F))) / 100.0;
}

void BM_Floor_InlineFloat16Encode(benchmark::State& state) {
  double value = 21.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(InlineEncodeFloat16(value));
  }
}
BENCHMARK(BM_Floor_InlineFloat16Encode);

void BM_Floor_InlineFloat16Decode(benchmark::State& state) {
  uint16_t raw = 0x0C33;
  for (auto _ : state) {
    benchmark::DoNotOptimize(raw);
    benchmark::DoNotOptimize(InlineDecodeFloat16(raw));
  }
}
BENCHMARK(BM_Floor_InlineFloat16Decode);

// One allocation and one deletion per cloned converter.
void BM_Floor_53NewDelete(benchmark::State& state) {
  constexpr std::size_t kSize = sizeof(Quor::KnxConverterFloat16BitFloat);
  std::array<void*, kTableRows> blocks{};
  for (auto _ : state) {
    for (void*& block : blocks) {
      block = ::operator new(kSize);
      benchmark::DoNotOptimize(block);
    }
    for (void* block : blocks) {
      ::operator delete(block);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Floor_53NewDelete);

// ---------------------------------------------------------------------------------------
// Init

void BM_Init_FreshConverter(benchmark::State& state) {
  for (auto _ : state) {
    Quor::KnxValueConverter converter;
    benchmark::DoNotOptimize(converter.Init());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Init_FreshConverter);

void BM_Init_Again(benchmark::State& state) {
  Quor::KnxValueConverter converter;
  converter.Init();
  for (auto _ : state) {
    benchmark::DoNotOptimize(converter.Init());
  }
}
BENCHMARK(BM_Init_Again);

// The row lookup alone, for the row of a main type with many rows (9.001, 21 rows of main 9)
// and for one that falls back to main.x (9.030).
void BM_Lookup(benchmark::State& state) {
  Quor::KnxValueConverter converter;
  converter.Init();
  KNXDPT dpt{16, 9, static_cast<unsigned short>(state.range(0))};
  for (auto _ : state) {
    benchmark::DoNotOptimize(&converter.GetEntry(dpt));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Lookup)->Arg(1)->Arg(30);

// ---------------------------------------------------------------------------------------
// Table conversions

struct Case {
  KNXDPT dpt;
  TEVVALUE value;
  std::vector<unsigned char> raw;
};

TEVVALUE Value(TevValueType tvt) {
  return TEVVALUE(tvt);
}

TEVVALUE BoolValue(bool b) {
  TEVVALUE v(tvtBoolean);
  v.value.boolValue = b;
  return v;
}

TEVVALUE ByteValue(uint8_t b) {
  TEVVALUE v(tvtByte);
  v.value.byteValue = b;
  return v;
}

TEVVALUE WordValue(uint16_t w) {
  TEVVALUE v(tvtWord);
  v.value.wordValue = w;
  return v;
}

TEVVALUE DWordValue(uint32_t d) {
  TEVVALUE v(tvtDWord);
  v.value.dwordValue = d;
  return v;
}

TEVVALUE IntegerValue(int32_t i) {
  TEVVALUE v(tvtInteger);
  v.value.intValue = i;
  return v;
}

TEVVALUE FloatValue(double d) {
  TEVVALUE v(tvtFloat);
  v.value.doubleValue = d;
  return v;
}

TEVVALUE StringValue(const char* s) {
  TEVVALUE v(tvtString);
  v.stringValue = s;
  return v;
}

TEVVALUE TimeValue(TevValueType tvt, unsigned short year, unsigned char month, unsigned char day,
                   unsigned char hour, unsigned char minute, unsigned char second) {
  TEVVALUE v = Value(tvt);
  v.value.timeValue.Clear(true);
  v.value.timeValue.SetDateTime(year, month, day, hour, minute, second, true);
  return v;
}

// The 10.x row takes time values; the weekday travels in the TEVTIME.
TEVVALUE DayTimeValue() {
  TEVVALUE v = TimeValue(tvtTime, 2000, 1, 1, 13, 45, 10);
  v.value.timeValue.weekday = 4;  // Wednesday
  return v;
}

std::vector<unsigned char> Float32Bytes(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return {static_cast<unsigned char>(bits >> 24), static_cast<unsigned char>(bits >> 16),
          static_cast<unsigned char>(bits >> 8), static_cast<unsigned char>(bits)};
}

// clang-format off
Case Case_1_001()   { return {{1, 1, 1},     BoolValue(true),         {0x01}}; }
Case Case_5_001()   { return {{8, 5, 1},     ByteValue(128),          {0x80}}; }
Case Case_7_001()   { return {{16, 7, 1},    WordValue(4660),         {0x12, 0x34}}; }
Case Case_9_001()   { return {{16, 9, 1},    FloatValue(21.5),        {0x0C, 0x33}}; }
Case Case_13_001()  { return {{32, 13, 1},   IntegerValue(-123456),   {0xFF, 0xFE, 0x1D, 0xC0}}; }
Case Case_14_056()  { return {{32, 14, 56},  FloatValue(1234.5),      Float32Bytes(1234.5f)}; }
Case Case_16_000()  { return {{112, 16, 0},  StringValue("Hello KNX"),
                              {'H', 'e', 'l', 'l', 'o', ' ', 'K', 'N', 'X', 0, 0, 0, 0, 0}}; }
Case Case_10_001()  { return {{24, 10, 1},   DayTimeValue(),          {0x6D, 0x2D, 0x0A}}; }
Case Case_11_001()  { return {{24, 11, 1},   TimeValue(tvtDate, 2024, 5, 17, 0, 0, 0), {17, 5, 24}}; }
Case Case_19_001()  { return {{64, 19, 1},   TimeValue(tvtDateTime, 2024, 5, 17, 13, 45, 10),
                              {124, 5, 17, 13, 45, 10, 0x20, 0x00}}; }
Case Case_232_600() { return {{24, 232, 600}, DWordValue(0x123456),   {0x12, 0x34, 0x56}}; }
// clang-format on

struct Initialised {
  Initialised() { converter.Init(); }
  Quor::KnxValueConverter converter;
};

template <Case (*MakeCase)()>
void BM_Table_ToKnxValue(benchmark::State& state) {
  Initialised fixture;
  const Case c = MakeCase();
  KnxStack::GroupValue group;
  KNXDPT check = c.dpt;
  if (!fixture.converter.ToKnxValue(check, c.value, group)) {
    state.SkipWithError("conversion refused");
    return;
  }
  for (auto _ : state) {
    KNXDPT dpt = c.dpt;
    benchmark::DoNotOptimize(fixture.converter.ToKnxValue(dpt, c.value, group));
    benchmark::ClobberMemory();
  }
}

template <Case (*MakeCase)()>
void BM_Table_FromKnxValue(benchmark::State& state) {
  Initialised fixture;
  const Case c = MakeCase();
  const KnxStack::GroupValue group(
      KnxStack::BinaryData(c.raw.data(), static_cast<unsigned int>(c.raw.size())), c.dpt.bitSize);
  TEVVALUE value;
  KNXDPT check = c.dpt;
  if (!fixture.converter.FromKnxValue(check, group, value)) {
    state.SkipWithError("conversion refused");
    return;
  }
  for (auto _ : state) {
    KNXDPT dpt = c.dpt;
    benchmark::DoNotOptimize(fixture.converter.FromKnxValue(dpt, group, value));
    benchmark::ClobberMemory();
  }
}

#define QUOR_TABLE_BENCH(suffix)                                                                \
  BENCHMARK_TEMPLATE(BM_Table_ToKnxValue, Case_##suffix)->Name("BM_Table_ToKnxValue/" #suffix); \
  BENCHMARK_TEMPLATE(BM_Table_FromKnxValue, Case_##suffix)->Name("BM_Table_FromKnxValue/" #suffix)

QUOR_TABLE_BENCH(1_001);
QUOR_TABLE_BENCH(5_001);
QUOR_TABLE_BENCH(7_001);
QUOR_TABLE_BENCH(9_001);
QUOR_TABLE_BENCH(13_001);
QUOR_TABLE_BENCH(14_056);
QUOR_TABLE_BENCH(16_000);
QUOR_TABLE_BENCH(10_001);
QUOR_TABLE_BENCH(11_001);
QUOR_TABLE_BENCH(19_001);
QUOR_TABLE_BENCH(232_600);

// ---------------------------------------------------------------------------------------
// Facade with serialised values

struct Facade {
  Facade() { facade.Init(); }
  Quor::QuorKnxValueConverter facade;
};

void BM_Facade_ToKnxValue_Dpt_9_001(benchmark::State& state) {
  Facade fixture;
  const std::string serialized = "3.7:21.5";
  KnxStack::GroupValue group;
  for (auto _ : state) {
    KNXDPT dpt{16, 9, 1};
    benchmark::DoNotOptimize(fixture.facade.ToKnxValue(dpt, serialized, group));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Facade_ToKnxValue_Dpt_9_001);

void BM_Facade_ToKnxValue_BitSize16_Plain(benchmark::State& state) {
  Facade fixture;
  const std::string serialized = "21.5";
  KnxStack::GroupValue group;
  for (auto _ : state) {
    benchmark::DoNotOptimize(fixture.facade.ToKnxValue(serialized, 16, group));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Facade_ToKnxValue_BitSize16_Plain);

void BM_Facade_ToKnxValue_Dpt_16_000(benchmark::State& state) {
  Facade fixture;
  const std::string serialized = "10.7:Hello KNX";
  KnxStack::GroupValue group;
  for (auto _ : state) {
    KNXDPT dpt{112, 16, 0};
    benchmark::DoNotOptimize(fixture.facade.ToKnxValue(dpt, serialized, group));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Facade_ToKnxValue_Dpt_16_000);

void BM_Facade_FromKnxValue_16Bit_Internal(benchmark::State& state) {
  Facade fixture;
  const unsigned char raw[] = {0x0C, 0x33};
  const KnxStack::GroupValue group(KnxStack::BinaryData(raw, 2), 16);
  std::string serialized;
  for (auto _ : state) {
    benchmark::DoNotOptimize(fixture.facade.FromKnxValue(group, serialized, true));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Facade_FromKnxValue_16Bit_Internal);

}  // namespace
