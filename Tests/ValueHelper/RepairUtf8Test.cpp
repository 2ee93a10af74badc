#include <string>

#include <gtest/gtest.h>
#include <utf8.h>

#include <Quor/TevValueHelper.h>

namespace {

using testing::PrintToString;

TEST(RepairUTF8, ReplacesEachBadSequenceByOneQuestionMark) {
  const struct {
    std::string in;
    std::string out;
  } rows[] = {
      // clang-format off
      {"", ""},
      {std::string("a\0b", 3), std::string("a\0b", 3)},  // NUL is valid text
      {"\xC3\xA9", "\xC3\xA9"},                          // two bytes
      {"\xE2\x82\xAC", "\xE2\x82\xAC"},                  // three bytes
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},          // four bytes
      {"a\xFF" "b", "a?b"},
      {"a\xC3", "a?"},                // two-byte lead cut off at the end
      {"\xC3" "b", "?b"},             // two-byte lead without its trail
      {"\xC3\xC3\xA9", "?\xC3\xA9"},  // lead, then a whole sequence
      {"\xE2\x82", "?"},              // three-byte sequence cut off at the end
      {"\xE2\x82" "x", "?x"},
      {"\xF0\x9F\x98", "?"},          // four-byte sequence cut off at the end
      {"\x80\x80", "??"},             // trails without a lead
      {"\xC0\xAF", "?"},              // overlong
      {"\xED\xA0\x80", "?"},          // surrogate
      {"\xF8\x88\x80\x80\x80", "?????"},
      {"\xE2\x82\xAC\xFF\xE2\x82\xAC", "\xE2\x82\xAC?\xE2\x82\xAC"},
      // Only the NUL appended for the repair is taken off again.
      {std::string("\xFF\0", 2), std::string("?\0", 2)},
      // clang-format on
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Quor::RepairUTF8(row.in).str(), row.out) << PrintToString(row.in);
  }
}

TEST(RepairUTF8, AnySingleByteOrBytePairGivesValidText) {
  for (int first = 0; first < 256; ++first) {
    const std::string single(1, static_cast<char>(first));
    EXPECT_EQ(Quor::RepairUTF8(single).str(), first < 0x80 ? single : "?") << first;
    for (int second = 0; second < 256; ++second) {
      const std::string pair{static_cast<char>(first), static_cast<char>(second)};
      const std::string repaired = Quor::RepairUTF8(pair).str();
      ASSERT_TRUE(utf8::is_valid(repaired.begin(), repaired.end())) << PrintToString(pair);
      ASSERT_LE(repaired.size(), 2u) << PrintToString(pair);
    }
  }
}

}  // namespace
