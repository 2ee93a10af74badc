// quor-om's commands: what each prints and the exit status it gives.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <log4cplus/loglevel.h>
#include <boost/optional/optional_io.hpp>

#include "Cli.h"
#include "Support/LogCapture.h"

namespace {

using testing::ContainsRegex;
using testing::HasSubstr;
using testing::MatchesRegex;
using testing::StartsWith;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// Runs quor-om in-process with string streams; by default logging is left to the test's
// LogCapture.
Outcome RunTool(
    const std::vector<std::string>& words, const std::string& input = "",
    const QuorOm::LogSetup& setUpLogging = [](const QuorOm::GlobalOptions&) {
      return boost::optional<std::string>();
    }) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  QuorOm::Streams io{in, out, err};
  const int status = QuorOm::Run(words, io, setUpLogging);
  return {status, out.str(), err.str()};
}

// The first line of a text, without its newline.
std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

// One invocation each: exit status, standard output and the first line of standard error; a
// usage error also shows the usage.
TEST(Cli, StatusOutputAndError) {
  const struct {
    std::vector<std::string> words;
    const char* input;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      // clang-format off
      {{}, "", QuorOm::kExitUsage, "", "quor-om: missing command"},
      {{"frobnicate"}, "", QuorOm::kExitUsage, "", "quor-om: unknown command 'frobnicate'"},
      {{"encode", "9.001"}, "", QuorOm::kExitUsage, "", "quor-om: missing VALUE"},
      {{"encode", "9", "1"}, "", QuorOm::kExitUsage, "", "quor-om: DPT '9' is not main.sub (for example 9.001)"},
      {{"encode", "9.001", "1", "2"}, "", QuorOm::kExitUsage, "", "quor-om: unexpected argument '2'"},
      {{"encode", "--fast", "9.001", "1"}, "", QuorOm::kExitUsage, "", "quor-om: unknown option '--fast'"},
      {{"decode", "--bits", "256", "9.001", "0c33"}, "", QuorOm::kExitUsage, "", "quor-om: --bits '256' is not a number from 0 to 255"},
      {{"--log-level", "LOUD", "table"}, "", QuorOm::kExitUsage, "", "quor-om: unknown log level 'LOUD'"},
      {{"id", "co", "5", "3"}, "", QuorOm::kExitUsage, "", "quor-om: logical device '3' is neither 1 nor 2"},
      {{"id", "param", "bool", "1", "1"}, "", QuorOm::kExitUsage, "", "quor-om: parameter type 'bool' is none of ip, number, text"},
      {{"stress", "--threads", "0"}, "", QuorOm::kExitUsage, "", "quor-om: --threads and --timeout must be at least 1"},
      {{"stress", "--faults", "1.5"}, "", QuorOm::kExitUsage, "", "quor-om: --faults '1.5' is not a rate from 0 to 1"},
      {{"encode", "9.001", "-300"}, "", QuorOm::kExitRefused, "", "quor-om: the library refused to encode '-300' for DPT 9.001"},
      {{"encode", "--direct", "9.001", "inf"}, "", QuorOm::kExitRefused, "", "quor-om: the library refused to encode 'inf' for DPT 9.001"},
      {{"decode", "--direct", "99.1", "00"}, "", QuorOm::kExitRefused, "", "quor-om: the library refused to decode '00' for DPT 99.001"},
      {{"decode", "9.001", "0c3300"}, "", QuorOm::kExitRefused, "", "quor-om: '0c3300' is 3 bytes, DPT 9.001 takes 2"},
      {{"decode", "--direct", "0x90001", "0c"}, "", QuorOm::kExitRefused, "", "quor-om: '0c' is 1 byte, DPT 9.001 takes 2"},
      // Hex as the library prints it; a blank only between whole bytes, one at a time.
      {{"decode", "--direct", "0x90001", "0C 33"}, "", QuorOm::kExitOk, "21.5\n", ""},
      {{"decode", "9.001", "0x0c 33"}, "", QuorOm::kExitOk, "21.5\n", ""},
      {{"decode", "9.001", "0 c33"}, "", QuorOm::kExitRefused, "", "quor-om: cannot read '0 c33' as hexadecimal bytes"},
      {{"decode", "9.001", "0c  33"}, "", QuorOm::kExitRefused, "", "quor-om: cannot read '0c  33' as hexadecimal bytes"},
      {{"decode", "9.001", "0c33 "}, "", QuorOm::kExitRefused, "", "quor-om: cannot read '0c33 ' as hexadecimal bytes"},
      {{"decode", "9.001", " 0c33"}, "", QuorOm::kExitRefused, "", "quor-om: cannot read ' 0c33' as hexadecimal bytes"},
      {{"decode", "9.001", "0c3"}, "", QuorOm::kExitRefused, "", "quor-om: cannot read '0c3' as hexadecimal bytes"},
      // Accepted without a row, yet no bytes: nothing to print.
      {{"encode", "99.001", "5"}, "", QuorOm::kExitUnconverted, "", "quor-om: the library gave no bytes for '5' (DPT 99.001)"},
      {{"table", "nope"}, "", QuorOm::kExitUsage, "", "quor-om: unknown table 'nope' (tables: dpt, bit-sizes, default-dpts, compatibility, main-types, direct)"},
      // A text the DPT cannot carry as it is goes out changed, and says so.
      {{"encode", "--direct", "16.001", "Grüße€"}, "", QuorOm::kExitOk, "4772fcdf653f0000000000000000\n", "quor-om: warning: 'Grüße€' reads back as 'Grüße?': DPT 16.001 cannot carry it as it is"},
      {{"encode", "16.000", "Grüße"}, "", QuorOm::kExitOk, "47725f5f65000000000000000000\n", "quor-om: warning: 'Grüße' reads back as 'Gr__e': DPT 16.000 cannot carry it as it is"},
      {{"encode", "16.001", "G\xfc"}, "", QuorOm::kExitOk, "47fc000000000000000000000000\n", "quor-om: warning: 'G?' (not valid UTF-8) reads back as 'Gü': DPT 16.001 cannot carry it as it is"},
      {{"encode", "4.002", "ab"}, "", QuorOm::kExitOk, "61\n", "quor-om: warning: 'ab' reads back as 'a': DPT 4.002 cannot carry it as it is"},
      {{"encode", "16.001", "a?b"}, "", QuorOm::kExitOk, "613f620000000000000000000000\n", ""},
      // Standard input: one line each, a refused one as "error".
      {{"encode", "9.001", "-"}, "21.5\nabc\r\n-300\n0\n", QuorOm::kExitRefused, "0c33\nerror\nerror\n0000\n", "quor-om: cannot read 'abc' as a Float value"},
      {{"decode", "--direct", "9.001", "-"}, "0c33\n0000\n", QuorOm::kExitOk, "21.5\n0\n", ""},
      {{"decode", "9.001", "-"}, "", QuorOm::kExitOk, "", ""},
      {{"decode", "9.001", "-"}, "0c 33\n0 c33\n0c33\n", QuorOm::kExitRefused, "21.5\nerror\n21.5\n", "quor-om: cannot read '0 c33' as hexadecimal bytes"},
      {{"encode", "--direct", "9.001", "-"}, "abc\n-1e9\n21.5\n", QuorOm::kExitRefused, "error\nerror\n0c33\n", "quor-om: cannot read 'abc' as a Float value"},
      {{"encode", "99.001", "-"}, "5\n", QuorOm::kExitUnconverted, "error\n", "quor-om: the library gave no bytes for '5' (DPT 99.001)"},
      {{"id", "co", "5", "1"}, "", QuorOm::kExitOk, "channel    100108\nvalue      100109\n", ""},
      {{"id", "param", "text", "500", "2"}, "", QuorOm::kExitOk, "channel    281000\nvalue      281001\n", ""},
      {{"id", "param", "ip", "0x1", "1"}, "", QuorOm::kExitOk, "channel    160002\nvalue      160003\n", ""},
      {{"id", "co", "4096", "1"}, "", QuorOm::kExitRefused, "", "quor-om: CO 4096 has no object-model id"},
      {{"id", "param", "ip", "101", "1"}, "", QuorOm::kExitRefused, "", "quor-om: ip parameter 101 has no object-model id"},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.words));
    const QuorTest::LogCapture loggingOff(log4cplus::OFF_LOG_LEVEL);
    const auto outcome = RunTool(c.words, c.input);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.out, c.out);
    EXPECT_EQ(FirstLine(outcome.err), c.err);
    EXPECT_EQ(outcome.err.find("\nusage: quor-om") != std::string::npos,
              c.status == QuorOm::kExitUsage);
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
  const auto outcome = RunTool({"table"}, "", [](const QuorOm::GlobalOptions&) {
    return boost::optional<std::string>("cannot read log configuration 'nope'");
  });
  EXPECT_EQ(outcome.status, QuorOm::kExitUsage);
  EXPECT_EQ(FirstLine(outcome.err), "quor-om: cannot read log configuration 'nope'");
  EXPECT_EQ(outcome.out, "");
}

// encode gives the bytes and decode the text back, through the table or directly.
TEST(Conversion, RoundTrips) {
  const struct {
    bool direct;
    const char* dpt;
    const char* value;
    const char* hex;
  } cases[] = {
      {false, "9.001", "21.5", "0c33"},
      {false, "1.001", "true", "01"},
      {false, "5.001", "255", "ff"},
      {false, "12.001", "4294967295", "ffffffff"},
      {false, "14.000", "-inf", "ff800000"},
      {false, "10.001", "13:45:10@3", "6d2d0a"},
      {false, "19.001", "2021-03-14T12:30:45", "79030e0c1e2d2000"},
      {false, "16.001", "Grüße", "4772fcdf65000000000000000000"},
      {false, "9.001", "invalid", "7fff"},
      {true, "9.001", "21.5", "0c33"},
      {true, "6.010", "255", "ff"},
      {true, "19.001", "2021-03-14T12:30:45", "79030eec1e2d2000"},
      {true, "10.001", "00:00:59@7", "e0003b"},
      {true, "232.600", "1193046", "123456"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.dpt) + " " + c.value);
    for (const auto& [command, in, out] :
         {std::tuple{"encode", c.value, c.hex}, std::tuple{"decode", c.hex, c.value}}) {
      const auto outcome =
          c.direct ? RunTool({command, "--direct", c.dpt, in}) : RunTool({command, c.dpt, in});
      EXPECT_EQ(outcome.status, 0) << outcome.err;
      EXPECT_EQ(outcome.out, std::string(out) + "\n");
      EXPECT_EQ(outcome.err, "");
    }
  }
}

class ConfigCommand : public testing::Test {
 protected:
  void TearDown() override { std::remove(m_path.c_str()); }

  std::string Write(const std::string& text) {
    std::ofstream(m_path) << text;
    return m_path;
  }

  std::string m_path = testing::TempDir() + "quor-om-config-test.xml";
};

// Every setting; an ObjId that is no number is a refusal.
TEST_F(ConfigCommand, PrintsEverySettingOrRefuses) {
  const std::string path = Write(
      "<QuorAppHostConfig WithoutKNX=\"1\"><ObjectModelConfig Path=\"/om.json\"/>"
      "<ZebConfig><ResponseDps><Dp ObjId=\"100101\"/><Dp ObjId=\"100103\"/></ResponseDps>"
      "</ZebConfig><Debugging Active=\"1\"><AppHost RootPath=\"/ah\" DisableStartup=\"1\"/>"
      "</Debugging></QuorAppHostConfig>");
  const auto outcome = RunTool({"config", path});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "file                             " + path +
                             "\n"
                             "WithoutKNX                       true\n"
                             "TerminateOnFirmwareUpdate        false\n"
                             "ObjectModelConfig.Path           /om.json\n"
                             "ResponseDps                      100101 100103\n"
                             "Debugging.Active                 true\n"
                             "App.RootPath                     (none)\n"
                             "ManagedApp.RootPath              (none)\n"
                             "AppHost.RootPath                 /ah\n"
                             "AppHost.DisableStartup           true\n"
                             "AppConnectorHost.RootPath        (none)\n"
                             "AppConnectorHost.DisableStartup  true\n");
  const auto unreadable =
      RunTool({"config", Write("<QuorAppHostConfig><ZebConfig><ResponseDps><Dp "
                               "ObjId=\"x\"/></ResponseDps></ZebConfig></QuorAppHostConfig>")});
  EXPECT_EQ(unreadable.status, QuorOm::kExitRefused);
  EXPECT_EQ(unreadable.out, "");
  EXPECT_EQ(unreadable.err, "quor-om: " + path + ": an ObjId is not a number\n");
}

TEST(RequestCommands, DemoWalksThroughEveryKindOfOutcome) {
  QuorTest::LogCapture capture(log4cplus::WARN_LOG_LEVEL);
  const auto outcome = RunTool({"demo"});
  EXPECT_EQ(outcome.status, QuorOm::kExitOk) << outcome.out;
  EXPECT_EQ(outcome.err, "");
  for (const char* line : {
           "RegisterApplication answered, valid\n",
           "DPT 9.001): received 0c33 = 21.5; SetValue answered, valid\n",
           "CO 1: GetValue answered, valid = 21.5, sent as 0c33\n",
           "CO 2: GetValue answered, valid = true, sent as 01\n",
           "CO 3: GetValue answered, valid = KNX demo, sent as 4b4e582064656d6f000000000000\n",
           "4 threads with 5 SetValue each: 20 of 20 answered, valid\n",
           "  answered, valid after 2 attempts\n",
       }) {
    EXPECT_THAT(outcome.out, HasSubstr(line));
  }
  EXPECT_THAT(outcome.out, ContainsRegex("\n  answered, device-side error '[^']+'\n"));
  // The lost answer shows up in the log as a timeout, the device-side error does not retry.
  int timeouts = 0;
  for (const auto& record : capture.Records()) {
    timeouts +=
        record.level == log4cplus::WARN_LOG_LEVEL && record.body.find("Timeout (") == 0 ? 1 : 0;
  }
  EXPECT_EQ(timeouts, 1);
}

TEST(RequestCommands, StressLosesNothingUnderFaults) {
  const auto outcome = RunTool(
      {"stress", "--requests", "2000", "--threads", "4", "--faults", "0.1", "--timeout", "50"});
  EXPECT_EQ(outcome.status, QuorOm::kExitOk) << outcome.err;
  EXPECT_THAT(outcome.out, MatchesRegex("requests 2000, answered valid [0-9]+, answered with "
                                        "error [1-9][0-9]*, not answered [0-9]+, lost 0, "
                                        "p50 [0-9.]+ ms, p99 [0-9.]+ ms\n"));
}

}  // namespace
