#pragma once
// Settings of the app host and the app-connector host, read from their XML file.

#include <atomic>
#include <string>
#include <vector>

#include <boost/optional.hpp>

#include "QuorObjectModel/Export.h"

namespace Quor {

// Every byte of the file, or nothing when it cannot be opened or read. Logs nothing.
QUOR_API boost::optional<std::vector<char>> LoadFile(const std::string& path);

// The flags may be read and changed from any thread; paths and data points must not be read
// while a load is running. Loads apply on top of the current values, setters change only
// memory: the file is never written.
class QUOR_API AppHostConfiguration {
 public:
  static constexpr const char* kConfigurationFilePath =
      "/opt/userdata/etc/quorapphost/quorapphostconfig.xml";

  // Built-in defaults; does not read the file.
  AppHostConfiguration();

  bool IsInAppDebugMode() const;
  bool IsAppHostStartupDisabled() const;
  bool IsAppConnectorHostStartupDisabled() const;
  bool IsAppHostWithoutKNX() const;
  bool IsAppHostTerminateOnFirmwareUpdate() const;

  void SetAppDebugMode(bool active);
  void SetAppHostStartupDisabled(bool disabled);
  // Both return the previous value.
  bool ReplaceAppDebugMode(bool active);
  bool SetAppConnectorHostStartupDisabled(bool disabled);

  const boost::optional<std::string>& GetRootPathNativeApp() const;
  const boost::optional<std::string>& GetRootPathManagedApp() const;
  const boost::optional<std::string>& GetRootPathAppHost() const;
  const boost::optional<std::string>& GetRootPathAppConnectorHost() const;
  const boost::optional<std::string>& GetPathObjectModelConfig() const;
  // Object-model ids in file order, duplicates kept.
  const std::vector<unsigned int>& GetResponseDataPoints() const;

  // Reads kConfigurationFilePath. A missing file or malformed XML is logged and changes
  // nothing. An unconvertible "ObjId" throws std::invalid_argument or std::out_of_range
  // from std::stoul, with the values before it applied.
  void LoadConfigurationFile();
  // The same from another file; for tests and tools.
  void LoadConfigurationFile(const std::string& path);
  // Parses the zero-terminated text in place (the buffer is modified) and applies it.
  // False only when the text is not well-formed XML; then nothing is applied.
  bool LoadAppHostConfigXML(char* text);

 private:
  std::atomic<bool> m_appDebugMode;
  std::atomic<bool> m_appHostStartupDisabled;
  std::atomic<bool> m_appConnectorHostStartupDisabled;
  std::atomic<bool> m_appHostWithoutKnx;
  std::atomic<bool> m_appHostTerminateOnFirmwareUpdate;
  boost::optional<std::string> m_rootPathNativeApp;
  boost::optional<std::string> m_rootPathManagedApp;
  boost::optional<std::string> m_rootPathAppHost;
  boost::optional<std::string> m_rootPathAppConnectorHost;
  boost::optional<std::string> m_pathObjectModelConfig;
  std::vector<unsigned int> m_responseDataPoints;
};

}  // namespace Quor
