#include <gtest/gtest.h>

#include "QuorObjectModel/KnxConverter.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace {

using namespace QuorTest;

const Quor::IntegerRange kAscii{0, 127, 0, 127, 1.0};
const Quor::IntegerRange kLatin1{0, 255, 0, 255, 1.0};

TEST(SingleByteWalk, FoldsTwoByteSequencesAndPassesEverythingElse) {
  const struct {
    std::string utf8;
    Bytes expected;  // before the zero padding to 14 bytes
  } rows[] = {
      {"A\xC3\xA9", {0x41, 0xE9}},
      {"\xDF\xBF", {0xFF}},
      {"\xC3\x41", {0xC1}},                    // lead before a non-continuation byte
      {"\xC3\xBC\xC3", {0xFC, 0xC3}},          // truncated lead at the end comes through
      {std::string("\xC3\0\xA9", 3), {0xC3}},  // the walk stops at the first zero
      {"\xE2\x82\xAC", {0xE2, 0x82, 0xAC}},
      {"\xF0\x9F\x98\x80", {0xF0, 0x9F, 0x98, 0x80}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.expected));
    KnxStack::GroupValue group;
    ASSERT_TRUE(
        Quor::KnxConverter14ByteString(kLatin1).ToKnxValue({112, 16, 1}, Text(row.utf8), group));
    Bytes expected = row.expected;
    expected.resize(14, 0x00);
    EXPECT_EQ(RawBytes(group), expected);
  }
}

TEST(Char8Bit, AsciiRefusesNonAsciiLatin1PassesIt) {
  QuorTest::LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  KnxStack::GroupValue group;
  TEVVALUE value(tvtString);
  EXPECT_FALSE(Quor::KnxConverter8BitString(kAscii).ToKnxValue({8, 4, 1}, Text("\xC3\xA9"), group));
  EXPECT_FALSE(
      Quor::KnxConverter8BitString(kAscii).FromKnxValue({8, 4, 1}, Group({0x80}, 8), value));
  EXPECT_EQ(capture.Lines(), (Lines{Error("Value out of raw range [0..127] for DPT 4.001: 233"),
                                    Error("Value out of raw range [0..127] for DPT 4.001: 128")}));

  Quor::KnxConverter8BitString latin1(kLatin1);
  ASSERT_TRUE(latin1.ToKnxValue({8, 4, 2}, Text("\xC3\xA9tc"), group));
  EXPECT_EQ(RawBytes(group), Bytes{0xE9});
  ASSERT_TRUE(latin1.FromKnxValue({8, 4, 2}, group, value));
  EXPECT_EQ(value.stringValue, "\xC3\xA9");
}

TEST(String14Byte, BytesOutsideTheWindowBecomeUnderscores) {
  QuorTest::LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  Quor::KnxConverter14ByteString ascii(kAscii);
  KnxStack::GroupValue group;
  ASSERT_TRUE(ascii.ToKnxValue({112, 16, 0},
                               Text("Gr\xC3\xBC\xC3\x9F"
                                    "e"),
                               group));
  EXPECT_EQ(group.GetAsString14(), "Gr__e");
  EXPECT_TRUE(capture.Lines().empty());  // sending replaces silently

  TEVVALUE value(tvtString);
  ASSERT_TRUE(ascii.FromKnxValue({112, 16, 0}, Group({'G', 'r', 0xFC, 'n'}, 112), value));
  EXPECT_EQ(value.stringValue, "Gr__n");
  EXPECT_EQ(capture.Lines(),
            (Lines{{log4cplus::INFO_LOG_LEVEL,
                    "Invalid characters for DPT 16.0 has been replaced with _."}}));

  capture.Clear();
  ASSERT_TRUE(Quor::KnxConverter14ByteString(kLatin1).FromKnxValue(
      {112, 16, 1}, Group({'G', 'r', 0xFC, 'n'}, 112), value));
  EXPECT_EQ(value.stringValue, "Gr\xC3\xBCn");
  EXPECT_TRUE(capture.Lines().empty());
}

TEST(String14Byte, PermissiveToKnxStrictFromKnx) {
  QuorTest::LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  Quor::KnxConverter14ByteString strings(kLatin1);
  KnxStack::GroupValue group;
  TEVVALUE value(tvtByte);
  EXPECT_TRUE(strings.ToKnxValue({112, 16, 0}, value, group));  // either condition suffices
  EXPECT_FALSE(strings.ToKnxValue({112, 4, 0}, value, group));
  EXPECT_FALSE(strings.FromKnxValue({112, 4, 0}, Group({0x41}, 112), value));
  EXPECT_EQ(capture.Lines(),
            (Lines{Error("Wrong DPT main number (16.x) or tev value type (tvtString)!"),
                   Error("Wrong DPT main number (16.x)!")}));
}

}  // namespace
