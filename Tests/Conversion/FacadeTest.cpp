// The facade for serialised values: default DPTs by value type or bit size.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QuorObjectModel/KnxValueConverter.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace {

using namespace QuorTest;
constexpr bool kInternal = true;
constexpr bool kPlain = false;

class FacadeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(facade.Init()); }
  Quor::QuorKnxValueConverter facade;
};

// From KNX into text: the DPT comes from the bit size alone.
TEST_F(FacadeTest, FromKnxSerialisesTheDefaultDptsValue) {
  const std::string missing = "No Entry found for DPT = 219.1";
  // clang-format off
  const struct {
    Bytes bytes;
    unsigned int bits;
    bool internalFormat;
    bool ok;
    std::string text;
    Lines lines;
  } cases[] = {
      {{0x0C, 0x33}, 16, kPlain, true, "21.5", {}},  // 9.000
      {{0x0C, 0x33}, 16, kInternal, true, "3.7:21.5", {}},
      {{0xC8}, 8, kInternal, true, "6.7:200", {}},  // 5.000
      {{0x01}, 1, kPlain, true, "true", {}},  // 1.001 through the 1.x row
      {{0x7F, 0xFF}, 16, kPlain, true, "invalid", {}},  // 9.000, the invalid pattern
      {{0x3F}, 6, kPlain, false, "untouched", {Info("Could not find DPT for bit size 6")}},
      {{0x0C, 0x33}, 144, kPlain, false, "untouched", {Info("Could not find DPT for bit size 144")}},  // not 16
      {{0x12}, 0, kPlain, false, "untouched", {Error("Convert from KNX value failed. Missing DPT. GroupValue = 12")}},
      // 48 bits have a default DPT but no row: accepted as the empty value.
      {{1, 2, 3, 4, 5, 6}, 48, kInternal, true, "1.7:", {Error(missing), Error(missing), Error("Assume validity and accept value!")}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(RawText(c.bytes) + (c.internalFormat ? " internal" : " plain"));
    LogCapture capture(log4cplus::INFO_LOG_LEVEL);
    std::string text = "untouched";
    EXPECT_EQ(facade.FromKnxValue(Group(c.bytes, c.bits), text, c.internalFormat), c.ok);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(capture.Lines(), c.lines);
  }
}

TEST_F(FacadeTest, ToKnxByBitSizeChoosesTheDptFromTheValueTypeFirst) {
  const struct {
    std::string text;
    unsigned long bitSize;
    Bytes bytes;
    unsigned int bits;
  } cases[] = {
      {"true", 16, {0x01}, 1},  // 1.001 despite 16 bits
      {"2.7:false", 16, {0x00}, 1},
      {"21.5", 16, {0x0C, 0x33}, 16},  // 9.000
      {"3.7:21.5", 16, {0x0C, 0x33}, 16},
      {Serialized(Float(1.5), kInternal), 32, {0x3F, 0xC0, 0x00, 0x00}, 32},  // 14.000
      // 264 keeps its low byte, 8: a string of 8 bits is DPT 4.001.
      {Serialized(Text("A"), kInternal), 264, {0x41}, 8},
      // 256 becomes 0: a string without bit size is DPT 16.001.
      {Serialized(Text("A"), kInternal), 256, {'A', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 112},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + " bits " + std::to_string(c.bitSize));
    KnxStack::GroupValue group;
    EXPECT_TRUE(facade.ToKnxValue(c.text, c.bitSize, group));
    EXPECT_EQ(group.GetRawData().ToString(), RawText(c.bytes));
    EXPECT_EQ(group.GetDefinedSize(), c.bits);
  }
}

TEST_F(FacadeTest, ToKnxWithDptWritesTheChosenDefaultBack) {
  KNXDPT dpt{0, 0, 0};
  KnxStack::GroupValue group;
  EXPECT_TRUE(facade.ToKnxValue(dpt, Serialized(Calendar(tvtDate, 2024, 5, 17), kInternal), group));
  EXPECT_EQ(Name(dpt) + " of " + std::to_string(dpt.bitSize) + " bits", "11.1 of 24 bits");
  EXPECT_EQ(group.GetRawData().ToString(), RawText({0x11, 0x05, 0x18}));
}

// What the value library leaves of a broken text is converted: a broken internal text is an
// invalid value, which 9.001 sends as its pattern; an empty text is refused by the type check.
TEST_F(FacadeTest, ToKnxOfABrokenTextConvertsWhatDeserializeLeft) {
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  KNXDPT dpt{16, 9, 1};
  KnxStack::GroupValue group;
  EXPECT_TRUE(facade.ToKnxValue(dpt, std::string("3.7:abc"), group));
  EXPECT_EQ(group.GetRawData().ToString(), RawText({0x7F, 0xFF}));
  KnxStack::GroupValue untouched;
  EXPECT_FALSE(facade.ToKnxValue(dpt, std::string(), untouched));
  EXPECT_EQ(untouched, KnxStack::GroupValue());
  EXPECT_EQ(capture.Lines(), Lines{Error("Invalid value type found for DPT = 9.1 val.tvt=1")});
}

TEST_F(FacadeTest, TypedOverloadsForwardToTheTable) {
  KNXDPT dpt{16, 9, 1};
  KnxStack::GroupValue group;
  EXPECT_TRUE(facade.ToKnxValue(dpt, Float(21.5), group));
  EXPECT_EQ(group.GetRawData().ToString(), RawText({0x0C, 0x33}));
  TEVVALUE value;
  EXPECT_TRUE(facade.FromKnxValue(dpt, group, value));
  EXPECT_EQ(Show(value), Show(Float(21.5)));
}

}  // namespace
