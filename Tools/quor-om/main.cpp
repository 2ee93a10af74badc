// quor-om: command-line front over the object-model library.

#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <log4cplus/configurator.h>
#include <log4cplus/consoleappender.h>
#include <log4cplus/initializer.h>
#include <log4cplus/layout.h>
#include <log4cplus/logger.h>

#include <Quor/Log.h>

#include "Cli.h"

namespace {

// Records go to stderr as the library writes them (context, function, " - ", message), after
// their level; a properties file replaces all of that, and --log-level still sets the level.
boost::optional<std::string> SetUpLogging(const QuorOm::GlobalOptions& options) {
  log4cplus::Logger logger = Quor::GetGlobalDefaultLogger();
  if (options.logConfig) {
    if (!std::ifstream(*options.logConfig)) {
      return "cannot read log configuration '" + *options.logConfig + "'";
    }
    log4cplus::PropertyConfigurator::doConfigure(*options.logConfig);
    if (options.logLevelGiven) {
      logger.setLogLevel(options.logLevel);
    }
    return boost::none;
  }
  log4cplus::SharedAppenderPtr appender(new log4cplus::ConsoleAppender(true, true));
  appender->setLayout(std::make_unique<log4cplus::PatternLayout>(LOG4CPLUS_TEXT("%-5p %m%n")));
  logger.addAppender(appender);
  logger.setLogLevel(options.logLevel);
  return boost::none;
}

}  // namespace

int main(int argc, char** argv) {
  log4cplus::Initializer logInitializer;
  std::ios::sync_with_stdio(false);
  QuorOm::Streams io{std::cin, std::cout, std::cerr};
  const int status = QuorOm::Run(std::vector<std::string>(argv + 1, argv + argc), io, SetUpLogging);
  std::cout.flush();
  return status;
}
