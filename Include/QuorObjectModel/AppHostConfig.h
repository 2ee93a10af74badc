#pragma once
/// \file
/// Settings of the app host and the app-connector host, read from their XML file.
/// \ingroup configuration

#include <atomic>
#include <string>
#include <vector>

#include <boost/optional.hpp>

#include "QuorObjectModel/Export.h"

namespace Quor {

/// Every byte of the file, or nothing when it cannot be opened or read. Logs nothing.
/// \ingroup configuration
QUOR_API boost::optional<std::vector<char>> LoadFile(const std::string& path);

/// The app host's configuration: built-in defaults, overridden by what the XML file says.
///
/// Construct it and call LoadConfigurationFile() once, then read the settings. The flags may be
/// read and changed from any thread; paths and data points must not be read while a load is
/// running. Loads apply on top of the current values, setters change only memory: the file is
/// never written.
///
/// How the file's values read:
/// - A flag attribute reads as false only for the value "0"; every other non-empty value reads
///   as true, "false" and "no" included. An empty or missing attribute leaves the flag as it
///   was.
/// - After every successful load, a disabled app-host start-up disables the app-connector
///   host's start-up too, whatever "AppConnectorHost" says; the reverse does not hold.
/// - The children of "Debugging" are read only when its "Active" flag is true.
/// \ingroup configuration
class QUOR_API AppHostConfiguration {
 public:
  /// Where LoadConfigurationFile() reads from.
  static constexpr const char* kConfigurationFilePath =
      "/opt/userdata/etc/quorapphost/quorapphostconfig.xml";

  /// Built-in defaults; does not read the file.
  AppHostConfiguration();

  /// Attribute "Active" of "Debugging": apps run in debug mode.
  bool IsInAppDebugMode() const;
  /// "DisableStartup" of "AppHost" in an active "Debugging": the app host is not to be started.
  bool IsAppHostStartupDisabled() const;
  /// "DisableStartup" of "AppConnectorHost" in an active "Debugging": the app-connector host is
  /// not to be started. Also true after a load that leaves the app host's start-up disabled.
  bool IsAppConnectorHostStartupDisabled() const;
  /// Attribute "WithoutKNX" of the root: the app host runs without the KNX device.
  bool IsAppHostWithoutKNX() const;
  /// Attribute "TerminateOnFirmwareUpdate" of the root: the app host ends on a firmware update.
  bool IsAppHostTerminateOnFirmwareUpdate() const;

  /// Changes the debug-mode flag in memory.
  void SetAppDebugMode(bool active);
  /// Changes the app host's start-up flag in memory.
  void SetAppHostStartupDisabled(bool disabled);
  /// Changes the debug-mode flag in memory; returns the previous value.
  bool ReplaceAppDebugMode(bool active);
  /// Changes the app-connector host's start-up flag in memory; returns the previous value.
  bool SetAppConnectorHostStartupDisabled(bool disabled);

  /// "RootPath" of "App" in an active "Debugging": where native apps live; empty unless given.
  const boost::optional<std::string>& GetRootPathNativeApp() const;
  /// "RootPath" of "ManagedApp" in an active "Debugging"; empty unless given.
  const boost::optional<std::string>& GetRootPathManagedApp() const;
  /// "RootPath" of "AppHost" in an active "Debugging"; empty unless given.
  const boost::optional<std::string>& GetRootPathAppHost() const;
  /// "RootPath" of "AppConnectorHost" in an active "Debugging"; empty unless given.
  const boost::optional<std::string>& GetRootPathAppConnectorHost() const;
  /// "Path" of "ObjectModelConfig"; empty unless given.
  const boost::optional<std::string>& GetPathObjectModelConfig() const;
  /// The "ObjId" of each "Dp" in "ResponseDps" of "ZebConfig", in file order, duplicates kept.
  const std::vector<unsigned int>& GetResponseDataPoints() const;

  /// Reads kConfigurationFilePath. A missing file or malformed XML is logged at ERROR and
  /// changes nothing; the call returns normally. An "ObjId" is read as std::stoul reads it,
  /// unlogged: a sign is taken ("-1" gives 4294967295) and the number ends at the first
  /// character that is no digit ("12abc" gives 12). One that does not start with a number
  /// throws std::invalid_argument, one above 2^32 - 1 std::out_of_range, whose what() is
  /// only "stoul", with the values before it applied: catch them.
  void LoadConfigurationFile();
  /// The same from another file, with the same failures; for tests and tools.
  void LoadConfigurationFile(const std::string& path);
  /// Parses the zero-terminated text in place (the buffer is modified) and applies it.
  /// False only when the text is not well-formed XML, logged at ERROR; then nothing is
  /// applied. An unconvertible "ObjId" throws as for LoadConfigurationFile(). A text without
  /// a "QuorAppHostConfig" element changes nothing and returns true.
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
