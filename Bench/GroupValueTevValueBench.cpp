// The direct conversion by object-model DPT number. CheckGroupValue, and so every decode,
// builds and fills a whole DPT table per call; compare with BM_Init_FreshConverter.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "QuorObjectModel/DptNumber.h"
#include "QuorObjectModel/GroupValueTevValue.h"

namespace {

struct DirectCase {
  unsigned long dpt;
  TEVVALUE value;
  std::vector<unsigned char> raw;
  unsigned int bitSize;
};

DirectCase Case_1_001() {
  TEVVALUE value(tvtBoolean);
  value.value.boolValue = true;
  return {Quor::DptNumber(1, 1), value, {0x01}, 1};
}

DirectCase Case_9_001() {
  TEVVALUE value(tvtFloat);
  value.value.doubleValue = 21.5;
  return {Quor::DptNumber(9, 1), value, {0x0C, 0x33}, 16};
}

DirectCase Case_16_000() {
  TEVVALUE value(tvtString);
  value.stringValue = "Hello KNX";
  return {Quor::DptNumber(16, 0),
          value,
          {'H', 'e', 'l', 'l', 'o', ' ', 'K', 'N', 'X', 0, 0, 0, 0, 0},
          112};
}

KnxStack::GroupValue GroupOf(const DirectCase& c) {
  return KnxStack::GroupValue(
      KnxStack::BinaryData(c.raw.data(), static_cast<unsigned int>(c.raw.size())), c.bitSize);
}

template <DirectCase (*MakeCase)()>
void BM_Direct_TevValueToGroupValue(benchmark::State& state) {
  const DirectCase c = MakeCase();
  if (!Quor::TevValueToGroupValue(c.value, c.dpt)) {
    state.SkipWithError("conversion refused");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(Quor::TevValueToGroupValue(c.value, c.dpt));
  }
}

template <DirectCase (*MakeCase)()>
void BM_Direct_GroupValueToTevValue(benchmark::State& state) {
  const DirectCase c = MakeCase();
  const KnxStack::GroupValue group = GroupOf(c);
  if (!Quor::GroupValueToTevValue(group, c.dpt)) {
    state.SkipWithError("conversion refused");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(Quor::GroupValueToTevValue(group, c.dpt));
  }
}

template <DirectCase (*MakeCase)()>
void BM_Direct_CheckGroupValue(benchmark::State& state) {
  const DirectCase c = MakeCase();
  const KnxStack::GroupValue group = GroupOf(c);
  for (auto _ : state) {
    benchmark::DoNotOptimize(Quor::CheckGroupValue(group, c.dpt));
  }
}

#define QUOR_DIRECT_BENCH(suffix)                                   \
  BENCHMARK_TEMPLATE(BM_Direct_TevValueToGroupValue, Case_##suffix) \
      ->Name("BM_Direct_TevValueToGroupValue/" #suffix);            \
  BENCHMARK_TEMPLATE(BM_Direct_GroupValueToTevValue, Case_##suffix) \
      ->Name("BM_Direct_GroupValueToTevValue/" #suffix);            \
  BENCHMARK_TEMPLATE(BM_Direct_CheckGroupValue, Case_##suffix)      \
      ->Name("BM_Direct_CheckGroupValue/" #suffix)

QUOR_DIRECT_BENCH(1_001);
QUOR_DIRECT_BENCH(9_001);
QUOR_DIRECT_BENCH(16_000);

}  // namespace
