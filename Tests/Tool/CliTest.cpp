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
      {{"encode", "9.001", "1", "2"}, "quor-om: unexpected argument '2'"},
      {{"encode", "--fast", "9.001", "1"}, "quor-om: unknown option '--fast'"},
      {{"decode", "--bits", "256", "9.001", "0c33"},
       "quor-om: --bits '256' is not a number from 0 to 255"},
      {{"--log-level", "LOUD", "table"}, "quor-om: unknown log level 'LOUD'"},
      {{"id", "co", "5", "3"}, "quor-om: logical device '3' is neither 1 nor 2"},
      {{"id", "param", "bool", "1", "1"},
       "quor-om: parameter type 'bool' is none of ip, number, text"},
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

}  // namespace
