#include <set>
#include <string>

#include <gtest/gtest.h>

#include <boost/optional.hpp>
#include <boost/optional/optional_io.hpp>

#include "QuorObjectModel/KnxZebMappingDefaults.h"
#include "Support/ScopedTimeZone.h"

namespace {

using namespace Quor::KnxZebMapping;
using TevDP::tstGeneric;
using TevDP::tstType12;
using TevDP::tstType2001;
using TevDP::tstType9;

enum class Default {
  Boolean,
  Byte,
  Word,
  Word5A5A,
  DWord,
  Integer,
  Float,
  Empty,
  TimeOfDay,
  Date1990,
  DateTime1900,
  Text
};

// The default value as it should come out, built without the library's helpers.
TEVVALUE Expected(Default kind, TevValueType tvt) {
  TEVVALUE value(tvt);
  switch (kind) {
    case Default::Boolean:
      value.value.boolValue = false;
      break;
    case Default::Byte:
      value.value.byteValue = 0;
      break;
    case Default::Word:
      value.value.wordValue = 0;
      break;
    case Default::Word5A5A:
      value.value.wordValue = 23130;
      break;
    case Default::DWord:
      value.value.dwordValue = 0;
      break;
    case Default::Integer:
      value.value.intValue = 0;
      break;
    case Default::Float:
      value.value.doubleValue = 0.0;
      break;
    case Default::Empty:
      return TEVVALUE();
    case Default::TimeOfDay:
      value.value.timeValue.Clear(false);
      value.value.timeValue.year = 2000;
      value.value.timeValue.month = 1;
      value.value.timeValue.day = 1;
      value.value.timeValue.kind = 1;
      break;
    case Default::Date1990:
      value.value.timeValue.SetDateTime(1990, 1, 1, 0, 0, 0, true);
      break;
    case Default::DateTime1900:
      // 1900 is before the first second a 32-bit mktime counts: it answers -1.
      value.value.timeValue = -1L;
      break;
    case Default::Text:
      break;
  }
  return value;
}

std::string Serialized(const TEVVALUE& value, bool internalFormat) {
  std::string text;
  value.Serialize(text, internalFormat);
  return text;
}

struct Row {
  unsigned long mainType;
  TevValueType tvt;
  TevDP::TevValueSubType tst;
  Default kind;
};

const Row kRows[] = {
    {1, tvtBoolean, tstType2001, Default::Boolean},
    {2, tvtByte, tstGeneric, Default::Byte},
    {3, tvtByte, tstGeneric, Default::Byte},
    {4, tvtEmpty, tstGeneric, Default::Empty},
    {5, tvtByte, tstGeneric, Default::Byte},
    {6, tvtByte, tstType9, Default::Byte},
    {7, tvtWord, tstGeneric, Default::Word},
    {8, tvtInteger, tstType12, Default::Integer},
    {9, tvtFloat, tstGeneric, Default::Float},
    {10, tvtDayTime, tstGeneric, Default::TimeOfDay},
    {11, tvtDate, tstGeneric, Default::Date1990},
    {12, tvtDWord, tstGeneric, Default::DWord},
    {13, tvtInteger, tstGeneric, Default::Integer},
    {14, tvtFloat, tstGeneric, Default::Float},
    {15, tvtDWord, tstGeneric, Default::DWord},
    {16, tvtString, tstGeneric, Default::Text},
    {17, tvtByte, tstGeneric, Default::Byte},
    {18, tvtByte, tstGeneric, Default::Byte},
    {19, tvtDateTime, tstGeneric, Default::DateTime1900},
    {20, tvtByte, tstGeneric, Default::Byte},
    {21, tvtByte, tstGeneric, Default::Byte},
    {22, tvtWord, tstGeneric, Default::Word},
    {23, tvtByte, tstGeneric, Default::Byte},
    {24, tvtString, tstGeneric, Default::Text},
    {25, tvtByte, tstGeneric, Default::Byte},
    {26, tvtByte, tstGeneric, Default::Byte},
    {27, tvtDWord, tstGeneric, Default::DWord},
    {28, tvtString, tstGeneric, Default::Text},
    {29, tvtEmpty, tstGeneric, Default::Empty},
    {30, tvtDWord, tstGeneric, Default::DWord},
    {31, tvtByte, tstGeneric, Default::Byte},
    {200, tvtWord, tstGeneric, Default::Word},
    {201, tvtWord, tstGeneric, Default::Word},
    {202, tvtWord, tstGeneric, Default::Word},
    {217, tvtWord, tstGeneric, Default::Word},
    {219, tvtEmpty, tstGeneric, Default::Empty},
    {222, tvtEmpty, tstGeneric, Default::Empty},
    {229, tvtEmpty, tstGeneric, Default::Empty},
    {230, tvtEmpty, tstGeneric, Default::Empty},
    {232, tvtDWord, tstGeneric, Default::DWord},
    {234, tvtWord, tstGeneric, Default::Word5A5A},
    {237, tvtWord, tstGeneric, Default::Word},
    {238, tvtByte, tstGeneric, Default::Byte},
};

TEST(MainTypeTable, EveryRow) {
  ASSERT_EQ(std::size(kRows), 43u);
  // The dates are local times; they read back the same in any zone.
  for (const char* zoneName : {QuorTest::kUtcZone, QuorTest::kCentralEuropeZone}) {
    const QuorTest::ScopedTimeZone zone(zoneName);
    for (const Row& row : kRows) {
      SCOPED_TRACE(testing::Message() << "main type " << row.mainType << " in " << zoneName);
      const unsigned int dpt = static_cast<unsigned int>(row.mainType << 16 | 1);
      EXPECT_EQ(GetTvtFromMainType(row.mainType), TEVVALUE::GetNameFromValueType(row.tvt));
      EXPECT_EQ(GetTstFromMainType(row.mainType), TevDP::GetNameFromValueSubType(row.tst));
      EXPECT_EQ(GetTvtFromDpt(dpt), row.tvt);
      const TEVVALUE expected = Expected(row.kind, row.tvt);
      for (const bool internalFormat : {false, true}) {
        EXPECT_EQ(GetDefaultValueFromDpt(dpt, internalFormat),
                  boost::make_optional(Serialized(expected, internalFormat)));
      }
    }
  }
}

TEST(MainTypeTable, NoOtherMainTypeHasARow) {
  std::set<unsigned long> listed;
  for (const Row& row : kRows) {
    listed.insert(row.mainType);
  }
  for (unsigned long mainType = 0; mainType <= 0xFFFF; ++mainType) {
    if (listed.count(mainType) != 0) {
      continue;
    }
    const unsigned long dpt = mainType << 16;
    ASSERT_EQ(GetDefaultValueFromDpt(dpt, true), boost::none) << mainType;
    ASSERT_EQ(GetTvtFromDpt(static_cast<unsigned int>(dpt)), tvtEmpty) << mainType;
  }
}

TEST(MainTypeTable, MissingRowsFallBack) {
  EXPECT_EQ(GetTvtFromMainType(300), "Empty");
  EXPECT_EQ(GetTstFromMainType(300), "Generic");
  EXPECT_EQ(GetTvtFromDpt(0x200000), tvtEmpty);  // 32.000
  EXPECT_EQ(GetDefaultValueFromDpt(0x200001, false), boost::none);
  EXPECT_EQ(GetDefaultValueFromDpt(0x0001, false), boost::none);  // main type 0
  // DPT numbers and main types are 32 bits wide: the device cannot hold more, and a wider
  // host reads the same low 32 bits.
  const auto wide = [](unsigned long long n) { return static_cast<unsigned long>(n); };
  EXPECT_EQ(GetDefaultValueFromDpt(wide(0x100010001), false),
            GetDefaultValueFromDpt(0x10001, false));
  EXPECT_EQ(GetTvtFromMainType(wide(0x100000009)), GetTvtFromMainType(9));
}

TEST(MainTypeTable, OnlyTheMainTypeCounts) {
  EXPECT_EQ(GetTvtFromDpt(0x90001), GetTvtFromDpt(0x9001C));  // 9.001, 9.028
  EXPECT_EQ(GetDefaultValueFromDpt(0x90001, true), GetDefaultValueFromDpt(0x9001C, true));
  EXPECT_EQ(GetDefaultValueFromDpt(0x9FFFF, false), boost::make_optional(std::string("0")));
}

TEST(MainTypeTable, StatusWithModeStartsAtOne) {
  EXPECT_EQ(GetDefaultValueFromDpt(0x60014, false), boost::make_optional(std::string("1")));
  TEVVALUE one(tvtByte);
  one.value.byteValue = 1;
  EXPECT_EQ(GetDefaultValueFromDpt(0x60014, true), Serialized(one, true));
  for (const unsigned long otherOf6 : {0x60001ul, 0x60010ul, 0x60013ul, 0x60015ul}) {
    EXPECT_EQ(GetDefaultValueFromDpt(otherOf6, false), boost::make_optional(std::string("0")))
        << std::hex << otherOf6;
  }
  EXPECT_EQ(GetDefaultValueFromDpt(0xEA0001, false), boost::make_optional(std::string("23130")));
}

TEST(CreateDefaultValueEmpty, GivesTheDefaultValue) {
  const TEVVALUE empty = CreateDefaultValueEmpty(tvtEmpty);
  EXPECT_EQ(empty.tvt, tvtEmpty);
  EXPECT_EQ(empty.state, TEVVALUE().state);
  EXPECT_EQ(Serialized(empty, true), Serialized(TEVVALUE(), true));
}

TEST(CreateDefaultValueEmptyDeathTest, AnyOtherTypeEndsTheProcess) {
  EXPECT_DEATH(CreateDefaultValueEmpty(tvtByte),
               "CreateDefaultValueEmpty .*KnxZebMappingDefaults\\.cpp:[0-9]+ "
               "QUOR_ASSERT2\\(emptyTevValue\\.tvt == tvt\\) failed");
}

}  // namespace
