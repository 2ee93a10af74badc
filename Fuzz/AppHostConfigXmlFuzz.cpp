// Any text as the app host's XML configuration. Only the number parsing of "ObjId" may
// throw (std::invalid_argument, std::out_of_range); malformed XML changes nothing.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "FuzzSupport.h"
#include "QuorObjectModel/AppHostConfig.h"

namespace {

bool IsUntouched(const Quor::AppHostConfiguration& config) {
  return !config.IsInAppDebugMode() && !config.IsAppHostStartupDisabled() &&
         !config.IsAppConnectorHostStartupDisabled() && !config.IsAppHostWithoutKNX() &&
         !config.IsAppHostTerminateOnFirmwareUpdate() && !config.GetRootPathNativeApp() &&
         !config.GetRootPathManagedApp() && !config.GetRootPathAppHost() &&
         !config.GetRootPathAppConnectorHost() && !config.GetPathObjectModelConfig() &&
         config.GetResponseDataPoints().empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  QuorFuzz::LogEverythingNowhere();
  std::vector<char> text(data, data + size);
  text.push_back('\0');

  Quor::AppHostConfiguration config;
  try {
    if (!config.LoadAppHostConfigXML(text.data())) {
      QUOR_FUZZ_CHECK(IsUntouched(config));
    }
    // After a complete load, disabling the app host has disabled the app-connector host.
    QUOR_FUZZ_CHECK(!config.IsAppHostStartupDisabled() ||
                    config.IsAppConnectorHostStartupDisabled());
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
  return 0;
}
