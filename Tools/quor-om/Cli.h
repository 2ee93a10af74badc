#pragma once
// The top of quor-om: the command line read, the command found and run, with its usage and
// exit status.

#include <functional>
#include <string>
#include <vector>

#include <boost/optional.hpp>

#include <log4cplus/loglevel.h>

#include "Arguments.h"

namespace QuorOm {

// Options of the tool itself, accepted anywhere on the command line.
struct GlobalOptions {
  log4cplus::LogLevel logLevel = log4cplus::WARN_LOG_LEVEL;
  bool logLevelGiven = false;
  boost::optional<std::string> logConfig;
};

// Sets up logging before the command runs; a message makes it a usage error.
using LogSetup = std::function<boost::optional<std::string>(const GlobalOptions&)>;

// The whole tool: arguments without the program name, exit status back.
int Run(const std::vector<std::string>& words, Streams& io, const LogSetup& setUpLogging);

}  // namespace QuorOm
