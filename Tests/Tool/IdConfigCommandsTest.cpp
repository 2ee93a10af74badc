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
