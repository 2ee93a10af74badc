// Heap use of the hot paths: one allocation per cloned converter when filling the
// table, none for lookups and table conversions while logging is off.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "QuorObjectModel/KnxValueConverter.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

// GCC sees malloc behind the replaced operator new and flags the matching free (a warning of
// GCC 11 and later).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 11
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};

// Counts the allocations of everything called in between.
template <class Function>
long AllocationsOf(Function&& function) {
  g_allocations = 0;
  g_counting = true;
  function();
  g_counting = false;
  return g_allocations;
}

}  // namespace

void* operator new(std::size_t size) {
  if (g_counting) {
    ++g_allocations;
  }
  if (void* block = std::malloc(size == 0 ? 1 : size)) {
    return block;
  }
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}

namespace {

using namespace QuorTest;

TEST(AllocationTest, InitAllocatesOnlyTheConvertersClones) {
  Quor::KnxValueConverter converter;
  EXPECT_EQ(AllocationsOf([&] { converter.Init(); }), 53);
  EXPECT_EQ(AllocationsOf([&] { converter.Init(); }), 53);
}

TEST(AllocationTest, LookupsAndConversionsDoNotAllocateWhileLoggingIsOff) {
  Quor::KnxValueConverter converter;
  converter.Init();
  const LogCapture loggingOff(log4cplus::OFF_LOG_LEVEL);
  const TEVVALUE temperature = Float(21.5);
  const KnxStack::GroupValue received = Group({0x0C, 0x33}, 16);
  const TEVVALUE on = Boolean(true);
  TEVVALUE value;
  KnxStack::GroupValue group;
  converter.GetEntry(KNXDPT{8, 99, 5});  // the not-found entry exists from now on

  EXPECT_EQ(AllocationsOf([&] {
              converter.GetEntry(KNXDPT{16, 9, 30});
              converter.GetEntry(KNXDPT{8, 5, 0});
              KNXDPT dpt{16, 9, 1};
              converter.ToKnxValue(dpt, temperature, group);
              converter.FromKnxValue(dpt, received, value);
              KNXDPT boolean{1, 1, 1};
              converter.ToKnxValue(boolean, on, group);
              converter.FromKnxValue(boolean, group, value);
              KNXDPT missing{8, 99, 5};
              converter.ToKnxValue(missing, on, group);
            }),
            0);
}

}  // namespace
