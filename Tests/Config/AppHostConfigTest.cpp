#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <boost/filesystem.hpp>
#include <boost/optional.hpp>

#include "QuorObjectModel/AppHostConfig.h"
#include "Support/LogCapture.h"
#include "Support/Values.h"

namespace {

using Quor::AppHostConfiguration;
using namespace QuorTest;

// The settings that differ from the defaults, in one line: what a row of a table expects.
std::string Describe(const AppHostConfiguration& c) {
  std::ostringstream out;
  const std::pair<bool, const char*> flags[] = {
      {c.IsInAppDebugMode(), "debug"},
      {c.IsAppHostStartupDisabled(), "host-off"},
      {c.IsAppConnectorHostStartupDisabled(), "connector-off"},
      {c.IsAppHostWithoutKNX(), "without-knx"},
      {c.IsAppHostTerminateOnFirmwareUpdate(), "terminate"},
  };
  for (const auto& [set, name] : flags) {
    out << (set ? std::string(" ") + name : "");
  }
  const std::pair<const boost::optional<std::string>&, const char*> paths[] = {
      {c.GetRootPathNativeApp(), "app"},    {c.GetRootPathManagedApp(), "managed"},
      {c.GetRootPathAppHost(), "host"},     {c.GetRootPathAppConnectorHost(), "connector"},
      {c.GetPathObjectModelConfig(), "om"},
  };
  for (const auto& [path, name] : paths) {
    out << (path ? std::string(" ") + name + "=" + *path : "");
  }
  for (unsigned int dp : c.GetResponseDataPoints()) {
    out << " dp=" << dp;
  }
  return out.str();
}

bool Load(AppHostConfiguration& config, std::string xml) {
  return config.LoadAppHostConfigXML(&xml[0]);
}

// A file in a fresh temporary directory, removed with the object.
class TempFile {
 public:
  explicit TempFile(const std::string& content)
      : m_dir(boost::filesystem::temp_directory_path() /
              boost::filesystem::unique_path("apphostconfig-%%%%-%%%%")) {
    boost::filesystem::create_directories(m_dir);
    std::ofstream(Path(), std::ios::binary) << content;
  }
  ~TempFile() { boost::filesystem::remove_all(m_dir); }
  std::string Path() const { return (m_dir / "quorapphostconfig.xml").string(); }
  std::string Dir() const { return m_dir.string(); }

 private:
  boost::filesystem::path m_dir;
};

TEST(AppHostConfigXml, EachDocumentYieldsItsSettings) {
  // clang-format off
  const struct {
    const char* what;
    const char* xml;
    const char* expected;
  } cases[] = {
      {"empty root", "<QuorAppHostConfig/>", ""},
      {"other root only", "<Other WithoutKNX=\"1\"/>", ""},
      {"WithoutKNX any text", "<QuorAppHostConfig WithoutKNX=\"false\"/>", " without-knx"},
      {"WithoutKNX 0", "<QuorAppHostConfig WithoutKNX=\"0\"/>", ""},
      {"WithoutKNX 00 is not 0", "<QuorAppHostConfig WithoutKNX=\"00\"/>", " without-knx"},
      {"names are case-sensitive", "<QuorAppHostConfig withoutknx=\"1\"/>", ""},
      {"TerminateOnFirmwareUpdate", "<QuorAppHostConfig TerminateOnFirmwareUpdate=\"yes\"/>", " terminate"},
      {"first attribute of a name wins", "<QuorAppHostConfig WithoutKNX=\"1\" WithoutKNX=\"0\"/>", " without-knx"},
      {"later element overrides, empty keeps", "<QuorAppHostConfig WithoutKNX=\"1\"/><QuorAppHostConfig WithoutKNX=\"0\"/><QuorAppHostConfig WithoutKNX=\"\"/>", ""},
      {"object-model path with entities", "<QuorAppHostConfig><ObjectModelConfig Path=\" /a&amp;b&quot;c \"/></QuorAppHostConfig>", " om= /a&b\"c "},
      {"empty path keeps the earlier one", "<QuorAppHostConfig><ObjectModelConfig Path=\"/x\"/><ObjectModelConfig Path=\"\"/></QuorAppHostConfig>", " om=/x"},
      {"nested elsewhere is ignored", "<Other><QuorAppHostConfig WithoutKNX=\"1\"/><ObjectModelConfig Path=\"/x\"/></Other>", ""},
      {"data points accumulate, duplicates and stoul syntax", "<QuorAppHostConfig><ZebConfig><ResponseDps><Dp ObjId=\"100101\"/><Dp/><Dp ObjId=\"\"/><Other ObjId=\"7\"/><Dp ObjId=\" +42abc\"/><Dp ObjId=\"100101\"/></ResponseDps></ZebConfig><ZebConfig><ResponseDps><Dp ObjId=\"5\"/></ResponseDps></ZebConfig></QuorAppHostConfig>", " dp=100101 dp=42 dp=100101 dp=5"},
      {"ObjId wraps like the 32-bit device", "<QuorAppHostConfig><ZebConfig><ResponseDps><Dp ObjId=\"4294967295\"/><Dp ObjId=\"-1\"/></ResponseDps></ZebConfig></QuorAppHostConfig>", " dp=4294967295 dp=4294967295"},
      {"ZebConfig reads only its first child, if it is ResponseDps", "<QuorAppHostConfig><ZebConfig><Other><Dp ObjId=\"2\"/></Other><ResponseDps><Dp ObjId=\"1\"/></ResponseDps></ZebConfig></QuorAppHostConfig>", ""},
      {"ZebConfig first child may not be text", "<QuorAppHostConfig><ZebConfig>x<ResponseDps><Dp ObjId=\"1\"/></ResponseDps></ZebConfig></QuorAppHostConfig>", ""},
      {"debugging inactive ignores its children", "<QuorAppHostConfig><Debugging Active=\"0\"><AppHost RootPath=\"/h\" DisableStartup=\"1\"/></Debugging></QuorAppHostConfig>", ""},
      {"debugging without Active ignores its children", "<QuorAppHostConfig><Debugging><App RootPath=\"/n\"/></Debugging></QuorAppHostConfig>", ""},
      {"debugging active reads every child", "<QuorAppHostConfig><Debugging Active=\"1\"><App RootPath=\"/n\"/><ManagedApp RootPath=\"/m\"/><AppHost RootPath=\"/h\"/><AppConnectorHost RootPath=\"/c\" DisableStartup=\"1\"/></Debugging></QuorAppHostConfig>", " debug connector-off app=/n managed=/m host=/h connector=/c"},
      {"app host disabled disables the connector host", "<QuorAppHostConfig><Debugging Active=\"1\"><AppHost DisableStartup=\"1\"/></Debugging></QuorAppHostConfig>", " debug host-off connector-off"},
      {"connector host disabled alone", "<QuorAppHostConfig><Debugging Active=\"1\"><AppConnectorHost DisableStartup=\"1\"/></Debugging></QuorAppHostConfig>", " debug connector-off"},
      {"debug mode from an earlier element opens a later Debugging", "<QuorAppHostConfig><Debugging Active=\"1\"/><Debugging><App RootPath=\"/n\"/></Debugging></QuorAppHostConfig>", " debug app=/n"},
      {"debug children outside Debugging are ignored", "<QuorAppHostConfig Active=\"1\"><App RootPath=\"/n\"/></QuorAppHostConfig>", ""},
      {"byte order mark", "\xEF\xBB\xBF<QuorAppHostConfig WithoutKNX=\"1\"/>", " without-knx"},
      {"declaration, comments and text carry nothing", "<?xml version=\"1.0\"?><!-- WithoutKNX=\"1\" --><QuorAppHostConfig>WithoutKNX</QuorAppHostConfig>", ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    AppHostConfiguration config;
    EXPECT_TRUE(Load(config, c.xml)) << c.what;
    EXPECT_EQ(Describe(config), c.expected) << c.what;
  }
}

TEST(AppHostConfigXml, MalformedTextIsRefusedWithTheParserMessage) {
  AppHostConfiguration config;
  LogCapture capture;
  EXPECT_FALSE(Load(config, "<QuorAppHostConfig WithoutKNX=\"1\"/><Oops"));
  EXPECT_EQ(capture.Lines(), Lines{Error("Failed to read configuration file: expected >")});
  EXPECT_EQ(Describe(config), "");
}

const char* const kFullFile = R"(<?xml version="1.0" encoding="utf-8"?>
<!-- App host configuration -->
<QuorAppHostConfig WithoutKNX="0" TerminateOnFirmwareUpdate="1">
  <ObjectModelConfig Path="/opt/userdata/devicestack/quorOM/config.json"/>
  <ZebConfig>
    <ResponseDps>
      <Dp ObjId="100101"/>
      <Dp ObjId="100103"/>
      <Dp ObjId="200109"/>
    </ResponseDps>
  </ZebConfig>
  <Debugging Active="1">
    <App RootPath="/opt/userdata/debug/app"/>
    <ManagedApp RootPath="/opt/userdata/debug/managed"/>
    <AppHost RootPath="/opt/userdata/debug/apphost" DisableStartup="1"/>
    <AppConnectorHost RootPath="/opt/userdata/debug/connector" DisableStartup="0"/>
  </Debugging>
</QuorAppHostConfig>
)";

// Every setting of a full file; a malformed or missing file is logged and leaves the settings
// as they were. The connector host follows the app host despite its "0".
TEST(AppHostConfigFile, LoadsOrLogsAndKeepsTheSettings) {
  const TempFile full(kFullFile), malformed("<QuorAppHostConfig WithoutKNX=\"1\">");
  const struct {
    std::string path;
    Lines lines;
    std::string settings;
  } cases[] = {
      // clang-format off
      {full.Path(), {}, " debug host-off connector-off terminate app=/opt/userdata/debug/app managed=/opt/userdata/debug/managed host=/opt/userdata/debug/apphost connector=/opt/userdata/debug/connector om=/opt/userdata/devicestack/quorOM/config.json dp=100101 dp=100103 dp=200109"},
      {malformed.Path(), {Error("Failed to read configuration file: unexpected end of data"), Error("Falling back to standard configuration.")}, " debug"},
      {full.Dir() + "/a\"b&c.xml", {Error("App host config file cannot be read from: \"" + full.Dir() + "/a&\"b&&c.xml\"")}, " debug"},
      // Opens, then fails on the first read.
      {"/proc/self/mem", {Error("App host config file cannot be read from: \"/proc/self/mem\"")}, " debug"},
      // No path: the host's call of the fixed path, which a build machine does not have.
      {"", {Error("App host config file cannot be read from: \"/opt/userdata/etc/quorapphost/quorapphostconfig.xml\"")}, " debug"},
      // clang-format on
  };
  for (const auto& c : cases) {
    AppHostConfiguration config;
    config.SetAppDebugMode(true);
    LogCapture capture;
    if (c.path.empty()) {
      config.LoadConfigurationFile();
    } else {
      config.LoadConfigurationFile(c.path);
    }
    EXPECT_EQ(capture.Lines(), c.lines) << c.path;
    EXPECT_EQ(Describe(config), c.settings) << c.path;
  }
}

TEST(AppHostConfigFile, BadObjIdReachesTheCallerWithEarlierValuesKept) {
  const struct {
    const char* objId;
    bool outOfRange;
  } cases[] = {{"abc", false},
               {" x1", false},
               {"99999999999999999999999", true},
               {"4294967296", true},
               {"-4294967296", true}};
  for (const auto& c : cases) {
    const TempFile file(std::string("<QuorAppHostConfig WithoutKNX=\"1\"><ZebConfig><ResponseDps>"
                                    "<Dp ObjId=\"7\"/><Dp ObjId=\"") +
                        c.objId +
                        "\"/><Dp ObjId=\"8\"/></ResponseDps></ZebConfig>"
                        "<ObjectModelConfig Path=\"/late\"/></QuorAppHostConfig>");
    AppHostConfiguration config;
    if (c.outOfRange) {
      EXPECT_THROW(config.LoadConfigurationFile(file.Path()), std::out_of_range) << c.objId;
    } else {
      EXPECT_THROW(config.LoadConfigurationFile(file.Path()), std::invalid_argument) << c.objId;
    }
    EXPECT_EQ(Describe(config), " without-knx dp=7") << c.objId;
  }
}

TEST(AppHostConfigSetters, ReturnThePreviousValueWhereTheyReturnOne) {
  AppHostConfiguration config;
  config.SetAppHostStartupDisabled(true);
  EXPECT_FALSE(config.ReplaceAppDebugMode(true));
  EXPECT_TRUE(config.ReplaceAppDebugMode(true));
  EXPECT_FALSE(config.SetAppConnectorHostStartupDisabled(true));
  EXPECT_EQ(Describe(config), " debug host-off connector-off");
}

TEST(LoadFile, ReadsEveryByteOrNothing) {
  const std::string bytes("a\0b\r\n\xFF", 6);
  const TempFile file(bytes);
  const auto read = Quor::LoadFile(file.Path());
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, std::vector<char>(bytes.begin(), bytes.end()));
  EXPECT_FALSE(Quor::LoadFile(file.Dir() + "/missing"));
  EXPECT_FALSE(Quor::LoadFile(file.Dir()));
}

}  // namespace
