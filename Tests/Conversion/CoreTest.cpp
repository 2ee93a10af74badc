// The conversion core against fake converters: lookups, registration, default DPTs,
// type compatibility, bit sizes and exception handling.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <exception>
#include <stdexcept>
#include <vector>

#include "QuorObjectModel/KnxValueConverter.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace {

using namespace QuorTest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// What the core handed a fake converter, and how its clones answer.
struct ConverterProbe {
  bool result = true;
  std::exception_ptr raise;
  bool cloneToNull = false;

  int toCalls = 0;
  int fromCalls = 0;
  int clones = 0;
  KNXDPT lastDpt{0, 0, 0};
  TevValueType lastTvt = tvtEmpty;
  KnxStack::GroupValue lastGroup;
};

class FakeConverter final : public Quor::KnxConverter {
 public:
  explicit FakeConverter(ConverterProbe& probe) : m_probe(&probe) {}

  bool ToKnxValue(const KNXDPT& dpt, const TEVVALUE& value, KnxStack::GroupValue&) override {
    ++m_probe->toCalls;
    return Answer(dpt, value);
  }
  bool FromKnxValue(const KNXDPT& dpt, const KnxStack::GroupValue& group,
                    TEVVALUE& value) override {
    ++m_probe->fromCalls;
    m_probe->lastGroup = group;
    return Answer(dpt, value);
  }
  KnxConverter* Clone() const override {
    ++m_probe->clones;
    return m_probe->cloneToNull ? nullptr : new FakeConverter(*this);
  }

 private:
  bool Answer(const KNXDPT& dpt, const TEVVALUE& value) const {
    m_probe->lastDpt = dpt;
    m_probe->lastTvt = value.tvt;
    if (m_probe->raise) {
      std::rethrow_exception(m_probe->raise);
    }
    return m_probe->result;
  }

  ConverterProbe* m_probe;
};

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
  ConverterProbe probe;
};

// Registered in any order, on both sides of the indexed main numbers and at the extremes:
// an entry is found by its own DPT, main.x stands in for other sub numbers, and the misses
// log their own line and give the not-found entry.
TEST_F(CoreTest, LookupsFindOwnEntryOrMainXAndLogMisses) {
  const std::pair<unsigned short, unsigned short> keys[] = {
      {300, 2}, {7, 0}, {65535, 65535}, {255, 0}, {256, 0},   {1, 1},
      {300, 0}, {0, 0}, {7, 5},         {256, 9}, {65535, 0}, {5, 6},
  };
  for (const auto& [main, sub] : keys) {
    Add(main, sub, 8, tvtByte, probe);
  }
  const auto entries = converter.GetMap().GetEntries();
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return std::make_pair(a.dpt.mainNumber, a.dpt.subNumber) <
           std::make_pair(b.dpt.mainNumber, b.dpt.subNumber);
  }));
  const struct {
    unsigned short main, sub, foundSub;
    const char* miss;
  } cases[] = {
      {300, 2, 2, nullptr},
      {7, 5, 5, nullptr},
      {7, 4, 0, nullptr},
      {255, 3, 0, nullptr},
      {256, 9, 9, nullptr},
      {256, 4, 0, nullptr},
      {65535, 65535, 65535, nullptr},
      {65535, 4, 0, nullptr},
      {0, 0, 0, nullptr},
      {99, 5, 0, "No Entry found for DPT = 99.5"},
      {254, 1, 0, "No Entry found for DPT = 254.1"},
      {257, 1, 0, "No Entry found for DPT = 257.1"},
      {65534, 1, 0, "No Entry found for DPT = 65534.1"},
      {5, 0, 0, "No Entry found for DPT = 5.0"},  // main.0 asked, only 5.6 there
      {5, 7, 0, "No Entry found for DPT = 5.x"},  // no own entry, no main.x either
      {1, 2, 0, "No Entry found for DPT = 1.x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.main << "." << c.sub);
    LogCapture capture;
    const Quor::DptValueEntry& entry = converter.GetEntry(KNXDPT{8, c.main, c.sub});
    EXPECT_EQ(converter.GetMap().Contains(c.main, c.sub), !c.miss && c.foundSub == c.sub);
    if (c.miss) {
      EXPECT_THAT(capture.Lines(), ElementsAre(Error(c.miss)));
      EXPECT_TRUE(SameDpt(entry.dpt, KNXDPT{0, 0, 0}));
      EXPECT_EQ(entry.tvt, tvtEmpty);
      EXPECT_NE(dynamic_cast<const Quor::KnxConverterDefault*>(entry.converter.get()), nullptr);
    } else {
      EXPECT_THAT(capture.Lines(), IsEmpty());
      EXPECT_TRUE(SameDpt(entry.dpt, KNXDPT{8, c.main, c.foundSub}));
    }
  }
}

// A held entry survives registrations before it and past the map's inline room.
TEST_F(CoreTest, EntriesStayWhereTheyAreAcrossRegistrations) {
  Add(9, 1, 16, tvtFloat, probe);
  const Quor::DptValueEntry& nine = converter.GetEntry(KNXDPT{16, 9, 1});
  const Quor::KnxConverter* const held = nine.converter.get();
  for (unsigned short main = 1; main <= Quor::DptValueMap::kInlineEntries + 10; ++main) {
    Add(main, 2, 8, tvtByte, probe);
  }
  EXPECT_EQ(&converter.GetEntry(KNXDPT{16, 9, 1}), &nine);
  EXPECT_EQ(nine.dpt.subNumber, 1);
  EXPECT_EQ(nine.converter.get(), held);
  EXPECT_EQ(converter.GetEntry(KNXDPT{8, 70, 2}).dpt.mainNumber, 70);
}

// Init() starts from an empty map: what was registered before, at main 0 too, is gone, and
// a second Init() leaves one filling.
TEST_F(CoreTest, InitStartsFromAnEmptyMap) {
  Add(0, 5, 8, tvtByte, probe);
  ASSERT_TRUE(converter.Init());
  ASSERT_TRUE(converter.Init());
  const LogCapture quiet(log4cplus::OFF_LOG_LEVEL);
  EXPECT_EQ(converter.GetEntry(KNXDPT{8, 0, 5}).tvt, tvtEmpty);
  EXPECT_EQ(converter.GetMap().Size(), 53u);
}

TEST_F(CoreTest, FirstRegistrationWinsAndTheMapOwnsItsClones) {
  ConverterProbe second;
  Add(9, 1, 16, tvtFloat, probe, TevDP::tstPhysicalFloat);
  EXPECT_TRUE(
      converter.AddDptValueMapEntry(9, 1, 8, tvtByte, TevDP::tstGeneric, FakeConverter(second)));
  EXPECT_EQ(converter.GetMap().Size(), 1u);
  EXPECT_EQ(probe.clones, 1);  // the prototype is gone; the entry owns its clone
  EXPECT_EQ(second.clones, 0);
  const Quor::DptValueEntry& entry = converter.GetEntry(KNXDPT{16, 9, 1});
  EXPECT_EQ(entry.tst, TevDP::tstPhysicalFloat);
  Quor::DptValueEntry copy = entry;
  copy = entry;
  const Quor::DptValueMap copiedMap(converter.GetMap());
  EXPECT_EQ(probe.clones, 4);  // each copy, entry or map, holds a clone of its own
  EXPECT_NE(copy.converter.get(), entry.converter.get());
  EXPECT_NE(copiedMap.GetEntries().front().converter.get(), entry.converter.get());
  EXPECT_EQ(copiedMap.GetEntries().front().tst, TevDP::tstPhysicalFloat);

  KNXDPT dpt{16, 9, 1};
  KnxStack::GroupValue group;
  EXPECT_TRUE(converter.ToKnxValue(dpt, Float(1.0), group));
  EXPECT_EQ(probe.toCalls, 1);
  EXPECT_EQ(second.toCalls, 0);
  // The map itself tells a taken DPT from a new one.
  Quor::DptValueMap map(converter.GetMap());
  EXPECT_FALSE(map.Insert(KNXDPT{8, 9, 1}, tvtByte, TevDP::tstGeneric, FakeConverter(second)));
  EXPECT_TRUE(map.Insert(KNXDPT{8, 9, 2}, tvtByte, TevDP::tstGeneric, FakeConverter(second)));
}

// Missing entries are no refusal: both directions accept, the group and storage untouched.
TEST_F(CoreTest, MissingEntriesAreAcceptedBothWays) {
  Add(7, 0, 16, tvtEmpty, probe);  // registered as empty: the same as missing
  for (const KNXDPT& asked : {KNXDPT{8, 99, 5}, KNXDPT{16, 7, 1}}) {
    const std::string miss = "No Entry found for DPT = " + Name(asked);
    LogCapture capture;
    KNXDPT dpt = asked;
    const KnxStack::GroupValue before = Group({0x12, 0x34}, 16);
    KnxStack::GroupValue group = before;
    EXPECT_TRUE(converter.ToKnxValue(dpt, Float(1.5), group));
    EXPECT_EQ(group, before);
    TEVVALUE value = Float(2.5);
    EXPECT_TRUE(converter.FromKnxValue(dpt, Group({0x01}, 8), value));
    EXPECT_EQ(value.tvt, tvtEmpty);
    EXPECT_EQ(value.value.doubleValue, 2.5);
    const Lines twice =
        asked.mainNumber == 99
            ? Lines{Error(miss), Error(miss), Error("Assume validity and accept value!")}
            : Lines{Error(miss), Error("Assume validity and accept value!")};
    Lines expected = twice;
    expected.insert(expected.end(), twice.begin(), twice.end());
    EXPECT_EQ(capture.Lines(), expected);
  }
  EXPECT_EQ(probe.toCalls + probe.fromCalls, 0);
}

// Main number 0: the default DPT is chosen, written back and used; without one, refused.
TEST_F(CoreTest, ConversionsWithoutDptChooseTheDefault) {
  ConverterProbe oneX, nineX;
  Add(1, 0, 1, tvtBoolean, oneX);
  Add(9, 0, 16, tvtFloat, nineX);
  Add(16, 0, 112, tvtString, probe);
  KnxStack::GroupValue group;
  const struct {
    KNXDPT dpt;
    TevValueType tvt;
    KNXDPT chosen;
  } towardsKnx[] = {
      {{0, 0, 0}, tvtBoolean, {1, 1, 1}},
      {{112, 0, 0}, tvtString, {112, 16, 0}},
      {{16, 0, 0}, tvtInvalid, {16, 9, 0}},  // no default for the type: by bit size
  };
  for (const auto& c : towardsKnx) {
    KNXDPT dpt = c.dpt;
    EXPECT_TRUE(converter.ToKnxValue(dpt, TEVVALUE(c.tvt), group));
    EXPECT_TRUE(SameDpt(dpt, c.chosen));
  }
  EXPECT_TRUE(SameDpt(oneX.lastDpt, KNXDPT{1, 1, 1}));

  KNXDPT fromKnx{0, 0, 0};
  TEVVALUE value;
  EXPECT_TRUE(converter.FromKnxValue(fromKnx, Group({0x0C, 0x33}, 16), value));
  EXPECT_TRUE(SameDpt(fromKnx, KNXDPT{16, 9, 0}));
  EXPECT_EQ(nineX.fromCalls, 1);

  // A size without a default DPT is refused; the facade's tests show received ones.
  LogCapture capture;
  KNXDPT three{3, 0, 0};
  EXPECT_FALSE(converter.ToKnxValue(three, TEVVALUE(tvtEmpty), group));
  EXPECT_TRUE(SameDpt(three, KNXDPT{3, 0, 0}));
  EXPECT_EQ(capture.Lines(), Lines{Info("Could not find DPT for bit size 3")});
}

// The whole relation is a table of its own (Tests/Tables); here, what the conversion does with it.
TEST_F(CoreTest, CompatibleTypesReachTheConverter) {
  ConverterProbe eleven, one;
  Add(19, 0, 64, tvtDateTime, probe);
  Add(11, 0, 24, tvtDate, eleven);
  Add(1, 0, 1, tvtBoolean, one);
  KnxStack::GroupValue group;
  // A compatible foreign type and an invalid value reach the converter.
  KNXDPT date{24, 11, 1};
  EXPECT_TRUE(converter.ToKnxValue(date, TEVVALUE(tvtDateTime), group));
  EXPECT_EQ(eleven.lastTvt, tvtDateTime);
  KNXDPT boolean{1, 1, 1};
  EXPECT_TRUE(converter.ToKnxValue(boolean, TEVVALUE(tvtInvalid), group));
  EXPECT_EQ(one.lastTvt, tvtInvalid);
  LogCapture capture;
  KNXDPT dateTime{64, 19, 1};
  EXPECT_FALSE(converter.ToKnxValue(dateTime, TEVVALUE(tvtDate), group));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Error("Invalid value type found for DPT = 19.1 val.tvt=11")));
  EXPECT_EQ(probe.toCalls, 0);
}

// Received sizes: six bits read as the main type's size, other small sizes passed on, a
// variable-length main type takes any size; the filled table's rows show the refusals.
TEST_F(CoreTest, ReceivedBitSizes) {
  ConverterProbe oneX, variable;
  Add(1, 0, 1, tvtBoolean, oneX);
  Add(24, 0, 0, tvtString, variable);
  KNXDPT boolean{1, 1, 1};
  TEVVALUE value;
  const KnxStack::GroupValue sixBits = Group({0x01}, 6);
  EXPECT_TRUE(converter.FromKnxValue(boolean, sixBits, value));
  EXPECT_EQ(oneX.lastGroup.GetDefinedSize(), 1u);
  EXPECT_EQ(oneX.lastGroup.GetRawData(), sixBits.GetRawData());
  const KnxStack::GroupValue fourBits = Group({0x01}, 4);
  EXPECT_TRUE(converter.FromKnxValue(boolean, fourBits, value));
  EXPECT_EQ(oneX.lastGroup, fourBits);
  KNXDPT text{0, 24, 1};
  EXPECT_TRUE(converter.FromKnxValue(text, Group({'a', 'b', 'c', 0}, 32), value));
  EXPECT_EQ(variable.fromCalls, 1);
}

// What a converter's refusal, a missing converter and the converter's exceptions become.
TEST_F(CoreTest, ConverterFailures) {
  const KnxStack::GroupValue group = Group({0x0C, 0x33}, 16);
  const TEVVALUE value = Float(21.5);
  const std::string raw = group.GetRawData().ToString();
  const struct {
    const char* what;
    std::exception_ptr raise;
    bool result, cloneToNull, accepted;
    Lines lines;
  } cases[] = {
      // clang-format off
      {"refusal", nullptr, false, false, false,
       {Error("Convert to KNX value failed for DPT = 9.1 val = " + value.ToString()),
        Error("Convert from KNX value failed for DPT = 9.1 GroupValue = " + raw)}},
      {"no converter", nullptr, true, true, false,
       {Error("NULL pointer as KnxConverter for DPT = 9.1"), Error("NULL pointer as KnxConverter for DPT = 9.1")}},
      // Towards the KNX a stack exception is accepted, from the KNX refused.
      {"stack exception", std::make_exception_ptr(KnxStack::GroupValueException("raw data too short")), true, false, true,
       {Error("Exception caught during conversion of TEVVALUE to GroupValue: raw data too short"),
        Error("Exception caught during conversion of GroupValue: raw data too short(DPT: 9.1, Value: " + value.ToString() + ")")}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Quor::KnxValueConverter fresh;
    ConverterProbe nineOne;
    nineOne.result = c.result;
    nineOne.raise = c.raise;
    nineOne.cloneToNull = c.cloneToNull;
    ASSERT_TRUE(
        fresh.AddDptValueMapEntry(9, 1, 16, tvtFloat, TevDP::tstGeneric, FakeConverter(nineOne)));
    LogCapture capture;
    KNXDPT dpt{16, 9, 1};
    KnxStack::GroupValue out;
    EXPECT_EQ(fresh.ToKnxValue(dpt, value, out), c.accepted);
    TEVVALUE back = value;
    EXPECT_FALSE(fresh.FromKnxValue(dpt, group, back));
    EXPECT_EQ(capture.Lines(), c.lines);
  }
  // Other exceptions pass to the caller.
  probe.raise = std::make_exception_ptr(std::logic_error("not a group value fault"));
  Add(9, 1, 16, tvtFloat, probe);
  KNXDPT dpt{16, 9, 1};
  KnxStack::GroupValue out;
  TEVVALUE back;
  EXPECT_THROW(converter.ToKnxValue(dpt, value, out), std::logic_error);
  EXPECT_THROW(converter.FromKnxValue(dpt, group, back), std::logic_error);
}

}  // namespace
