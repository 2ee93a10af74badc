// App host configuration: the built-in defaults, what the XML file changes, and the settings.
#include <cstdio>
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
  // logged and leaves the defaults.
  config.LoadConfigurationFile();

  // The same format from memory (parsed in place, so the text must be writable).
  std::string xml =
      "<QuorAppHostConfig WithoutKNX=\"1\">"
      "<ObjectModelConfig Path=\"/opt/userdata/devicestack/quorOM\"/>"
      "<ZebConfig><ResponseDps><Dp ObjId=\"100109\"/><Dp ObjId=\"100111\"/></ResponseDps>"
      "</ZebConfig>"
      "</QuorAppHostConfig>";
  std::vector<char> text(xml.begin(), xml.end());
  text.push_back('\0');
  if (!config.LoadAppHostConfigXML(text.data())) {
    return 1;  // not well-formed: nothing applied
  }

  std::printf("without KNX: %s\n", config.IsAppHostWithoutKNX() ? "yes" : "no");
  std::printf("object model configuration: %s\n",
              config.GetPathObjectModelConfig().value_or("(default)").c_str());
  for (const unsigned int id : config.GetResponseDataPoints()) {
    std::printf("response data point %u\n", id);
  }
  return config.IsAppHostWithoutKNX() && config.GetResponseDataPoints().size() == 2 ? 0 : 1;
}
