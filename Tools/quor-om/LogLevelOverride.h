#pragma once
// Mutes the library's log for a scope: where refusals and faults are what a command is about,
// not news for stderr.

#include <log4cplus/logger.h>
#include <log4cplus/loglevel.h>

#include <QuorHelper/Logging.h>

namespace QuorOm {

class LogLevelOverride {
 public:
  explicit LogLevelOverride(bool mute)
      : m_logger(Quor::GetGlobalDefaultLogger()), m_level(m_logger.getLogLevel()) {
    if (mute) {
      m_logger.setLogLevel(log4cplus::OFF_LOG_LEVEL);
    }
  }
  ~LogLevelOverride() { m_logger.setLogLevel(m_level); }
  LogLevelOverride(const LogLevelOverride&) = delete;
  LogLevelOverride& operator=(const LogLevelOverride&) = delete;

 private:
  log4cplus::Logger m_logger;
  log4cplus::LogLevel m_level;
};

}  // namespace QuorOm
