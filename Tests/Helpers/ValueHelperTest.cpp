// The public value helpers: TEVVALUE construction, UTF-8 repair, duration logging and the
// unreachable marker.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utf8.h>
#include <boost/chrono/duration.hpp>
#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/date_time/posix_time/posix_time.hpp>
#include <boost/optional.hpp>

#include <Quor/MeasureDuration.h>
#include <Quor/SourceFile.h>
#include <Quor/TevValueHelper.h>
#include <Quor/Unreachable.h>

#include "QuorObjectModel/TimeOfDay.h"
#include "Support/LogCapture.h"
#include "Support/ScopedTimeZone.h"
#include "Support/Values.h"

namespace {

using boost::gregorian::date;
using boost::posix_time::ptime;
using boost::posix_time::time_duration;

using namespace QuorTest;
using testing::MatchesRegex;
using testing::PrintToString;

TEST(ToTevValue, NumbersTakeTheirNaturalTypeStateAndStorage) {
  const std::pair<TEVVALUE, TEVVALUE> cases[] = {
      {Quor::ToTevValue<bool>(true, tvtBoolean), Boolean(true)},
      {Quor::ToTevValue<unsigned char>(200, tvtByte), Byte(200)},
      {Quor::ToTevValue<unsigned short>(65535, tvtWord), Word(65535)},  // zero-extended
      {Quor::ToTevValue<unsigned long>(4294967295ul, tvtDWord), DWord(4294967295u)},
      {Quor::ToTevValue<short>(-1, tvtInteger), Integer(-1)},  // sign-extended to 32 bits
      {Quor::ToTevValue<long>(-2147483648l, tvtInteger), Integer(INT32_MIN)},
      {Quor::ToTevValue<float>(0.1f, tvtFloat), Float(0.1f)},
      {Quor::ToTevValue<double>(-273.15, tvtFloat), Float(-273.15)},
  };
  for (const auto& [made, expected] : cases) {
    EXPECT_TRUE(Same(expected, made));
  }
}

TEST(ToTevValueDeathTest, WrongExpectedTypeOrTextThatIsNotUtf8EndsTheProcess) {
  EXPECT_DEATH(Quor::ToTevValue<unsigned char>(1, tvtWord),
               "ToTevValue .*TevValueHelper\\.cpp:[0-9]+ QUOR_ASSERT2\\(result\\.tvt == "
               "expectedType\\) failed");
  EXPECT_DEATH(Quor::ToTevValue<std::string>("a", tvtInteger),
               "QUOR_ASSERT2\\(result\\.tvt == expectedType\\)");
  EXPECT_DEATH(Quor::ToTevValue(std::string("a\xFF"), tvtString),
               "ToTevValue .*TevValueHelper\\.cpp:[0-9]+ QUOR_ASSERT2\\(utf8::is_valid\\(value\\."
               "begin\\(\\), value\\.end\\(\\)\\)\\) failed");
}

// The ptime is local time: mktime turns it into seconds and the TEVTIME breaks them down again
// in local time, so the fields come back as given, with the zone's daylight-saving flag. The
// 32-bit limit is on the given time, not on UTC. The device's mktime cannot count a second
// before 1901-12-13 20:45:52 and answers -1, the second before 1970; the host answers alike.
TEST(ToTevValueDateTime, LocalFieldsUpToTheLast32BitSecondThenTheEmptyValue) {
  const ptime last(date(2038, 1, 19), time_duration(3, 14, 7));
  const ptime first(date(1901, 12, 13), time_duration(20, 45, 52));
  const std::string empty = Show(TEVVALUE());
  const struct {
    const char* zone;
    ptime given;
    TevValueType tvt;
    std::string expected;
  } cases[] = {
      {kUtcZone, last, tvtDateTime, Show(Time(tvtDateTime, 2038, 1, 19, 3, 14, 7, 2))},
      {kUtcZone, ptime(date(1970, 1, 1)), tvtDate, Show(Time(tvtDate, 1970, 1, 1, 0, 0, 0, 8))},
      {kUtcZone, first, tvtDateTime, Show(Time(tvtDateTime, 1901, 12, 13, 20, 45, 52, 16))},
      {kUtcZone, first - boost::posix_time::seconds(1), tvtDateTime,
       Show(Time(tvtDateTime, 1969, 12, 31, 23, 59, 59, 4))},
      {kUtcZone, ptime(date(1900, 1, 1)), tvtDateTime,
       Show(Time(tvtDateTime, 1969, 12, 31, 23, 59, 59, 4))},
      {kUtcZone, last + boost::posix_time::seconds(1), tvtDateTime, empty},
      {kUtcZone, ptime(date(9999, 12, 31)), tvtDateTime, empty},
      {kUtcZone, ptime(boost::posix_time::pos_infin), tvtDateTime, empty},
      {kUtcZone, ptime(boost::posix_time::not_a_date_time), tvtDateTime, empty},
      {kCentralEuropeZone, ptime(date(2024, 7, 1), time_duration(12, 0, 0)), tvtDateTime,
       Show(Time(tvtDateTime, 2024, 7, 1, 12, 0, 0, 1, true))},
      {kCentralEuropeZone, ptime(date(2024, 1, 15), time_duration(8, 30, 0)), tvtDateTime,
       Show(Time(tvtDateTime, 2024, 1, 15, 8, 30, 0, 1))},
      {kCentralEuropeZone, last, tvtDateTime, Show(Time(tvtDateTime, 2038, 1, 19, 3, 14, 7, 2))},
  };
  for (const auto& c : cases) {
    const ScopedTimeZone zone(c.zone);
    const TEVVALUE value = Quor::ToTevValue(c.given, c.tvt);
    EXPECT_EQ(Show(value), c.expected) << c.zone << " " << c.given;
    EXPECT_EQ(value.state, 0) << c.given;  // that of the default value
  }
  EXPECT_EQ(Quor::ToTevValue(last, tvtBoolean).tvt, tvtBoolean);  // the type is not checked
}

// Dated 2000-01-01 with the weekday mask; any other type than tvtDayTime is a bug.
TEST(ToTevValueTimeOfDayDeathTest, DayTimeOnly) {
  const auto time = QuorApp::TimeOfDay::Create(8, 30, 0, QuorApp::Friday);
  ASSERT_TRUE(time);
  const TEVVALUE value = Quor::ToTevValue(*time, tvtDayTime);
  EXPECT_EQ(value.state, 0);
  EXPECT_EQ(Show(value), Show(DayTime(8, 30, 0, TevWeekDays::FRIDAY)));
  EXPECT_DEATH(Quor::ToTevValue(*time, tvtTime),
               "ToTevValue .*TevValueHelper\\.cpp:[0-9]+ QUOR_ASSERT2\\(expectedType == "
               "tvtDayTime\\) failed");
}

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

// boost::timer's default layout with 6 places, without leading blank and line end.
const std::string kTiming =
    "[0-9]+\\.[0-9]{6}s wall, [0-9]+\\.[0-9]{6}s user \\+ [0-9]+\\.[0-9]{6}s system = "
    "[0-9]+\\.[0-9]{6}s CPU \\((n/a|[0-9]+\\.[0-9])%\\)";

// Without a threshold at DEBUG, at or above it at INFO, below it not at all.
TEST(MeasureDuration, LevelFollowsTheThreshold) {
  const struct {
    boost::optional<boost::chrono::nanoseconds> threshold;
    std::vector<int> levels;
  } cases[] = {
      {boost::none, {log4cplus::DEBUG_LOG_LEVEL}},
      {boost::chrono::nanoseconds(0), {log4cplus::INFO_LOG_LEVEL}},
      {boost::chrono::nanoseconds(boost::chrono::hours(1)), {}},
  };
  for (const auto& c : cases) {
    LogCapture capture;
    { const Quor::MeasureDuration measure("Decoding took ", c.threshold); }
    std::vector<int> levels;
    for (const auto& record : capture.Records()) {
      levels.push_back(record.level);
      EXPECT_THAT(record.body, MatchesRegex("Decoding took " + kTiming));
      EXPECT_THAT(record.file, testing::EndsWith("MeasureDuration.cpp"));
    }
    EXPECT_EQ(levels, c.levels);
  }
}

TEST(UndefinedBehaviourIfNoneDeathTest, NoValueEndsTheProcessWithAFatalLine) {
  EXPECT_DEATH(
      {
        LogToStderr();
        Quor::UndefinedBehaviourIfNone(boost::optional<int>());
      },
      "FATAL - UndefinedBehaviourIfNone\\(Unreachable\\.h:[0-9]+\\) - This statement should not "
      "be executed\\. There is a bug somewhere around Unreachable\\.h:[0-9]+");
}

[[noreturn]] void ReachTheUnreachable() {
  LogToStderr();
  QUOR_UNREACHABLE();
}

// Without __FILE_NAME__ (GCC before 12, the device SDK's among them) the name is cut from
// __FILE__.
TEST(SourceFile, BaseNameOfAPath) {
  for (const auto& [path, offset] :
       {std::pair{"src/a/main.cpp", 6u}, {"main.cpp", 0u}, {"/x/", 3u}}) {
    EXPECT_EQ(Quor::Detail::FileNameOffset(path), offset) << path;
  }
}

TEST(UnreachableDeathTest, NamesThePlaceOfTheMarker) {
  EXPECT_DEATH(ReachTheUnreachable(),
               "There is a bug somewhere around ValueHelperTest\\.cpp:[0-9]+");
}

}  // namespace
