#include "QuorObjectModel/AppHostConfig.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <string_view>

#include <boost/filesystem/operations.hpp>
#include <rapidxml/rapidxml.hpp>

#include <Quor/Log.h>

namespace Quor {

namespace {

using Node = rapidxml::xml_node<char>;

struct FlagSetting {
  const char* element;
  const char* attribute;
  std::atomic<bool>& flag;
};

struct TextSetting {
  const char* element;
  const char* attribute;
  boost::optional<std::string>& text;
};

bool HasName(const Node& node, std::string_view name) {
  return std::string_view(node.name(), node.name_size()) == name;
}

// The first attribute of that name; a missing or empty one counts as absent.
boost::optional<std::string_view> AttributeValue(const Node& node, const char* name) {
  const rapidxml::xml_attribute<char>* attribute = node.first_attribute(name);
  if (attribute == nullptr || attribute->value_size() == 0) {
    return boost::none;
  }
  return std::string_view(attribute->value(), attribute->value_size());
}

void ApplyFlag(const Node& node, const char* attribute, std::atomic<bool>& flag) {
  if (const auto value = AttributeValue(node, attribute)) {
    flag.store(*value != "0");
  }
}

void ApplyText(const Node& node, const char* attribute, boost::optional<std::string>& text) {
  if (const auto value = AttributeValue(node, attribute)) {
    text = std::string(*value);
  }
}

// std::stoul with the range of the device, where unsigned long has 32 bits: the same
// texts are refused, and negative texts wrap modulo 2^32 as strtoul does there.
unsigned int ParseObjId(const std::string& text) {
  const unsigned long value = std::stoul(text);
  const bool negative = text[text.find_first_not_of(" \t\n\v\f\r")] == '-';
  const unsigned long magnitude = negative ? 0 - value : value;
  if (magnitude > std::numeric_limits<std::uint32_t>::max()) {
    throw std::out_of_range("stoul");
  }
  return static_cast<unsigned int>(value);
}

void AppendResponseDataPoints(const Node& zebConfig, std::vector<unsigned int>& dataPoints) {
  // Only the first child counts: a "ResponseDps" further down is not read.
  const Node* responseDps = zebConfig.first_node();
  if (responseDps == nullptr || !HasName(*responseDps, "ResponseDps")) {
    return;
  }
  for (const Node* dp = responseDps->first_node("Dp"); dp != nullptr; dp = dp->next_sibling("Dp")) {
    if (const auto objId = AttributeValue(*dp, "ObjId")) {
      dataPoints.push_back(ParseObjId(std::string(*objId)));
    }
  }
}

// Where each setting of the file goes.
struct Targets {
  std::array<FlagSetting, 2> hostFlags;
  std::array<FlagSetting, 2> debugFlags;
  std::array<TextSetting, 4> debugTexts;
  boost::optional<std::string>& objectModelConfig;
  std::vector<unsigned int>& responseDataPoints;
  std::atomic<bool>& debugMode;
};

// The children of a Debugging element count only while it says debugging is active.
void ApplyDebugging(const Node& debugging, const Targets& targets) {
  ApplyFlag(debugging, "Active", targets.debugMode);
  if (!targets.debugMode.load()) {
    return;
  }
  for (const Node* entry = debugging.first_node(); entry != nullptr;
       entry = entry->next_sibling()) {
    for (const FlagSetting& setting : targets.debugFlags) {
      if (HasName(*entry, setting.element)) {
        ApplyFlag(*entry, setting.attribute, setting.flag);
      }
    }
    for (const TextSetting& setting : targets.debugTexts) {
      if (HasName(*entry, setting.element)) {
        ApplyText(*entry, setting.attribute, setting.text);
      }
    }
  }
}

void ApplyConfig(const Node& config, const Targets& targets) {
  for (const FlagSetting& setting : targets.hostFlags) {
    ApplyFlag(config, setting.attribute, setting.flag);
  }
  for (const Node* child = config.first_node(); child != nullptr; child = child->next_sibling()) {
    if (HasName(*child, "ObjectModelConfig")) {
      ApplyText(*child, "Path", targets.objectModelConfig);
    } else if (HasName(*child, "ZebConfig")) {
      AppendResponseDataPoints(*child, targets.responseDataPoints);
    } else if (HasName(*child, "Debugging")) {
      ApplyDebugging(*child, targets);
    }
  }
}

}  // namespace

boost::optional<std::vector<char>> LoadFile(const std::string& path) {
  // A directory opens as a stream but has no bytes to read.
  boost::system::error_code error;
  if (boost::filesystem::is_directory(path, error)) {
    return boost::none;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) {
    return boost::none;
  }
  // istream::read turns a failing read of the stream buffer (an I/O error of the flash) into
  // badbit; an istreambuf_iterator would let its exception out.
  std::vector<char> bytes;
  char chunk[4096];
  while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
    bytes.insert(bytes.end(), chunk, chunk + file.gcount());
  }
  if (file.bad()) {
    return boost::none;
  }
  return bytes;
}

AppHostConfiguration::AppHostConfiguration()
    : m_appDebugMode(false),
      m_appHostStartupDisabled(false),
      m_appConnectorHostStartupDisabled(false),
      m_appHostWithoutKnx(false),
      m_appHostTerminateOnFirmwareUpdate(false) {}

bool AppHostConfiguration::IsInAppDebugMode() const {
  return m_appDebugMode.load();
}

bool AppHostConfiguration::IsAppHostStartupDisabled() const {
  return m_appHostStartupDisabled.load();
}

bool AppHostConfiguration::IsAppConnectorHostStartupDisabled() const {
  return m_appConnectorHostStartupDisabled.load();
}

bool AppHostConfiguration::IsAppHostWithoutKNX() const {
  return m_appHostWithoutKnx.load();
}

bool AppHostConfiguration::IsAppHostTerminateOnFirmwareUpdate() const {
  return m_appHostTerminateOnFirmwareUpdate.load();
}

void AppHostConfiguration::SetAppDebugMode(bool active) {
  m_appDebugMode.store(active);
}

void AppHostConfiguration::SetAppHostStartupDisabled(bool disabled) {
  m_appHostStartupDisabled.store(disabled);
}

bool AppHostConfiguration::ReplaceAppDebugMode(bool active) {
  return m_appDebugMode.exchange(active);
}

bool AppHostConfiguration::SetAppConnectorHostStartupDisabled(bool disabled) {
  return m_appConnectorHostStartupDisabled.exchange(disabled);
}

const boost::optional<std::string>& AppHostConfiguration::GetRootPathNativeApp() const {
  return m_rootPathNativeApp;
}

const boost::optional<std::string>& AppHostConfiguration::GetRootPathManagedApp() const {
  return m_rootPathManagedApp;
}

const boost::optional<std::string>& AppHostConfiguration::GetRootPathAppHost() const {
  return m_rootPathAppHost;
}

const boost::optional<std::string>& AppHostConfiguration::GetRootPathAppConnectorHost() const {
  return m_rootPathAppConnectorHost;
}

const boost::optional<std::string>& AppHostConfiguration::GetPathObjectModelConfig() const {
  return m_pathObjectModelConfig;
}

const std::vector<unsigned int>& AppHostConfiguration::GetResponseDataPoints() const {
  return m_responseDataPoints;
}

namespace {

// Both overloads log as themselves: the host's call of the fixed path names that call.
void LoadConfigurationFrom(AppHostConfiguration& configuration, const std::string& path,
                           const LogSite& site) {
  boost::optional<std::vector<char>> text = LoadFile(path);
  if (!text) {
    QUOR_LOG_ERROR_AT(site,
                      "App host config file cannot be read from: " << std::quoted(path, '"', '&'));
    return;
  }
  text->push_back('\0');
  if (!configuration.LoadAppHostConfigXML(text->data())) {
    QUOR_LOG_ERROR_AT(site, "Falling back to standard configuration.");
  }
}

}  // namespace

void AppHostConfiguration::LoadConfigurationFile() {
  LoadConfigurationFrom(*this, kConfigurationFilePath, QUOR_LOG_SITE);
}

void AppHostConfiguration::LoadConfigurationFile(const std::string& path) {
  LoadConfigurationFrom(*this, path, QUOR_LOG_SITE);
}

bool AppHostConfiguration::LoadAppHostConfigXML(char* text) {
  // The whole text is parsed before any value is taken, so malformed XML applies nothing.
  rapidxml::xml_document<char> document;
  try {
    document.parse<rapidxml::parse_default>(text);
  } catch (const rapidxml::parse_error& error) {
    QUOR_LOG_ERROR("Failed to read configuration file: " << error.what());
    return false;
  }

  const Targets targets{
      {{{"QuorAppHostConfig", "WithoutKNX", m_appHostWithoutKnx},
        {"QuorAppHostConfig", "TerminateOnFirmwareUpdate", m_appHostTerminateOnFirmwareUpdate}}},
      {{{"AppHost", "DisableStartup", m_appHostStartupDisabled},
        {"AppConnectorHost", "DisableStartup", m_appConnectorHostStartupDisabled}}},
      {{{"App", "RootPath", m_rootPathNativeApp},
        {"ManagedApp", "RootPath", m_rootPathManagedApp},
        {"AppHost", "RootPath", m_rootPathAppHost},
        {"AppConnectorHost", "RootPath", m_rootPathAppConnectorHost}}},
      m_pathObjectModelConfig,
      m_responseDataPoints,
      m_appDebugMode,
  };
  for (const Node* config = document.first_node("QuorAppHostConfig"); config != nullptr;
       config = config->next_sibling("QuorAppHostConfig")) {
    ApplyConfig(*config, targets);
  }

  // Runs on every successful load, also one without settings: without the app host there is
  // nothing for the app-connector host to connect to.
  if (m_appHostStartupDisabled.load()) {
    m_appConnectorHostStartupDisabled.store(true);
  }
  return true;
}

}  // namespace Quor
