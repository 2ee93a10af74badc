#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <boost/optional/optional_io.hpp>

#include "Cli.h"
#include "Support/LogCapture.h"
#include "ToolTestSupport.h"

namespace {

using QuorOmTest::FirstLine;
using QuorOmTest::RunTool;
using testing::HasSubstr;
using testing::StartsWith;

TEST(Cli, UsageErrorsGiveOneLineAndTheUsage) {
  struct Case {
    std::vector<std::string> words;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{}, "quor-om: missing command"},
      {{"frobnicate"}, "quor-om: unknown command 'frobnicate'"},
      {{"encode", "9.001"}, "quor-om: missing VALUE"},
      {{"encode", "9", "1"}, "quor-om: DPT '9' is not main.sub (for example 9.001)"},
      {{"encode", "9.70000", "1"}, "quor-om: DPT '9.70000' is not main.sub (for example 9.001)"},
      {{"encode", "9.001", "1", "2"}, "quor-om: unexpected argument '2'"},
      {{"encode", "--fast", "9.001", "1"}, "quor-om: unknown option '--fast'"},
      {{"decode", "--bits", "256", "9.001", "0c33"},
       "quor-om: --bits '256' is not a number from 0 to 255"},
      {{"decode", "9.001", "0c33", "--bits"}, "quor-om: option --bits needs a value"},
      {{"--log-level", "LOUD", "table"}, "quor-om: unknown log level 'LOUD'"},
      {{"id", "co", "5", "3"}, "quor-om: logical device '3' is neither 1 nor 2"},
      {{"id", "param", "bool", "1", "1"},
       "quor-om: parameter type 'bool' is none of ip, number, text"},
      {{"id", "what"}, "quor-om: 'what' is none of co, param, app-control, info"},
      {{"table", "extra"}, "quor-om: unexpected argument 'extra'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const auto outcome = RunTool(c.words);
    EXPECT_EQ(outcome.status, QuorOm::kExitUsage);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(FirstLine(outcome.err), c.message);
    EXPECT_THAT(outcome.err, HasSubstr("\nusage: quor-om"));
  }
}

TEST(Cli, HelpForTheToolAndEachCommand) {
  const auto tool = RunTool({"--help"});
  EXPECT_EQ(tool.status, 0);
  EXPECT_THAT(tool.out, HasSubstr("commands:"));
  for (const char* command :
       {"encode", "decode", "table", "defaults", "id", "config", "demo", "stress"}) {
    SCOPED_TRACE(command);
    EXPECT_THAT(tool.out, HasSubstr(std::string("\n  ") + command + " "));
    const auto help = RunTool({command, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, StartsWith(std::string("usage: quor-om ") + command));
    EXPECT_EQ(RunTool({"help", command}).out, help.out);
  }
  EXPECT_EQ(RunTool({"-h", "encode"}).out, RunTool({"encode", "--help"}).out);
}

TEST(Cli, Version) {
  const auto outcome = RunTool({"--version"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "quor-om 1.0.0\n");
}

TEST(Cli, OptionsOfTheToolStandAnywhere) {
  std::vector<QuorOm::GlobalOptions> seen;
  std::istringstream in;
  std::ostringstream out, err;
  QuorOm::Streams io{in, out, err};
  const auto remember = [&seen](const QuorOm::GlobalOptions& options) {
    seen.push_back(options);
    return boost::optional<std::string>();
  };
  EXPECT_EQ(QuorOm::Run({"encode", "9.001", "--log-level", "debug", "21.5"}, io, remember), 0);
  EXPECT_EQ(QuorOm::Run({"--log-config=x.properties", "--direct", "encode", "9.001", "21.5"}, io,
                        remember),
            0);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].logLevel, log4cplus::DEBUG_LOG_LEVEL);
  EXPECT_TRUE(seen[0].logLevelGiven);
  EXPECT_EQ(seen[1].logLevel, log4cplus::WARN_LOG_LEVEL);
  EXPECT_EQ(seen[1].logConfig, std::string("x.properties"));
  EXPECT_EQ(out.str(), "0c33\n0c33\n");
}

TEST(Cli, RefusedLogSetupIsAUsageError) {
  std::istringstream in;
  std::ostringstream out, err;
  QuorOm::Streams io{in, out, err};
  const int status = QuorOm::Run({"table"}, io, [](const QuorOm::GlobalOptions&) {
    return boost::optional<std::string>("cannot read log configuration 'nope'");
  });
  EXPECT_EQ(status, QuorOm::kExitUsage);
  EXPECT_EQ(FirstLine(err.str()), "quor-om: cannot read log configuration 'nope'");
  EXPECT_EQ(out.str(), "");
}

TEST(Cli, ArgumentForms) {
  const std::vector<unsigned char> kNoBytes = {0xde, 0xad};
  EXPECT_EQ(QuorOm::ParseDpt("232.600").mainNumber, 232);
  EXPECT_EQ(QuorOm::ParseDpt("9.1").subNumber, 1);
  EXPECT_EQ(QuorOm::ParseDptNumber("0x90001"), 0x90001ul);
  EXPECT_EQ(QuorOm::ParseDptNumber("6.020"), 0x60014ul);
  EXPECT_EQ(QuorOm::ParseDptNumber("589825"), 0x90001ul);
  EXPECT_THROW(QuorOm::ParseDptNumber("0x100000000"), QuorOm::UsageError);
  EXPECT_THROW(QuorOm::ParseDpt(".1"), QuorOm::UsageError);
  EXPECT_THROW(QuorOm::ParseDpt("9.-1"), QuorOm::UsageError);
  EXPECT_EQ(QuorOm::ParseHex("0C33").value_or(kNoBytes), std::vector<unsigned char>({0x0c, 0x33}));
  EXPECT_EQ(QuorOm::ParseHex("").value_or(kNoBytes), std::vector<unsigned char>());
  EXPECT_FALSE(QuorOm::ParseHex("c33"));
  EXPECT_FALSE(QuorOm::ParseHex("0c 33"));
  EXPECT_FALSE(QuorOm::ParseHex("zz"));
  const unsigned char bytes[] = {0x0c, 0x33, 0xff};
  EXPECT_EQ(QuorOm::FormatHex(bytes, 3), "0c33ff");
  EXPECT_EQ(QuorOm::ParseLogLevel("Error"), log4cplus::ERROR_LOG_LEVEL);
  EXPECT_FALSE(QuorOm::ParseLogLevel("30000"));
}

}  // namespace
