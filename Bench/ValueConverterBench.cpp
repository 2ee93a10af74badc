// Cost of filling the DPT table (done once per received value by the direct conversion)
// against its floor of 53 allocations, and of table conversions of common DPTs.

#include <benchmark/benchmark.h>

#include <array>
#include <new>

#include <QuorHelper/Logging.h>
#include <log4cplus/logger.h>

#include "QuorObjectModel/KnxValueConverter.h"

namespace {

// Logging off, as in production with the default level: the paths must not build text.
const bool kLoggingOff = [] {
  log4cplus::Logger logger = Quor::GetGlobalDefaultLogger();
  logger.setLogLevel(log4cplus::OFF_LOG_LEVEL);
  return true;
}();

constexpr std::size_t kTableRows = 53;

void BM_InitFreshConverter(benchmark::State& state) {
  for (auto _ : state) {
    Quor::KnxValueConverter converter;
    benchmark::DoNotOptimize(converter.Init());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_InitFreshConverter);

void BM_InitAgain(benchmark::State& state) {
  Quor::KnxValueConverter converter;
  converter.Init();
  for (auto _ : state) {
    benchmark::DoNotOptimize(converter.Init());
  }
}
BENCHMARK(BM_InitAgain);

// The floor: one allocation and one deletion per cloned converter.
void BM_Floor53NewDelete(benchmark::State& state) {
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
BENCHMARK(BM_Floor53NewDelete);

struct Initialised {
  Initialised() { converter.Init(); }
  Quor::KnxValueConverter converter;
};

void BM_ToKnxValue_9_001(benchmark::State& state) {
  Initialised fixture;
  TEVVALUE value(tvtFloat);
  value.value.doubleValue = 21.5;
  KnxStack::GroupValue group;
  for (auto _ : state) {
    KNXDPT dpt{16, 9, 1};
    benchmark::DoNotOptimize(fixture.converter.ToKnxValue(dpt, value, group));
  }
}
BENCHMARK(BM_ToKnxValue_9_001);

void BM_FromKnxValue_9_001(benchmark::State& state) {
  Initialised fixture;
  const unsigned char raw[] = {0x0C, 0x33};
  const KnxStack::GroupValue group(KnxStack::BinaryData(raw, 2), 16);
  TEVVALUE value;
  for (auto _ : state) {
    KNXDPT dpt{16, 9, 1};
    benchmark::DoNotOptimize(fixture.converter.FromKnxValue(dpt, group, value));
  }
}
BENCHMARK(BM_FromKnxValue_9_001);

void BM_ToKnxValue_1_001(benchmark::State& state) {
  Initialised fixture;
  TEVVALUE value(tvtBoolean);
  value.value.boolValue = true;
  KnxStack::GroupValue group;
  for (auto _ : state) {
    KNXDPT dpt{1, 1, 1};
    benchmark::DoNotOptimize(fixture.converter.ToKnxValue(dpt, value, group));
  }
}
BENCHMARK(BM_ToKnxValue_1_001);

void BM_FromKnxValue_1_001(benchmark::State& state) {
  Initialised fixture;
  const unsigned char raw[] = {0x01};
  const KnxStack::GroupValue group(KnxStack::BinaryData(raw, 1), 1);
  TEVVALUE value;
  for (auto _ : state) {
    KNXDPT dpt{1, 1, 1};
    benchmark::DoNotOptimize(fixture.converter.FromKnxValue(dpt, group, value));
  }
}
BENCHMARK(BM_FromKnxValue_1_001);

}  // namespace
