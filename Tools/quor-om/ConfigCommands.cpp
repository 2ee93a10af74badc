// config: the app host configuration as the host would load it.

#include <ostream>
#include <stdexcept>
#include <string>

#include <QuorObjectModel/AppHostConfig.h>

#include "Commands.h"

namespace QuorOm {

namespace {

void PrintSetting(std::ostream& os, const std::string& name, const std::string& value) {
  os << name << std::string(name.size() < 33 ? 33 - name.size() : 1, ' ') << value << '\n';
}

void PrintFlag(std::ostream& os, const std::string& name, bool value) {
  PrintSetting(os, name, value ? "true" : "false");
}

void PrintPath(std::ostream& os, const std::string& name,
               const boost::optional<std::string>& path) {
  PrintSetting(os, name, path ? *path : "(none)");
}

int Config(Args& args, Streams& io) {
  const auto file = args.NextIfAny();
  args.ExpectEnd();
  const std::string path = file ? *file : Quor::AppHostConfiguration::kConfigurationFilePath;
  Quor::AppHostConfiguration config;
  // The library lets a bad "ObjId" escape as the number parser's exception, whose text
  // ("stoul") tells a user nothing.
  try {
    if (file) {
      config.LoadConfigurationFile(*file);
    } else {
      config.LoadConfigurationFile();
    }
  } catch (const std::invalid_argument&) {
    io.err << "quor-om: " << path << ": an ObjId is not a number\n";
    return kExitRefused;
  } catch (const std::out_of_range&) {
    io.err << "quor-om: " << path << ": an ObjId is above 4294967295\n";
    return kExitRefused;
  }
  std::string dataPoints;
  for (const unsigned int id : config.GetResponseDataPoints()) {
    dataPoints += (dataPoints.empty() ? "" : " ") + std::to_string(id);
  }
  std::ostream& os = io.out;
  PrintSetting(os, "file", path);
  PrintFlag(os, "WithoutKNX", config.IsAppHostWithoutKNX());
  PrintFlag(os, "TerminateOnFirmwareUpdate", config.IsAppHostTerminateOnFirmwareUpdate());
  PrintPath(os, "ObjectModelConfig.Path", config.GetPathObjectModelConfig());
  PrintSetting(os, "ResponseDps", dataPoints.empty() ? "(none)" : dataPoints);
  PrintFlag(os, "Debugging.Active", config.IsInAppDebugMode());
  PrintPath(os, "App.RootPath", config.GetRootPathNativeApp());
  PrintPath(os, "ManagedApp.RootPath", config.GetRootPathManagedApp());
  PrintPath(os, "AppHost.RootPath", config.GetRootPathAppHost());
  PrintFlag(os, "AppHost.DisableStartup", config.IsAppHostStartupDisabled());
  PrintPath(os, "AppConnectorHost.RootPath", config.GetRootPathAppConnectorHost());
  PrintFlag(os, "AppConnectorHost.DisableStartup", config.IsAppConnectorHostStartupDisabled());
  return kExitOk;
}

}  // namespace

std::vector<Command> ConfigCommands() {
  return {
      {"config",
       "[FILE]",
       "load the app host configuration and print every setting",
       "Loads the app host configuration from its fixed path, or from FILE, the way the host\n"
       "does (a missing or malformed file leaves the defaults, with the library's ERROR record)\n"
       "and prints every setting, named after its XML element and attribute.\n",
       Config,
       {}},
  };
}

}  // namespace QuorOm
