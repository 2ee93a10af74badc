#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "QuorObjectModel/KnxConverter.h"
#include "Support/LogCapture.h"
#include "TestValues.h"

namespace {

using namespace TextDateTest;
using QuorTest::LogCapture;
using testing::ElementsAre;
using testing::Pair;
using testing::StartsWith;

constexpr int kDebug = log4cplus::DEBUG_LOG_LEVEL;
constexpr int kInfo = log4cplus::INFO_LOG_LEVEL;
constexpr int kError = log4cplus::ERROR_LOG_LEVEL;

const Quor::IntegerRange kAsciiWindow{0, 127, 0, 127, 1.0};
const Quor::IntegerRange kLatin1Window{0, 255, 0, 255, 1.0};

const std::string kEAcute = "\xC3\xA9";

// --- UTF-8 to single bytes, seen through the 14-byte string with the Latin-1 window ---

struct WalkCase {
  const char* name;
  std::string utf8;
  Bytes expected;  // before the zero padding to 14 bytes
};

TEST(SingleByteWalk, FoldsTwoByteSequencesAndPassesEverythingElse) {
  const WalkCase cases[] = {
      {"ascii", "Ab", {0x41, 0x62}},
      {"two-byte e acute", "A\xC3\xA9", {0x41, 0xE9}},
      {"largest two-byte", "\xDF\xBF", {0xFF}},
      {"two-byte below 0x80", "\xC1\x81", {0x41}},
      {"lead before non-continuation", "\xC3\x41", {0xC1}},
      {"truncated lead at the end", "\xC3\xBC\xC3", {0xFC, 0xC3}},
      {"lone truncated lead", "\xC3", {0xC3}},
      {"three-byte euro", "\xE2\x82\xAC", {0xE2, 0x82, 0xAC}},
      {"four-byte emoji", "\xF0\x9F\x98\x80", {0xF0, 0x9F, 0x98, 0x80}},
      {"stops at the first zero", std::string("A\0B", 3), {0x41}},
      {"lead before the zero", std::string("\xC3\0\xA9", 3), {0xC3}},
      {"empty", "", {}},
  };
  const Quor::KnxConverter14ByteString converter(kLatin1Window);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    KnxStack::GroupValue group;
    ASSERT_TRUE(converter.ToKnxValue(KNXDPT{112, 16, 1}, MakeString(c.utf8), group));
    Bytes expected = c.expected;
    expected.resize(14, 0x00);
    EXPECT_EQ(RawBytes(group), expected);
    EXPECT_EQ(group.GetDefinedSize(), 112u);
  }
}

// --- DPT 4.x ---

TEST(Char8Bit, AsciiRefusesNonAsciiCharacter) {
  const Quor::KnxConverter8BitString converter(kAsciiWindow);
  LogCapture capture;
  KnxStack::GroupValue group;
  EXPECT_FALSE(converter.ToKnxValue(KNXDPT{8, 4, 1}, MakeString(kEAcute), group));
  const auto lines = capture.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].first, kDebug);
  EXPECT_THAT(lines[0].second, StartsWith("DPT is used. DPT = 4.1 tvt=10 val="));
  EXPECT_EQ(lines[1], std::make_pair(kError, std::string("Value out of raw range [0..127] "
                                                         "for DPT 4.001: 233")));
}

TEST(Char8Bit, Latin1SendsOneByteAndReceivesTwoByteUtf8) {
  const Quor::KnxConverter8BitString converter(kLatin1Window);
  KnxStack::GroupValue group;
  ASSERT_TRUE(converter.ToKnxValue(KNXDPT{8, 4, 2}, MakeString(kEAcute + "tc"), group));
  EXPECT_EQ(RawBytes(group), Bytes{0xE9});
  EXPECT_EQ(group.GetDefinedSize(), 8u);

  TEVVALUE value(tvtString);
  ASSERT_TRUE(converter.FromKnxValue(KNXDPT{8, 4, 2}, group, value));
  EXPECT_EQ(value.tvt, tvtString);
  EXPECT_EQ(value.stringValue, kEAcute);
}

TEST(Char8Bit, EmptyTextSendsZero) {
  const Quor::KnxConverter8BitString converter(kAsciiWindow);
  KnxStack::GroupValue group;
  ASSERT_TRUE(converter.ToKnxValue(KNXDPT{8, 4, 1}, MakeString(""), group));
  EXPECT_EQ(RawBytes(group), Bytes{0x00});
}

TEST(Char8Bit, AsciiReceivesOneCharacterAndRefusesHighByte) {
  const Quor::KnxConverter8BitString converter(kAsciiWindow);
  TEVVALUE value(tvtString);
  ASSERT_TRUE(converter.FromKnxValue(KNXDPT{8, 4, 1}, MakeGroup({0x00}, 8), value));
  EXPECT_EQ(value.stringValue, std::string(1, '\0'));

  LogCapture capture;
  value.stringValue = "kept";
  EXPECT_FALSE(converter.FromKnxValue(KNXDPT{8, 4, 1}, MakeGroup({0x80}, 8), value));
  EXPECT_TRUE(capture.Contains(kError, "Value out of raw range [0..127] for DPT 4.001: 128"));
  EXPECT_EQ(value.stringValue, "kept");
}

TEST(Char8Bit, StrictChecks) {
  const Quor::KnxConverter8BitString converter(kLatin1Window);
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  KnxStack::GroupValue group;
  TEVVALUE wrongType(tvtByte);
  EXPECT_FALSE(converter.ToKnxValue(KNXDPT{8, 4, 2}, wrongType, group));
  EXPECT_FALSE(converter.ToKnxValue(KNXDPT{8, 5, 2}, MakeString("a"), group));
  TEVVALUE value(tvtString);
  EXPECT_FALSE(converter.FromKnxValue(KNXDPT{8, 5, 2}, MakeGroup({0x41}, 8), value));
  EXPECT_THAT(
      capture.Lines(),
      ElementsAre(Pair(kError, "Wrong tev value type (tvtString) or DPT main number (4.x)!"),
                  Pair(kError, "Wrong tev value type (tvtString) or DPT main number (4.x)!"),
                  Pair(kError, "Wrong DPT main number (4.x)!")));
}

// --- DPT 16.x ---

TEST(String14Byte, AsciiWindowReplacesEachConvertedByteOutside) {
  const Quor::KnxConverter14ByteString converter(kAsciiWindow);
  KnxStack::GroupValue group;
  ASSERT_TRUE(converter.ToKnxValue(KNXDPT{112, 16, 0},
                                   MakeString("Gr\xC3\xBC\xC3\x9F"
                                              "e"),
                                   group));
  EXPECT_EQ(group.GetAsString14(), "Gr__e");
}

TEST(String14Byte, ReceivedLatin1OutsideAsciiWindowBecomesTwoUnderscores) {
  const Quor::KnxConverter14ByteString converter(kAsciiWindow);
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  TEVVALUE value(tvtString);
  ASSERT_TRUE(
      converter.FromKnxValue(KNXDPT{112, 16, 0}, MakeGroup({'G', 'r', 0xFC, 'n'}, 112), value));
  EXPECT_EQ(value.tvt, tvtString);
  EXPECT_EQ(value.stringValue, "Gr__n");
  EXPECT_THAT(
      capture.Lines(),
      ElementsAre(Pair(kInfo, "Invalid characters for DPT 16.0 has been replaced with _.")));
}

TEST(String14Byte, ReceivedLatin1InsideLatin1WindowBecomesUtf8Silently) {
  const Quor::KnxConverter14ByteString converter(kLatin1Window);
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  TEVVALUE value(tvtString);
  ASSERT_TRUE(
      converter.FromKnxValue(KNXDPT{112, 16, 1}, MakeGroup({'G', 'r', 0xFC, 'n'}, 112), value));
  EXPECT_EQ(value.stringValue, "Gr\xC3\xBCn");
  EXPECT_TRUE(capture.Lines().empty());
}

TEST(String14Byte, PermissiveToKnxAndStrictFromKnxChecks) {
  const Quor::KnxConverter14ByteString converter(kAsciiWindow);
  LogCapture capture(log4cplus::INFO_LOG_LEVEL);
  KnxStack::GroupValue group;
  // Either the main number or the value type is enough.
  EXPECT_TRUE(converter.ToKnxValue(KNXDPT{112, 4, 0}, MakeString("a"), group));
  TEVVALUE byteValue(tvtByte);
  EXPECT_TRUE(converter.ToKnxValue(KNXDPT{112, 16, 0}, byteValue, group));
  EXPECT_FALSE(converter.ToKnxValue(KNXDPT{112, 4, 0}, byteValue, group));
  TEVVALUE value(tvtString);
  EXPECT_FALSE(converter.FromKnxValue(KNXDPT{112, 4, 0}, MakeGroup({'a'}, 112), value));
  EXPECT_THAT(
      capture.Lines(),
      ElementsAre(Pair(kError, "Wrong DPT main number (16.x) or tev value type (tvtString)!"),
                  Pair(kError, "Wrong DPT main number (16.x)!")));
}

}  // namespace
