// App host configuration: the built-in defaults, what the XML file changes, and the settings.
#include <cstddef>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include <log4cplus/configurator.h>
#include <log4cplus/initializer.h>

#include <QuorObjectModel/AppHostConfig.h>

int main() {
  log4cplus::Initializer logInitializer;
  log4cplus::BasicConfigurator::doConfigure();

  Quor::AppHostConfiguration config;
  // The fixed path, /opt/userdata/etc/quorapphost/quorapphostconfig.xml; a missing file is
  // logged and leaves the defaults. A Dp's ObjId that is no number, or above 2^32 - 1, throws
  // from std::stoul and is not caught inside; the values before it stay applied. The
  // exception's text is only "stoul": the file's name must come from here.
  try {
    config.LoadConfigurationFile();
  } catch (const std::invalid_argument& error) {
    std::fprintf(stderr, "%s: an ObjId is no number (%s)\n",
                 Quor::AppHostConfiguration::kConfigurationFilePath, error.what());
    return 1;
  } catch (const std::out_of_range& error) {
    std::fprintf(stderr, "%s: an ObjId is above 4294967295 (%s)\n",
                 Quor::AppHostConfiguration::kConfigurationFilePath, error.what());
    return 1;
  }
  // Data points accumulate over loads: those of the file, if there is one, come first.
  const std::size_t fromFile = config.GetResponseDataPoints().size();

  // The same format from memory (parsed in place, so the text must be writable).
  std::string xml =
      "<QuorAppHostConfig WithoutKNX=\"1\">"
      "<ObjectModelConfig Path=\"/opt/userdata/devicestack/quorOM\"/>"
      "<ZebConfig><ResponseDps><Dp ObjId=\"100109\"/><Dp ObjId=\"100111\"/></ResponseDps>"
      "</ZebConfig>"
      "</QuorAppHostConfig>";
  std::vector<char> text(xml.begin(), xml.end());
  text.push_back('\0');
  try {
    if (!config.LoadAppHostConfigXML(text.data())) {
      return 1;  // not well-formed: nothing applied
    }
  } catch (const std::logic_error& error) {  // std::invalid_argument, std::out_of_range
    std::fprintf(stderr, "configuration: bad ObjId (%s)\n", error.what());
    return 1;
  }

  std::printf("without KNX: %s\n", config.IsAppHostWithoutKNX() ? "yes" : "no");
  std::printf("object model configuration: %s\n",
              config.GetPathObjectModelConfig().value_or("(default)").c_str());
  for (const unsigned int id : config.GetResponseDataPoints()) {
    std::printf("response data point %u\n", id);
  }
  return config.IsAppHostWithoutKNX() && config.GetResponseDataPoints().size() == fromFile + 2 ? 0
                                                                                               : 1;
}
