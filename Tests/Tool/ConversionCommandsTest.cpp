#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <log4cplus/loglevel.h>

#include "Cli.h"
#include "Support/LogCapture.h"
#include "ToolTestSupport.h"

namespace {

using QuorOmTest::FirstLine;
using QuorOmTest::RunTool;
using testing::HasSubstr;

struct RoundTrip {
  const char* dpt;
  const char* value;
  const char* hex;
};

// encode gives the bytes, decode gives the text back, for both conversions.
void ExpectRoundTrips(const std::vector<RoundTrip>& cases, const std::vector<std::string>& flags) {
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.dpt) + " " + c.value);
    std::vector<std::string> encode = flags;
    encode.insert(encode.end(), {"encode", c.dpt, c.value});
    const auto encoded = RunTool(encode);
    EXPECT_EQ(encoded.status, 0) << encoded.err;
    EXPECT_EQ(encoded.out, std::string(c.hex) + "\n");
    std::vector<std::string> decode = flags;
    decode.insert(decode.end(), {"decode", c.dpt, c.hex});
    const auto decoded = RunTool(decode);
    EXPECT_EQ(decoded.status, 0) << decoded.err;
    EXPECT_EQ(decoded.out, std::string(c.value) + "\n");
  }
}

TEST(Conversion, TableRoundTrips) {
  ExpectRoundTrips({{"9.001", "21.5", "0c33"},
                    {"1.001", "true", "01"},
                    {"5.001", "255", "ff"},
                    {"12.001", "4294967295", "ffffffff"},
                    {"14.000", "-inf", "ff800000"},
                    {"10.001", "13:45:10@3", "6d2d0a"},
                    {"19.001", "2021-03-14T12:30:45", "79030e0c1e2d2000"},
                    {"16.001", "Grüße", "4772fcdf65000000000000000000"},
                    {"9.001", "invalid", "7fff"}},
                   {});
}

TEST(Conversion, DirectRoundTrips) {
  ExpectRoundTrips({{"9.001", "21.5", "0c33"},
                    {"6.010", "255", "ff"},
                    {"19.001", "2021-03-14T12:30:45", "79030eec1e2d2000"},
                    {"10.001", "00:00:59@7", "e0003b"},
                    {"232.600", "1193046", "123456"}},
                   {"--direct"});
}

TEST(Conversion, LibraryRefusalIsStatusOne) {
  QuorTest::LogCapture log(log4cplus::WARN_LOG_LEVEL);
  const auto outcome = RunTool({"encode", "9.001", "-300"});
  EXPECT_EQ(outcome.status, QuorOm::kExitRefused);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err, "quor-om: the library refused to encode '-300' for DPT 9.001\n");
  EXPECT_TRUE(log.Contains(log4cplus::ERROR_LOG_LEVEL,
                           "Convert to KNX value failed for DPT = 9.1 val = Float -300"));
}

TEST(Conversion, DirectRefusals) {
  QuorTest::LogCapture log(log4cplus::WARN_LOG_LEVEL);
  const auto infinite = RunTool({"encode", "--direct", "9.001", "inf"});
  EXPECT_EQ(infinite.status, QuorOm::kExitRefused);
  EXPECT_EQ(infinite.err, "quor-om: the library refused to encode 'inf' for DPT 9.001\n");
  const auto unsupported = RunTool({"decode", "--direct", "99.1", "00"});
  EXPECT_EQ(unsupported.status, QuorOm::kExitRefused);
  EXPECT_TRUE(log.Contains(log4cplus::ERROR_LOG_LEVEL, "Unsupported DPT: 99.1"));
}

TEST(Conversion, StandardInputGivesOneLineEach) {
  QuorTest::LogCapture log(log4cplus::OFF_LOG_LEVEL);
  const auto encoded = RunTool({"encode", "9.001", "-"}, "21.5\nabc\r\n-300\n0\n");
  EXPECT_EQ(encoded.status, QuorOm::kExitRefused);
  EXPECT_EQ(encoded.out, "0c33\nerror\nerror\n0000\n");
  const auto decoded = RunTool({"decode", "--direct", "9.001", "-"}, "0c33\n0000\n");
  EXPECT_EQ(decoded.status, 0);
  EXPECT_EQ(decoded.out, "21.5\n0\n");
  const auto empty = RunTool({"decode", "9.001", "-"}, "");
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.out, "");
}

}  // namespace
