#include <gtest/gtest.h>

#include "QuorObjectModel/KnxConverter.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace {

using namespace QuorTest;

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
