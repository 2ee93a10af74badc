// The conversion core against fake converters: lookups, registration, default DPTs,
// type compatibility, bit sizes and exception handling.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "FakeConverter.h"
#include "QuorObjectModel/KnxValueConverter.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace {

using QuorTest::ConverterProbe;
using QuorTest::FakeConverter;
using QuorTest::Float;
using QuorTest::Group;
using QuorTest::LogCapture;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

constexpr int kInfo = log4cplus::INFO_LOG_LEVEL;
constexpr int kError = log4cplus::ERROR_LOG_LEVEL;

bool SameDpt(const KNXDPT& a, const KNXDPT& b) {
  return a.bitSize == b.bitSize && a.mainNumber == b.mainNumber && a.subNumber == b.subNumber;
}

// A converter with a few fake rows; each row's probe shows what reached its converter.
class CoreTest : public ::testing::Test {
 protected:
  void Add(unsigned short main, unsigned short sub, unsigned char bits, TevValueType tvt,
           ConverterProbe& probe, TevDP::TevValueSubType tst = TevDP::tstGeneric) {
    ASSERT_TRUE(converter.AddDptValueMapEntry(main, sub, bits, tvt, tst, FakeConverter(probe)));
  }

  Quor::KnxValueConverter converter;
};

// ---------------------------------------------------------------------------------------
// Lookup

class LookupTest : public CoreTest {
 protected:
  void SetUp() override {
    Add(9, 0, 16, tvtFloat, nineX);
    Add(9, 1, 16, tvtFloat, nineOne, TevDP::tstPhysicalFloat);
    Add(5, 6, 8, tvtByte, fiveSix);  // no 5.x
  }
  ConverterProbe nineX, nineOne, fiveSix;
};

TEST_F(LookupTest, OwnEntryMainXFallbackAndMainZeroFindEntriesSilently) {
  LogCapture capture;
  EXPECT_EQ(converter.GetEntry(KNXDPT{16, 9, 1}).tst, TevDP::tstPhysicalFloat);
  EXPECT_EQ(converter.GetEntry(KNXDPT{16, 9, 30}).dpt.subNumber, 0);
  EXPECT_EQ(converter.GetEntry(KNXDPT{16, 9, 0}).dpt.subNumber, 0);
  EXPECT_EQ(converter.GetEntry(KNXDPT{8, 5, 6}).dpt.mainNumber, 5);
  EXPECT_THAT(capture.Lines(), IsEmpty());
}

struct MissTest {
  KNXDPT dpt;
  const char* line;
};

TEST_F(LookupTest, MissesLogTheirOwnLineAndGiveTheNotFoundEntry) {
  const MissTest misses[] = {
      {{8, 99, 5}, "No Entry found for DPT = 99.5"},  // main number without entries
      {{8, 5, 0}, "No Entry found for DPT = 5.0"},    // main.0 requested, only 5.6 there
      {{8, 5, 7}, "No Entry found for DPT = 5.x"},    // no own entry, no main.x either
  };
  for (const MissTest& miss : misses) {
    LogCapture capture;
    const Quor::DptValueEntry& entry = converter.GetEntry(miss.dpt);
    EXPECT_THAT(capture.Lines(), ElementsAre(Pair(kError, miss.line)));
    EXPECT_TRUE(SameDpt(entry.dpt, KNXDPT{0, 0, 0}));
    EXPECT_EQ(entry.tvt, tvtEmpty);
    EXPECT_EQ(entry.tst, TevDP::tstGeneric);
    EXPECT_NE(dynamic_cast<const Quor::KnxConverterDefault*>(entry.converter.get()), nullptr);
  }
}

TEST_F(LookupTest, NotFoundEntryIsOneProcessWideObject) {
  const Quor::DptValueEntry& first = converter.GetEntry(KNXDPT{8, 99, 5});
  const Quor::KnxValueConverter other;
  EXPECT_EQ(&other.GetEntry(KNXDPT{1, 1, 1}), &first);
}

// Registration in any order, at main numbers on both sides of 256 and at the extremes:
// every entry is found by its own DPT, its main.x entry stands in for other sub numbers,
// and main numbers in between find nothing.
TEST_F(CoreTest, LookupsFindEntriesRegisteredInAnyOrderAtAnyMainNumber) {
  const std::pair<unsigned short, unsigned short> keys[] = {
      {300, 2}, {7, 0}, {65535, 65535}, {255, 0},   {256, 0}, {1, 1},   {300, 0},
      {0, 0},   {7, 5}, {256, 9},       {65535, 0}, {2, 0},   {255, 3},
  };
  ConverterProbe probe;
  for (const auto& [main, sub] : keys) {
    Add(main, sub, 8, tvtByte, probe);
  }
  const auto& entries = converter.GetMap().GetEntries();
  ASSERT_EQ(entries.size(), std::size(keys));
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return std::make_pair(a.dpt.mainNumber, a.dpt.subNumber) <
           std::make_pair(b.dpt.mainNumber, b.dpt.subNumber);
  }));

  LogCapture capture;
  for (const auto& [main, sub] : keys) {
    const Quor::DptValueEntry& entry = converter.GetEntry(KNXDPT{8, main, sub});
    EXPECT_EQ(entry.dpt.mainNumber, main);
    EXPECT_EQ(entry.dpt.subNumber, sub);
    EXPECT_TRUE(converter.GetMap().Contains(main, sub));
  }
  for (const unsigned short main : {7, 255, 256, 300, 65535}) {
    EXPECT_EQ(converter.GetEntry(KNXDPT{8, main, 4}).dpt.mainNumber, main);
    EXPECT_EQ(converter.GetEntry(KNXDPT{8, main, 4}).dpt.subNumber, 0);
  }
  EXPECT_THAT(capture.Lines(), IsEmpty());

  for (const unsigned short main : {3, 6, 8, 254, 257, 299, 301, 65534}) {
    EXPECT_EQ(converter.GetEntry(KNXDPT{8, main, 1}).tvt, tvtEmpty) << main;
    EXPECT_FALSE(converter.GetMap().Contains(main, 0)) << main;
  }
  EXPECT_EQ(converter.GetEntry(KNXDPT{8, 1, 2}).tvt, tvtEmpty);  // 1.1 only, no 1.x
}

// ---------------------------------------------------------------------------------------
// Registration

// A held entry survives registrations before it and past the map's inline room.
TEST_F(LookupTest, EntriesStayWhereTheyAreAcrossRegistrations) {
  const Quor::DptValueEntry& nine = converter.GetEntry(KNXDPT{16, 9, 1});
  const Quor::KnxConverter* const held = nine.converter.get();
  ConverterProbe probe;
  for (unsigned short main = 1; main <= Quor::DptValueMap::kInlineEntries + 10; ++main) {
    Add(main, 2, 8, tvtByte, probe);
  }
  EXPECT_EQ(&converter.GetEntry(KNXDPT{16, 9, 1}), &nine);
  EXPECT_EQ(nine.dpt.subNumber, 1);
  EXPECT_EQ(nine.converter.get(), held);
  EXPECT_EQ(converter.GetEntry(KNXDPT{8, 70, 2}).dpt.mainNumber, 70);
}

TEST_F(CoreTest, FirstRegistrationWinsAndDuplicateReportsSuccess) {
  ConverterProbe first, second;
  Add(9, 1, 16, tvtFloat, first, TevDP::tstPhysicalFloat);
  EXPECT_TRUE(
      converter.AddDptValueMapEntry(9, 1, 8, tvtByte, TevDP::tstGeneric, FakeConverter(second)));
  EXPECT_EQ(converter.GetMap().Size(), 1u);
  const Quor::DptValueEntry& entry = converter.GetEntry(KNXDPT{16, 9, 1});
  EXPECT_TRUE(SameDpt(entry.dpt, KNXDPT{16, 9, 1}));
  EXPECT_EQ(entry.tvt, tvtFloat);
  EXPECT_EQ(entry.tst, TevDP::tstPhysicalFloat);

  KNXDPT dpt{16, 9, 1};
  KnxStack::GroupValue group;
  EXPECT_TRUE(converter.ToKnxValue(dpt, Float(1.0), group));
  EXPECT_EQ(first.toCalls, 1);
  EXPECT_EQ(second.toCalls, 0);
}

TEST_F(CoreTest, MapKeepsItsOwnCloneAndCopiesCloneAgain) {
  ConverterProbe probe;
  {
    const FakeConverter prototype(probe);
    ASSERT_TRUE(converter.AddDptValueMapEntry(9, 0, 16, tvtFloat, TevDP::tstGeneric, prototype));
  }  // the prototype is gone; the entry owns its clone
  EXPECT_EQ(probe.clones, 1);
  const Quor::DptValueEntry copy = converter.GetEntry(KNXDPT{16, 9, 0});
  EXPECT_EQ(probe.clones, 2);
  EXPECT_NE(copy.converter.get(), converter.GetEntry(KNXDPT{16, 9, 0}).converter.get());
}

TEST_F(CoreTest, EntryRegisteredAsEmptyBehavesAsMissing) {
  ConverterProbe probe;
  Add(7, 0, 16, tvtEmpty, probe);
  LogCapture capture;
  KNXDPT dpt{16, 7, 1};
  KnxStack::GroupValue group;
  EXPECT_TRUE(converter.ToKnxValue(dpt, TEVVALUE(tvtWord), group));
  EXPECT_THAT(capture.Lines(), ElementsAre(Pair(kError, "No Entry found for DPT = 7.1"),
                                           Pair(kError, "Assume validity and accept value!")));
  EXPECT_EQ(probe.toCalls, 0);
}

// ---------------------------------------------------------------------------------------
// Missing main type: both directions accept

TEST_F(CoreTest, MissingMainTypeToKnxAcceptsAndLeavesGroupUntouched) {
  LogCapture capture;
  KNXDPT dpt{8, 99, 5};
  const KnxStack::GroupValue before = Group({0x12, 0x34}, 16);
  KnxStack::GroupValue group = before;
  EXPECT_TRUE(converter.ToKnxValue(dpt, Float(1.5), group));
  EXPECT_EQ(group, before);
  EXPECT_THAT(capture.Lines(), ElementsAre(Pair(kError, "No Entry found for DPT = 99.5"),
                                           Pair(kError, "No Entry found for DPT = 99.5"),
                                           Pair(kError, "Assume validity and accept value!")));
}

TEST_F(CoreTest, MissingMainTypeFromKnxAcceptsAsEmptyAndKeepsStorage) {
  LogCapture capture;
  KNXDPT dpt{8, 99, 5};
  TEVVALUE value = Float(2.5);
  EXPECT_TRUE(converter.FromKnxValue(dpt, Group({0x01}, 8), value));
  EXPECT_EQ(value.tvt, tvtEmpty);
  EXPECT_EQ(value.value.doubleValue, 2.5);
  EXPECT_THAT(capture.Lines(), ElementsAre(Pair(kError, "No Entry found for DPT = 99.5"),
                                           Pair(kError, "No Entry found for DPT = 99.5"),
                                           Pair(kError, "Assume validity and accept value!")));
}

// ---------------------------------------------------------------------------------------
// Default DPTs

struct DefaultByValueTypeCase {
  TevValueType tvt;
  unsigned char incomingBits;
  std::optional<KNXDPT> expected;
};

TEST_F(CoreTest, DefaultDptByValueTypeFollowsItsTable) {
  const DefaultByValueTypeCase cases[] = {
      {tvtBoolean, 0, KNXDPT{1, 1, 1}},     {tvtBoolean, 64, KNXDPT{1, 1, 1}},
      {tvtDimStep, 8, KNXDPT{4, 3, 7}},     {tvtByte, 16, KNXDPT{8, 5, 0}},
      {tvtPercent, 0, KNXDPT{8, 5, 1}},     {tvtFloat, 0, KNXDPT{16, 9, 0}},
      {tvtFloat, 4, KNXDPT{4, 3, 0}},       {tvtFloat, 8, KNXDPT{8, 5, 1}},
      {tvtFloat, 16, KNXDPT{16, 9, 0}},     {tvtFloat, 32, KNXDPT{32, 14, 0}},
      {tvtTime, 1, KNXDPT{24, 10, 1}},      {tvtDate, 0, KNXDPT{24, 11, 1}},
      {tvtDWord, 8, KNXDPT{32, 12, 1}},     {tvtInteger, 0, KNXDPT{32, 13, 0}},
      {tvtInteger, 8, KNXDPT{8, 6, 0}},     {tvtInteger, 16, KNXDPT{16, 8, 0}},
      {tvtType14, 0, KNXDPT{32, 13, 100}},  {tvtType9, 0, KNXDPT{40, 218, 0}},
      {tvtDateTime, 24, KNXDPT{64, 19, 1}}, {tvtString, 0, KNXDPT{112, 16, 1}},
      {tvtString, 8, KNXDPT{8, 4, 1}},      {tvtString, 112, KNXDPT{112, 16, 0}},
      {tvtFloat, 24, std::nullopt},         {tvtInteger, 32, std::nullopt},
      {tvtString, 16, std::nullopt},        {tvtWord, 16, std::nullopt},
      {tvtEmpty, 8, std::nullopt},          {tvtInvalid, 1, std::nullopt},
      {tvtDayTime, 24, std::nullopt},
  };
  for (const DefaultByValueTypeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "tvt=" << c.tvt << " bits=" << int{c.incomingBits});
    KNXDPT dpt{c.incomingBits, 0, 42};
    EXPECT_EQ(converter.GetDefaultMappingDptForValueType(dpt, TEVVALUE(c.tvt)),
              c.expected.has_value());
    EXPECT_TRUE(SameDpt(dpt, c.expected.value_or(KNXDPT{c.incomingBits, 0, 42})));
  }
}

TEST_F(CoreTest, DefaultDptBySizeFollowsItsTable) {
  const std::pair<unsigned char, std::optional<KNXDPT>> cases[] = {
      {1, KNXDPT{1, 1, 1}},    {2, KNXDPT{2, 2, 1}},      {4, KNXDPT{4, 3, 7}},
      {8, KNXDPT{8, 5, 0}},    {16, KNXDPT{16, 9, 0}},    {24, KNXDPT{24, 10, 1}},
      {32, KNXDPT{32, 14, 0}}, {40, KNXDPT{40, 218, 0}},  {48, KNXDPT{48, 219, 1}},
      {64, KNXDPT{64, 19, 1}}, {112, KNXDPT{112, 16, 1}}, {0, std::nullopt},
      {3, std::nullopt},       {6, std::nullopt},         {7, std::nullopt},
      {128, std::nullopt},
  };
  for (const auto& [bits, expected] : cases) {
    SCOPED_TRACE(testing::Message() << "bits=" << int{bits});
    KNXDPT dpt{bits, 0, 42};
    EXPECT_EQ(converter.GetDefaultMappingDptForSize(dpt), expected.has_value());
    EXPECT_TRUE(SameDpt(dpt, expected.value_or(KNXDPT{bits, 0, 42})));
  }
}

TEST_F(CoreTest, ToKnxWithoutDptWritesTheChosenDefaultBack) {
  ConverterProbe oneX, sixteenX;
  Add(1, 0, 1, tvtBoolean, oneX);
  Add(16, 0, 112, tvtString, sixteenX);
  KnxStack::GroupValue group;

  KNXDPT boolean{0, 0, 0};
  EXPECT_TRUE(converter.ToKnxValue(boolean, TEVVALUE(tvtBoolean), group));
  EXPECT_TRUE(SameDpt(boolean, KNXDPT{1, 1, 1}));
  EXPECT_TRUE(SameDpt(oneX.lastDpt, KNXDPT{1, 1, 1}));

  KNXDPT text{112, 0, 0};
  EXPECT_TRUE(converter.ToKnxValue(text, TEVVALUE(tvtString), group));
  EXPECT_TRUE(SameDpt(text, KNXDPT{112, 16, 0}));
}

TEST_F(CoreTest, ToKnxWithoutDptFallsBackToTheBitSize) {
  ConverterProbe nineX;
  Add(9, 0, 16, tvtFloat, nineX);
  KNXDPT dpt{16, 0, 0};
  KnxStack::GroupValue group;
  EXPECT_TRUE(converter.ToKnxValue(dpt, TEVVALUE(tvtInvalid), group));
  EXPECT_TRUE(SameDpt(dpt, KNXDPT{16, 9, 0}));
  EXPECT_EQ(nineX.toCalls, 1);
}

TEST_F(CoreTest, ToKnxWithoutAnyDefaultIsRefusedAtInfo) {
  LogCapture capture;
  KNXDPT dpt{3, 0, 0};
  KnxStack::GroupValue group;
  EXPECT_FALSE(converter.ToKnxValue(dpt, TEVVALUE(tvtEmpty), group));
  EXPECT_THAT(capture.Lines(), ElementsAre(Pair(kInfo, "Could not find DPT for bit size 3")));
}

TEST_F(CoreTest, FromKnxWithoutDptOrSizeTakesTheGroupSize) {
  ConverterProbe nineX;
  Add(9, 0, 16, tvtFloat, nineX);
  KNXDPT dpt{0, 0, 0};
  TEVVALUE value;
  EXPECT_TRUE(converter.FromKnxValue(dpt, Group({0x0C, 0x33}, 16), value));
  EXPECT_TRUE(SameDpt(dpt, KNXDPT{16, 9, 0}));
  EXPECT_EQ(nineX.fromCalls, 1);
  EXPECT_EQ(value.tvt, tvtFloat);
}

TEST_F(CoreTest, FromKnxWithoutDptAndSizeWithoutDefaultIsRefused) {
  const KnxStack::GroupValue group = Group({0x7F}, 7);
  LogCapture capture;
  KNXDPT dpt{0, 0, 0};
  TEVVALUE value;
  EXPECT_FALSE(converter.FromKnxValue(dpt, group, value));
  EXPECT_TRUE(SameDpt(dpt, KNXDPT{0, 0, 0}));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError, "Convert from KNX value failed. Missing DPT. GroupValue = " +
                                           group.GetRawData().ToString())));
}

TEST_F(CoreTest, FromKnxWithGivenSizeWithoutDefaultIsRefusedAtInfo) {
  LogCapture capture;
  KNXDPT dpt{6, 0, 0};
  TEVVALUE value;
  EXPECT_FALSE(converter.FromKnxValue(dpt, Group({0x3F}, 6), value));
  EXPECT_THAT(capture.Lines(), ElementsAre(Pair(kInfo, "Could not find DPT for bit size 6")));
}

// ---------------------------------------------------------------------------------------
// Type compatibility

struct CompatibilityCase {
  TevValueType valueType;
  TevValueType entryType;
  bool compatible;
};

TEST_F(CoreTest, CompatibilityFollowsItsTableAndIsNotSymmetric) {
  const CompatibilityCase cases[] = {
      {tvtFloat, tvtPercent, true},     {tvtPercent, tvtFloat, true},
      {tvtType1039, tvtType1005, true}, {tvtDimStep, tvtFloat, true},
      {tvtFloat, tvtInteger, false},    {tvtInteger, tvtType14, true},
      {tvtType14, tvtInteger, true},    {tvtInteger, tvtByte, false},
      {tvtByte, tvtType1021, true},     {tvtByte, tvtInteger, false},
      {tvtWord, tvtDWord, true},        {tvtDWord, tvtType20, true},
      {tvtType20, tvtWord, true},       {tvtWord, tvtInteger, false},
      {tvtDate, tvtType105, true},      {tvtDate, tvtDateTime, false},
      {tvtDate, tvtTime, false},        {tvtTime, tvtType104, true},
      {tvtTime, tvtDateTime, false},    {tvtDateTime, tvtDate, true},
      {tvtDateTime, tvtTime, true},     {tvtType102, tvtType104, true},
      {tvtType201, tvtType105, true},   {tvtDateTime, tvtDayTime, false},
      {tvtBoolean, tvtBoolean, true},   {tvtBoolean, tvtByte, false},
      {tvtString, tvtString, true},     {tvtType5, tvtType5, true},
      {tvtType5, tvtInteger, false},    {tvtInvalid, tvtFloat, false},
      {tvtEmpty, tvtEmpty, true},       {tvtDayTime, tvtTime, false},
  };
  for (const CompatibilityCase& c : cases) {
    EXPECT_EQ(converter.AreValueTypesCompatible(c.valueType, c.entryType), c.compatible)
        << c.valueType << " for " << c.entryType;
  }
}

TEST_F(CoreTest, IncompatibleValueTypeIsRefused) {
  ConverterProbe nineteen;
  Add(19, 0, 64, tvtDateTime, nineteen);
  LogCapture capture;
  KNXDPT dpt{64, 19, 1};
  KnxStack::GroupValue group;
  EXPECT_FALSE(converter.ToKnxValue(dpt, TEVVALUE(tvtDate), group));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError, "Invalid value type found for DPT = 19.1 val.tvt=11")));
  EXPECT_EQ(nineteen.toCalls, 0);
}

TEST_F(CoreTest, CompatibleForeignTypeAndInvalidValueReachTheConverter) {
  ConverterProbe eleven, one;
  Add(11, 0, 24, tvtDate, eleven);
  Add(1, 0, 1, tvtBoolean, one);
  KnxStack::GroupValue group;
  KNXDPT date{24, 11, 1};
  EXPECT_TRUE(converter.ToKnxValue(date, TEVVALUE(tvtDateTime), group));
  EXPECT_EQ(eleven.lastTvt, tvtDateTime);
  KNXDPT boolean{1, 1, 1};
  EXPECT_TRUE(converter.ToKnxValue(boolean, TEVVALUE(tvtInvalid), group));
  EXPECT_EQ(one.lastTvt, tvtInvalid);
}

// ---------------------------------------------------------------------------------------
// Bit sizes

TEST(BitSizeOfMainTypeTest, TableEdgesAndGaps) {
  const std::pair<unsigned int, unsigned int> cases[] = {
      {0, 0},
      {1, 1},
      {2, 2},
      {3, 4},
      {9, 16},
      {16, 112},
      {24, Quor::VariableBitSize},
      {28, Quor::VariableBitSize},
      {31, 3},
      {32, 0},
      {199, 0},
      {200, 9},
      {208, 0},
      {219, 48},
      {226, 0},
      {232, 24},
      {236, 8},
      {241, 32},
      {242, 0},
      {65535, 0},
  };
  for (const auto& [main, bits] : cases) {
    EXPECT_EQ(Quor::BitSizeOfMainType(main), bits) << "main " << main;
  }
}

TEST_F(CoreTest, SixBitGroupValueIsReadWithTheMainTypesSize) {
  ConverterProbe oneX;
  Add(1, 0, 1, tvtBoolean, oneX);
  const KnxStack::GroupValue sixBits = Group({0x01}, 6);
  KNXDPT dpt{1, 1, 1};
  TEVVALUE value;
  EXPECT_TRUE(converter.FromKnxValue(dpt, sixBits, value));
  EXPECT_EQ(oneX.lastGroup.GetDefinedSize(), 1u);
  EXPECT_EQ(oneX.lastGroup.GetRawData(), sixBits.GetRawData());
}

TEST_F(CoreTest, SmallGroupValueOfOtherSizeIsPassedOnUnchanged) {
  ConverterProbe oneX;
  Add(1, 0, 1, tvtBoolean, oneX);
  const KnxStack::GroupValue fourBits = Group({0x01}, 4);
  KNXDPT dpt{1, 1, 1};
  TEVVALUE value;
  EXPECT_TRUE(converter.FromKnxValue(dpt, fourBits, value));
  EXPECT_EQ(oneX.lastGroup, fourBits);
}

TEST_F(CoreTest, UnexpectedBitSizeIsRefusedAfterTheTypeIsSet) {
  ConverterProbe fiveX;
  Add(5, 0, 8, tvtByte, fiveX);
  LogCapture capture;
  KNXDPT dpt{8, 5, 1};
  TEVVALUE value = Float(7.25);
  EXPECT_FALSE(converter.FromKnxValue(dpt, Group({0x00, 0x01}, 16), value));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError,
                               "Failed to convert a GroupValue for DPT 5.1 because of unexpected "
                               "bit size: 16, expected: 8")));
  EXPECT_EQ(value.tvt, tvtByte);
  EXPECT_EQ(value.value.doubleValue, 7.25);
  EXPECT_EQ(fiveX.fromCalls, 0);
}

TEST_F(CoreTest, VariableLengthMainTypeTakesAnySize) {
  ConverterProbe variable;
  Add(24, 0, 0, tvtString, variable);
  KNXDPT dpt{0, 24, 1};
  TEVVALUE value;
  EXPECT_TRUE(converter.FromKnxValue(dpt, Group({'a', 'b', 'c', 0}, 32), value));
  EXPECT_EQ(variable.fromCalls, 1);
}

// ---------------------------------------------------------------------------------------
// Converter results, missing converters, exceptions

TEST_F(CoreTest, ConverterRefusalAddsTheCoresLine) {
  ConverterProbe nineOne;
  nineOne.result = false;
  Add(9, 1, 16, tvtFloat, nineOne);
  const KnxStack::GroupValue group = Group({0x0C, 0x33}, 16);
  const TEVVALUE value = Float(21.5);
  LogCapture capture;
  KNXDPT dpt{16, 9, 1};
  KnxStack::GroupValue out;
  EXPECT_FALSE(converter.ToKnxValue(dpt, value, out));
  TEVVALUE back;
  EXPECT_FALSE(converter.FromKnxValue(dpt, group, back));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError, "Convert to KNX value failed for DPT = 9.1 val = " +
                                           value.ToString()),
                          Pair(kError, "Convert from KNX value failed for DPT = 9.1 GroupValue = " +
                                           group.GetRawData().ToString())));
}

TEST_F(CoreTest, MissingConverterIsRefusedBothWays) {
  ConverterProbe nullClone;
  nullClone.cloneToNull = true;
  Add(3, 0, 4, tvtFloat, nullClone);
  LogCapture capture;
  KNXDPT dpt{4, 3, 7};
  KnxStack::GroupValue group;
  EXPECT_FALSE(converter.ToKnxValue(dpt, Float(1.0), group));
  TEVVALUE value;
  EXPECT_FALSE(converter.FromKnxValue(dpt, Group({0x09}, 4), value));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError, "NULL pointer as KnxConverter for DPT = 3.7"),
                          Pair(kError, "NULL pointer as KnxConverter for DPT = 3.7")));
}

TEST_F(CoreTest, GroupValueExceptionTowardsKnxIsLoggedAndAccepted) {
  ConverterProbe nineOne;
  nineOne.throws = ConverterProbe::Throw::GroupValueException;
  Add(9, 1, 16, tvtFloat, nineOne);
  LogCapture capture;
  KNXDPT dpt{16, 9, 1};
  KnxStack::GroupValue group;
  EXPECT_TRUE(converter.ToKnxValue(dpt, Float(21.5), group));
  EXPECT_THAT(capture.Lines(), ElementsAre(Pair(kError,
                                                "Exception caught during conversion of TEVVALUE to "
                                                "GroupValue: raw data too short")));
}

TEST_F(CoreTest, GroupValueExceptionFromKnxIsLoggedWithDptAndValueAndRefused) {
  ConverterProbe nineOne;
  nineOne.throws = ConverterProbe::Throw::GroupValueException;
  Add(9, 1, 16, tvtFloat, nineOne);
  LogCapture capture;
  KNXDPT dpt{16, 9, 1};
  TEVVALUE value = Float(21.5);
  EXPECT_FALSE(converter.FromKnxValue(dpt, Group({0x0C}, 16), value));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError,
                               "Exception caught during conversion of GroupValue: raw "
                               "data too short(DPT: 9.1, Value: " +
                                   value.ToString() + ")")));
}

TEST_F(CoreTest, OtherExceptionsPassToTheCaller) {
  ConverterProbe nineOne;
  nineOne.throws = ConverterProbe::Throw::OtherException;
  Add(9, 1, 16, tvtFloat, nineOne);
  KNXDPT dpt{16, 9, 1};
  KnxStack::GroupValue group;
  TEVVALUE value;
  EXPECT_THROW(converter.ToKnxValue(dpt, Float(1.0), group), std::logic_error);
  EXPECT_THROW(converter.FromKnxValue(dpt, Group({0x00, 0x00}, 16), value), std::logic_error);
}

}  // namespace
