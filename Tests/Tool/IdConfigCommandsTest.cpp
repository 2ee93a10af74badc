#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <log4cplus/loglevel.h>

#include "Cli.h"
#include "Support/LogCapture.h"
#include "ToolTestSupport.h"

namespace {

using QuorOmTest::RunTool;
using testing::HasSubstr;

TEST(IdCommand, CoAndParameterIds) {
  EXPECT_EQ(RunTool({"id", "co", "5", "1"}).out, "channel    100108\nvalue      100109\n");
  EXPECT_EQ(RunTool({"id", "param", "text", "500", "2"}).out,
            "channel    281000\nvalue      281001\n");
  EXPECT_EQ(RunTool({"id", "param", "ip", "0x1", "1"}).out,
            "channel    160002\nvalue      160003\n");
  const auto noCo = RunTool({"id", "co", "4096", "1"});
  EXPECT_EQ(noCo.status, QuorOm::kExitRefused);
  EXPECT_EQ(noCo.err, "quor-om: CO 4096 has no object-model id\n");
  EXPECT_EQ(RunTool({"id", "param", "ip", "101", "1"}).status, QuorOm::kExitRefused);
}

TEST(IdCommand, AppControl) {
  EXPECT_EQ(RunTool({"id", "app-control", "2"}).out,
            "channel    200020\nstate      200021\nevent      200022\nalive      200023\n"
            "app-debug  200024\n");
}

TEST(IdCommand, InfoSaysWhatAnIdIs) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"1000", "KNX device"},
      {"100000", "logical device 1"},
      {"200020", "app-control channel of logical device 2"},
      {"100021", "app-control state of logical device 1"},
      {"100022", "app-control event of logical device 1"},
      {"100023", "app-control alive heartbeat of logical device 1"},
      {"100024", "app-control app debug of logical device 1"},
      {"100108", "channel of CO 5 of logical device 1"},
      {"100109", "value of CO 5 of logical device 1"},
      {"208289", "value of CO 4095 of logical device 2"},
      {"270002", "channel of number parameter 1 of logical device 2"},
      {"270003", "value of number parameter 1 of logical device 2"},
      {"180600", "channel of text parameter 300 of logical device 1"},
      {"99999", "nothing"},
      {"100025", "nothing"},
      {"300000", "nothing"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    const auto outcome = RunTool({"id", "info", c.first});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, std::string(c.second) + "\n");
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

TEST_F(ConfigCommand, PrintsEverySetting) {
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
}

TEST_F(ConfigCommand, MissingFileLeavesTheDefaults) {
  QuorTest::LogCapture log(log4cplus::WARN_LOG_LEVEL);
  const auto outcome = RunTool({"config", "/nonexistent/quor.xml"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_THAT(outcome.out, HasSubstr("WithoutKNX                       false\n"));
  EXPECT_TRUE(log.Contains(log4cplus::ERROR_LOG_LEVEL,
                           "App host config file cannot be read from: \"/nonexistent/quor.xml\""));
}

TEST_F(ConfigCommand, UnreadableObjIdIsARefusal) {
  const std::string path = Write(
      "<QuorAppHostConfig><ZebConfig><ResponseDps><Dp ObjId=\"x\"/></ResponseDps></ZebConfig>"
      "</QuorAppHostConfig>");
  const auto outcome = RunTool({"config", path});
  EXPECT_EQ(outcome.status, QuorOm::kExitRefused);
  EXPECT_EQ(outcome.out, "");
  EXPECT_THAT(outcome.err, HasSubstr("quor-om: "));
}

}  // namespace
