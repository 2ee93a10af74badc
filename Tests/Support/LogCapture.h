#pragma once
// Captures log records of the global logger so tests can assert level and message body.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <log4cplus/loglevel.h>

namespace QuorTest {

struct LogRecord {
  int level;
  std::string message;  // the whole record text
  std::string body;     // the text after the " - " that ends the record prefix
  std::string file;
  std::string function;
};

class LogCapture {
 public:
  // Installs a capturing appender on the global logger and sets its level.
  explicit LogCapture(log4cplus::LogLevel level = log4cplus::TRACE_LOG_LEVEL);
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<LogRecord> Records() const;
  // (level, body) of every record, in order; handy with gmock's ElementsAre.
  std::vector<std::pair<int, std::string>> Lines() const;
  bool Contains(const std::pair<int, std::string>& line) const;
  void Clear();

  struct State;

 private:
  std::shared_ptr<State> m_state;
  log4cplus::LogLevel m_previousLevel;
};

// For death tests: the dying child's records reach its standard error, where they are matched.
void LogToStderr();

}  // namespace QuorTest
