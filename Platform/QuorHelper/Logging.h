#pragma once
/// \file
/// The helper library's global logger and the record layout shared by every component:
/// context, function name, " - ", recursion padding, message. Part of the platform contract
/// the library relies on.
/// \ingroup platform

#include <ostream>
#include <string>

#include <log4cplus/logger.h>
#include <log4cplus/loglevel.h>
#include <log4cplus/tstring.h>

#include "QuorHelper/Export.h"

namespace Quor {

/// The logger every record of the library goes to: log4cplus's root logger. The host
/// configures it (appenders, level); the library never does.
/// \ingroup platform
QUORHELPER_API const log4cplus::Logger& GetGlobalDefaultLogger();

/// Text put first in every record; empty unless a host sets one.
/// \ingroup platform
QUORHELPER_API std::string GetLoggingContext();
/// Sets the text put first in every record, for every thread.
/// \ingroup platform
QUORHELPER_API void SetLoggingContext(std::string context);

/// Formats "shortName(file:line)" with the file's base name.
/// \ingroup platform
struct QUORHELPER_API PrettyFunctionNamePrinter {
  const char* shortName;  ///< The function's short name.
  const char* file;       ///< The source file's path.
  int line;               ///< The line.
  /// "shortName(file:line)".
  std::string Format() const;
};

/// Padding by recursion depth, between " - " and the message.
/// \ingroup platform
struct LoggingRecursionPadding {
  int depth;  ///< The depth; 0 for none.
};
/// Writes the padding of its depth.
/// \ingroup platform
QUORHELPER_API std::ostream& operator<<(std::ostream& os, LoggingRecursionPadding padding);

/// Record stream wrapper: bytes print as decimal numbers, everything else as usual.
/// \ingroup platform
struct LogEntryFormatter {
  std::ostream& stream;  ///< The record's stream.
};
/// An unsigned byte as a decimal number.
inline const LogEntryFormatter& operator<<(const LogEntryFormatter& f, unsigned char byte) {
  f.stream << static_cast<unsigned>(byte);
  return f;
}
/// A signed byte as a decimal number.
inline const LogEntryFormatter& operator<<(const LogEntryFormatter& f, signed char byte) {
  f.stream << static_cast<int>(byte);
  return f;
}
/// Anything else as the stream writes it.
template <class T>
const LogEntryFormatter& operator<<(const LogEntryFormatter& f, const T& value) {
  f.stream << value;
  return f;
}

}  // namespace Quor
