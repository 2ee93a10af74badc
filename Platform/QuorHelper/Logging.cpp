#include "QuorHelper/Logging.h"

#include <cstring>
#include <mutex>

namespace Quor {

namespace {
std::mutex contextMutex;
std::string& Context() {
  static std::string context;
  return context;
}
}  // namespace

const log4cplus::Logger& GetGlobalDefaultLogger() {
  static const log4cplus::Logger logger = log4cplus::Logger::getRoot();
  return logger;
}

std::string GetLoggingContext() {
  std::lock_guard<std::mutex> lock(contextMutex);
  return Context();
}

void SetLoggingContext(std::string context) {
  std::lock_guard<std::mutex> lock(contextMutex);
  Context() = std::move(context);
}

std::string PrettyFunctionNamePrinter::Format() const {
  const char* base = file ? std::strrchr(file, '/') : nullptr;
  base = base ? base + 1 : (file ? file : "");
  return std::string(shortName ? shortName : "") + "(" + base + ":" + std::to_string(line) + ")";
}

std::ostream& operator<<(std::ostream& os, LoggingRecursionPadding padding) {
  for (int i = 0; i < padding.depth; ++i) {
    os << "  ";
  }
  return os;
}

}  // namespace Quor
