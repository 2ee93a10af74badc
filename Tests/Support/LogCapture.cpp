#include "Support/LogCapture.h"

#include <algorithm>

#include <gtest/gtest.h>
#include <log4cplus/appender.h>
#include <log4cplus/consoleappender.h>
#include <log4cplus/logger.h>
#include <log4cplus/spi/loggingevent.h>

#include <Quor/Log.h>

namespace QuorTest {

struct LogCapture::State {
  mutable std::mutex mutex;
  std::vector<LogRecord> records;
};

namespace {

// A record names the function a caller called: its short name matches its signature, and no
// helper in an unnamed namespace speaks for it.
void CheckNamedFunction(const LogRecord& record) {
  const std::string prefix = record.message.substr(0, record.message.find(" - "));
  const std::string head = prefix.substr(0, prefix.find('('));
  const std::string name = head.substr(head.find_last_of(' ') + 1);  // after the context
  const bool named = !name.empty() && record.function.find(name + "(") != std::string::npos;
  const bool helper = record.function.find("anonymous") != std::string::npos &&
                      ("/" + record.file).find("/Tests/") == std::string::npos;
  if (!named || helper) {
    ADD_FAILURE() << "record of " << record.function << " named " << name << ": " << record.body;
  }
}

class CapturingAppender : public log4cplus::Appender {
 public:
  explicit CapturingAppender(std::shared_ptr<LogCapture::State> state) : m_state(std::move(state)) {
    setName(LOG4CPLUS_TEXT("QuorTestCapture"));
  }
  ~CapturingAppender() override { destructorImpl(); }
  void close() override {}

 protected:
  void append(const log4cplus::spi::InternalLoggingEvent& event) override {
    LogRecord record;
    record.level = event.getLogLevel();
    record.message = event.getMessage();
    const auto separator = record.message.find(" - ");
    record.body =
        separator == std::string::npos ? record.message : record.message.substr(separator + 3);
    record.file = event.getFile();
    record.function = event.getFunction();
    CheckNamedFunction(record);
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->records.push_back(std::move(record));
  }

 private:
  std::shared_ptr<LogCapture::State> m_state;
};

}  // namespace

LogCapture::LogCapture(log4cplus::LogLevel level) : m_state(std::make_shared<State>()) {
  log4cplus::Logger logger = Quor::GetGlobalDefaultLogger();
  m_previousLevel = logger.getLogLevel();
  if (logger.getAppender(LOG4CPLUS_TEXT("QuorTestCapture"))) {
    logger.removeAppender(LOG4CPLUS_TEXT("QuorTestCapture"));
  }
  logger.addAppender(log4cplus::SharedAppenderPtr(new CapturingAppender(m_state)));
  logger.setLogLevel(level);
}

LogCapture::~LogCapture() {
  log4cplus::Logger logger = Quor::GetGlobalDefaultLogger();
  logger.removeAppender(LOG4CPLUS_TEXT("QuorTestCapture"));
  logger.setLogLevel(m_previousLevel);
}

std::vector<LogRecord> LogCapture::Records() const {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  return m_state->records;
}

std::vector<std::pair<int, std::string>> LogCapture::Lines() const {
  std::vector<std::pair<int, std::string>> lines;
  for (const auto& record : Records()) {
    lines.emplace_back(record.level, record.body);
  }
  return lines;
}

bool LogCapture::Contains(const std::pair<int, std::string>& line) const {
  const auto lines = Lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void LogCapture::Clear() {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  m_state->records.clear();
}

void LogToStderr() {
  log4cplus::Logger::getRoot().addAppender(
      log4cplus::SharedAppenderPtr(new log4cplus::ConsoleAppender(true, true)));
}

}  // namespace QuorTest
