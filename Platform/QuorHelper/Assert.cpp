#include "QuorHelper/Assert.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "QuorHelper/Logging.h"

namespace Quor {

void AssertionFailed(const char* const* pieces) {
  // "function file:line QUOR_ASSERT2(expression) failed"
  std::string text;
  int index = 0;
  for (const char* const* piece = pieces; piece && *piece; ++piece, ++index) {
    text += index == 1 ? " " : index == 2 ? ":" : "";
    text += *piece;
  }
  const log4cplus::Logger& logger = GetGlobalDefaultLogger();
  if (logger.isEnabledFor(log4cplus::FATAL_LOG_LEVEL)) {
    std::ostringstream record;
    record << GetLoggingContext()
           << PrettyFunctionNamePrinter{__func__, __FILE__, __LINE__}.Format() << " - "
           << LoggingRecursionPadding{0} << text;
    logger.forcedLog(log4cplus::FATAL_LOG_LEVEL, record.str(), __FILE__, __LINE__,
                     __PRETTY_FUNCTION__);
  }
  // Also on stderr: the process ends here, possibly before any appender flushes.
  std::fprintf(stderr, "Assertion failed: %s\n", text.c_str());
  std::abort();
}

}  // namespace Quor
