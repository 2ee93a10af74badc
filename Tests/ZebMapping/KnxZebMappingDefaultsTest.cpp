#include <string>

#include <gtest/gtest.h>

#include <boost/optional.hpp>
#include <boost/optional/optional_io.hpp>

#include "QuorObjectModel/KnxZebMappingDefaults.h"
#include "Support/ScopedTimeZone.h"
#include "Support/Values.h"

namespace {

using namespace Quor::KnxZebMapping;
using namespace QuorTest;

TEVVALUE DateTime1900() {
  // 1900 is before the first second a 32-bit mktime counts: it answers -1.
  TEVVALUE value(tvtDateTime);
  value.value.timeValue = -1L;
  return value;
}

// One row per kind of default, the odd ones among them; the dates are local times and read
// back the same in any zone.
TEST(MainTypeTable, EachKindOfDefault) {
  for (const char* zoneName : {kUtcZone, kCentralEuropeZone}) {
    const ScopedTimeZone zone(zoneName);
    const struct {
      unsigned long dpt;
      const char* tvtName;
      const char* tstName;
      TEVVALUE expected;
    } rows[] = {
        {0x10001, "Boolean", "SubType2001", Boolean(false)},
        {0x60014, "Byte", "SubType9", Byte(1)},  // 6.020 (status with mode) starts at 1
        {0x60015, "Byte", "SubType9", Byte(0)},
        {0x80001, "Integer", "SubType12", Integer(0)},
        {0x9001C, "Float", "Generic", Float(0.0)},
        {0xEA0001, "Word", "Generic", Word(23130)},  // 234.x
        {0xF0001, "DWord", "Generic", DWord(0)},
        {0x100001, "String", "Generic", Text("")},
        {0x40001, "Empty", "Generic", TEVVALUE()},
        {0xE60001, "Empty", "Generic", TEVVALUE()},  // 230.x
        {0xA0001, "DayTime", "Generic", DayTime(0, 0, 0, 0)},
        {0xB0001, "Date", "Generic", Calendar(tvtDate, 1990, 1, 1)},
        {0x130001, "DateTime", "Generic", DateTime1900()},
    };
    for (const auto& row : rows) {
      SCOPED_TRACE(testing::Message() << std::hex << row.dpt << " in " << zoneName);
      EXPECT_EQ(GetTvtFromMainType(row.dpt >> 16), row.tvtName);
      EXPECT_EQ(GetTstFromMainType(row.dpt >> 16), row.tstName);
      EXPECT_EQ(GetTvtFromDpt(static_cast<unsigned int>(row.dpt)), row.expected.tvt);
      for (const bool internalFormat : {false, true}) {
        EXPECT_EQ(GetDefaultValueFromDpt(row.dpt, internalFormat),
                  boost::make_optional(Serialized(row.expected, internalFormat)));
      }
    }
  }
}

TEST(MainTypeTable, MissingRowsFallBack) {
  for (const unsigned long main : {0ul, 32ul, 199ul, 203ul, 239ul, 300ul, 0xFFFFul}) {
    EXPECT_EQ(GetTvtFromMainType(main), "Empty") << main;
    EXPECT_EQ(GetTstFromMainType(main), "Generic") << main;
    EXPECT_EQ(GetTvtFromDpt(static_cast<unsigned int>(main << 16 | 1)), tvtEmpty) << main;
    EXPECT_EQ(GetDefaultValueFromDpt(main << 16 | 1, false), boost::none) << main;
  }
  // DPT numbers and main types are 32 bits wide: the device cannot hold more, and a wider
  // host reads the same low 32 bits.
  const auto wide = [](unsigned long long n) { return static_cast<unsigned long>(n); };
  EXPECT_EQ(GetDefaultValueFromDpt(wide(0x100010001), false),
            GetDefaultValueFromDpt(0x10001, false));
  EXPECT_EQ(GetTvtFromMainType(wide(0x100000009)), GetTvtFromMainType(9));
}

TEST(CreateDefaultValueEmptyDeathTest, AnyOtherTypeEndsTheProcess) {
  EXPECT_TRUE(Same(TEVVALUE(), CreateDefaultValueEmpty(tvtEmpty)));
  EXPECT_DEATH(CreateDefaultValueEmpty(tvtByte),
               "CreateDefaultValueEmpty .*KnxZebMappingDefaults\\.cpp:[0-9]+ "
               "QUOR_ASSERT2\\(emptyTevValue\\.tvt == tvt\\) failed");
}

}  // namespace
