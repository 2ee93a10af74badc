#pragma once
// The global logger and the record layout shared by every component:
// context, function name, " - ", recursion padding, message.

#include <ostream>
#include <string>

#include <log4cplus/logger.h>
#include <log4cplus/loglevel.h>
#include <log4cplus/tstring.h>

#include "QuorHelper/Export.h"

namespace Quor {

QUORHELPER_API const log4cplus::Logger& GetGlobalDefaultLogger();

// Text put first in every record; empty unless a host sets one.
QUORHELPER_API std::string GetLoggingContext();
QUORHELPER_API void SetLoggingContext(std::string context);

// Formats "shortName(file:line)" with the file's base name.
struct QUORHELPER_API PrettyFunctionNamePrinter {
  const char* shortName;
  const char* file;
  int line;
  std::string Format() const;
};

struct LoggingRecursionPadding {
  int depth;
};
QUORHELPER_API std::ostream& operator<<(std::ostream& os, LoggingRecursionPadding padding);

// Record stream wrapper: bytes print as decimal numbers, everything else as usual.
struct LogEntryFormatter {
  std::ostream& stream;
};
inline const LogEntryFormatter& operator<<(const LogEntryFormatter& f, unsigned char byte) {
  f.stream << static_cast<unsigned>(byte);
  return f;
}
inline const LogEntryFormatter& operator<<(const LogEntryFormatter& f, signed char byte) {
  f.stream << static_cast<int>(byte);
  return f;
}
template <class T>
const LogEntryFormatter& operator<<(const LogEntryFormatter& f, const T& value) {
  f.stream << value;
  return f;
}

}  // namespace Quor
