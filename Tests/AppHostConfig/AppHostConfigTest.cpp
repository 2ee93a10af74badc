#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>
#include <boost/optional.hpp>
#include <boost/optional/optional_io.hpp>

#include "QuorObjectModel/AppHostConfig.h"
#include "Support/LogCapture.h"

namespace {

using Quor::AppHostConfiguration;
using QuorTest::LogCapture;
using testing::ElementsAre;
using testing::EndsWith;
using testing::Pair;

constexpr int kError = log4cplus::ERROR_LOG_LEVEL;

// Everything a configuration exposes, comparable in one go.
struct Settings {
  bool debug = false;
  bool hostDisabled = false;
  bool connectorDisabled = false;
  bool withoutKnx = false;
  bool terminateOnUpdate = false;
  boost::optional<std::string> nativeApp, managedApp, appHost, connectorHost, objectModel;
  std::vector<unsigned int> dataPoints;

  bool operator==(const Settings& o) const {
    return debug == o.debug && hostDisabled == o.hostDisabled &&
           connectorDisabled == o.connectorDisabled && withoutKnx == o.withoutKnx &&
           terminateOnUpdate == o.terminateOnUpdate && nativeApp == o.nativeApp &&
           managedApp == o.managedApp && appHost == o.appHost && connectorHost == o.connectorHost &&
           objectModel == o.objectModel && dataPoints == o.dataPoints;
  }
};

void PrintTo(const Settings& s, std::ostream* os) {
  *os << "{debug " << s.debug << ", hostDisabled " << s.hostDisabled << ", connectorDisabled "
      << s.connectorDisabled << ", withoutKnx " << s.withoutKnx << ", terminate "
      << s.terminateOnUpdate << ", native" << s.nativeApp << ", managed" << s.managedApp << ", host"
      << s.appHost << ", connector" << s.connectorHost << ", objectModel" << s.objectModel
      << ", dps";
  for (unsigned int dp : s.dataPoints) {
    *os << ' ' << dp;
  }
  *os << '}';
}

Settings Snapshot(const AppHostConfiguration& c) {
  Settings s;
  s.debug = c.IsInAppDebugMode();
  s.hostDisabled = c.IsAppHostStartupDisabled();
  s.connectorDisabled = c.IsAppConnectorHostStartupDisabled();
  s.withoutKnx = c.IsAppHostWithoutKNX();
  s.terminateOnUpdate = c.IsAppHostTerminateOnFirmwareUpdate();
  s.nativeApp = c.GetRootPathNativeApp();
  s.managedApp = c.GetRootPathManagedApp();
  s.appHost = c.GetRootPathAppHost();
  s.connectorHost = c.GetRootPathAppConnectorHost();
  s.objectModel = c.GetPathObjectModelConfig();
  s.dataPoints = c.GetResponseDataPoints();
  return s;
}

template <class Change>
Settings With(Change change) {
  Settings s;
  change(s);
  return s;
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

struct XmlCase {
  const char* what;
  const char* xml;
  Settings expected;
};

TEST(AppHostConfigXml, EachDocumentYieldsItsSettings) {
  const std::vector<XmlCase> cases = {
      {"empty root", "<QuorAppHostConfig/>", Settings{}},
      {"other root only", "<Other WithoutKNX=\"1\"/>", Settings{}},
      {"WithoutKNX 1", "<QuorAppHostConfig WithoutKNX=\"1\"/>",
       With([](Settings& s) { s.withoutKnx = true; })},
      {"WithoutKNX any text", "<QuorAppHostConfig WithoutKNX=\"false\"/>",
       With([](Settings& s) { s.withoutKnx = true; })},
      {"WithoutKNX 0", "<QuorAppHostConfig WithoutKNX=\"0\"/>", Settings{}},
      {"WithoutKNX 00 is not 0", "<QuorAppHostConfig WithoutKNX=\"00\"/>",
       With([](Settings& s) { s.withoutKnx = true; })},
      {"names are case-sensitive", "<QuorAppHostConfig withoutknx=\"1\"/>", Settings{}},
      {"TerminateOnFirmwareUpdate", "<QuorAppHostConfig TerminateOnFirmwareUpdate=\"yes\"/>",
       With([](Settings& s) { s.terminateOnUpdate = true; })},
      {"first attribute of a name wins", "<QuorAppHostConfig WithoutKNX=\"1\" WithoutKNX=\"0\"/>",
       With([](Settings& s) { s.withoutKnx = true; })},
      {"later element overrides, empty keeps",
       "<QuorAppHostConfig WithoutKNX=\"1\"/><QuorAppHostConfig WithoutKNX=\"0\"/>"
       "<QuorAppHostConfig WithoutKNX=\"\"/>",
       Settings{}},
      {"object-model path with entities",
       "<QuorAppHostConfig><ObjectModelConfig Path=\" /a&amp;b&quot;c \"/></QuorAppHostConfig>",
       With([](Settings& s) { s.objectModel = std::string(" /a&b\"c "); })},
      {"empty path keeps the earlier one",
       "<QuorAppHostConfig><ObjectModelConfig Path=\"/x\"/><ObjectModelConfig Path=\"\"/>"
       "</QuorAppHostConfig>",
       With([](Settings& s) { s.objectModel = std::string("/x"); })},
      {"nested elsewhere is ignored",
       "<Other><QuorAppHostConfig WithoutKNX=\"1\"/><ObjectModelConfig Path=\"/x\"/></Other>",
       Settings{}},
      {"data points accumulate, duplicates and stoul syntax",
       "<QuorAppHostConfig><ZebConfig><ResponseDps><Dp ObjId=\"100101\"/><Dp/><Dp ObjId=\"\"/>"
       "<Other ObjId=\"7\"/><Dp ObjId=\" +42abc\"/><Dp ObjId=\"100101\"/></ResponseDps>"
       "</ZebConfig><ZebConfig><ResponseDps><Dp ObjId=\"5\"/></ResponseDps></ZebConfig>"
       "</QuorAppHostConfig>",
       With([](Settings& s) {
         s.dataPoints = {100101, 42, 100101, 5};
       })},
      {"ObjId wraps like the 32-bit device",
       "<QuorAppHostConfig><ZebConfig><ResponseDps><Dp ObjId=\"4294967295\"/>"
       "<Dp ObjId=\"-1\"/></ResponseDps></ZebConfig></QuorAppHostConfig>",
       With([](Settings& s) {
         s.dataPoints = {4294967295u, 4294967295u};
       })},
      {"ZebConfig reads only its first child",
       "<QuorAppHostConfig><ZebConfig><Other/><ResponseDps><Dp ObjId=\"1\"/></ResponseDps>"
       "</ZebConfig></QuorAppHostConfig>",
       Settings{}},
      {"ZebConfig first child may not be text",
       "<QuorAppHostConfig><ZebConfig>x<ResponseDps><Dp ObjId=\"1\"/></ResponseDps>"
       "</ZebConfig></QuorAppHostConfig>",
       Settings{}},
      {"debugging inactive ignores its children",
       "<QuorAppHostConfig><Debugging Active=\"0\"><AppHost RootPath=\"/h\" "
       "DisableStartup=\"1\"/></Debugging></QuorAppHostConfig>",
       Settings{}},
      {"debugging without Active ignores its children",
       "<QuorAppHostConfig><Debugging><App RootPath=\"/n\"/></Debugging></QuorAppHostConfig>",
       Settings{}},
      {"debugging active reads every child",
       "<QuorAppHostConfig><Debugging Active=\"1\"><App RootPath=\"/n\"/>"
       "<ManagedApp RootPath=\"/m\"/><AppHost RootPath=\"/h\"/>"
       "<AppConnectorHost RootPath=\"/c\" DisableStartup=\"1\"/></Debugging></QuorAppHostConfig>",
       With([](Settings& s) {
         s.debug = true;
         s.nativeApp = std::string("/n");
         s.managedApp = std::string("/m");
         s.appHost = std::string("/h");
         s.connectorHost = std::string("/c");
         s.connectorDisabled = true;
       })},
      {"app host disabled disables the connector host",
       "<QuorAppHostConfig><Debugging Active=\"1\"><AppHost DisableStartup=\"1\"/>"
       "</Debugging></QuorAppHostConfig>",
       With([](Settings& s) {
         s.debug = true;
         s.hostDisabled = true;
         s.connectorDisabled = true;
       })},
      {"connector host disabled alone",
       "<QuorAppHostConfig><Debugging Active=\"1\"><AppConnectorHost DisableStartup=\"1\"/>"
       "</Debugging></QuorAppHostConfig>",
       With([](Settings& s) {
         s.debug = true;
         s.connectorDisabled = true;
       })},
      {"debug mode from an earlier element opens a later Debugging",
       "<QuorAppHostConfig><Debugging Active=\"1\"/><Debugging><App RootPath=\"/n\"/>"
       "</Debugging></QuorAppHostConfig>",
       With([](Settings& s) {
         s.debug = true;
         s.nativeApp = std::string("/n");
       })},
      {"debug children outside Debugging are ignored",
       "<QuorAppHostConfig Active=\"1\"><App RootPath=\"/n\"/></QuorAppHostConfig>", Settings{}},
      {"byte order mark", "\xEF\xBB\xBF<QuorAppHostConfig WithoutKNX=\"1\"/>",
       With([](Settings& s) { s.withoutKnx = true; })},
      {"declaration, comments and text carry nothing",
       "<?xml version=\"1.0\"?><!-- WithoutKNX=\"1\" --><QuorAppHostConfig>WithoutKNX"
       "</QuorAppHostConfig>",
       Settings{}},
  };
  for (const XmlCase& c : cases) {
    AppHostConfiguration config;
    EXPECT_TRUE(Load(config, c.xml)) << c.what;
    EXPECT_EQ(Snapshot(config), c.expected) << c.what;
  }
}

TEST(AppHostConfigXml, MalformedTextIsRefusedWithTheParserMessage) {
  AppHostConfiguration config;
  LogCapture capture;
  EXPECT_FALSE(Load(config, "<QuorAppHostConfig WithoutKNX=\"1\"/><Oops"));
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError, "Failed to read configuration file: expected >")));
  EXPECT_EQ(Snapshot(config), Settings{});
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

TEST(AppHostConfigFile, FullFileSetsEverySetting) {
  const TempFile file(kFullFile);
  AppHostConfiguration config;
  LogCapture capture;
  config.LoadConfigurationFile(file.Path());
  EXPECT_TRUE(capture.Lines().empty());
  EXPECT_EQ(Snapshot(config), With([](Settings& s) {
              s.debug = true;
              s.hostDisabled = true;
              s.connectorDisabled = true;  // follows the app host despite "0"
              s.terminateOnUpdate = true;
              s.objectModel = std::string("/opt/userdata/devicestack/quorOM/config.json");
              s.nativeApp = std::string("/opt/userdata/debug/app");
              s.managedApp = std::string("/opt/userdata/debug/managed");
              s.appHost = std::string("/opt/userdata/debug/apphost");
              s.connectorHost = std::string("/opt/userdata/debug/connector");
              s.dataPoints = {100101, 100103, 200109};
            }));
}

TEST(AppHostConfigFile, MalformedFileLogsBothLinesAndKeepsTheDefaults) {
  const TempFile file("<QuorAppHostConfig WithoutKNX=\"1\">");
  AppHostConfiguration config;
  LogCapture capture;
  config.LoadConfigurationFile(file.Path());
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError, "Failed to read configuration file: unexpected end of data"),
                          Pair(kError, "Falling back to standard configuration.")));
  EXPECT_EQ(Snapshot(config), Settings{});
}

TEST(AppHostConfigFile, MissingFileIsLoggedWithTheQuotedPath) {
  const TempFile dir("");
  const std::string path = dir.Dir() + "/a\"b&c.xml";
  AppHostConfiguration config;
  config.SetAppDebugMode(true);
  LogCapture capture;
  config.LoadConfigurationFile(path);
  EXPECT_THAT(capture.Lines(),
              ElementsAre(Pair(kError, "App host config file cannot be read from: \"" + dir.Dir() +
                                           "/a&\"b&&c.xml\"")));
  EXPECT_EQ(Snapshot(config), With([](Settings& s) { s.debug = true; }));
}

struct BadObjIdCase {
  const char* objId;
  bool outOfRange;
};

TEST(AppHostConfigFile, BadObjIdReachesTheCallerWithEarlierValuesKept) {
  for (const BadObjIdCase& c :
       {BadObjIdCase{"abc", false}, BadObjIdCase{" x1", false},
        BadObjIdCase{"99999999999999999999999", true}, BadObjIdCase{"4294967296", true},
        BadObjIdCase{"-4294967296", true}}) {
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
    EXPECT_EQ(Snapshot(config), With([](Settings& s) {
                s.withoutKnx = true;
                s.dataPoints = {7};
              }))
        << c.objId;
  }
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
