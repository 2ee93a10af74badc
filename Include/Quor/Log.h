#pragma once
/// \file
/// The library's log statements, over the platform's global logger and record layout:
/// context, function name, " - ", recursion padding, message. Each statement checks the level
/// first and builds no text when it is disabled.
/// \ingroup helpers

#include <sstream>

#include <QuorHelper/Logging.h>

namespace Quor {
/// The function a record names: its short name and full signature. A helper that logs on
/// behalf of the function a caller called takes that function's site, so its records name
/// the function the caller knows.
/// \ingroup helpers
struct LogSite {
  const char* function;   ///< Short name, as __func__ gives it.
  const char* signature;  ///< Full signature, as __PRETTY_FUNCTION__ gives it.
};
}  // namespace Quor

/// The LogSite of the enclosing function.
#define QUOR_LOG_SITE (::Quor::LogSite{__func__, __PRETTY_FUNCTION__})

/// Logs message (anything that streams, joined with <<, so left unparenthesised) at level under
/// the name of site. Checks the level before any text is built; emits with file, line and full
/// signature. The text is built in a cold, separate function so that the hot path is the check
/// alone.
#define QUOR_LOG_AT(site, level, message)                                                         \
  do {                                                                                            \
    const ::log4cplus::Logger& quorLogger_ = ::Quor::GetGlobalDefaultLogger();                    \
    if (quorLogger_.isEnabledFor(level)) {                                                        \
      const ::Quor::LogSite quorSite_ = (site);                                                   \
      [&]() __attribute__((noinline, cold)) {                                                     \
        std::ostringstream quorStream_;                                                           \
        quorStream_                                                                               \
            << ::Quor::GetLoggingContext()                                                        \
            << ::Quor::PrettyFunctionNamePrinter{quorSite_.function, __FILE__, __LINE__}.Format() \
            << " - " << ::Quor::LoggingRecursionPadding{0};                                       \
        ::Quor::LogEntryFormatter{quorStream_}                                                    \
            << message; /* NOLINT(bugprone-macro-parentheses) */                                  \
        quorLogger_.forcedLog(level, quorStream_.str(), __FILE__, __LINE__, quorSite_.signature); \
      }                                                                                           \
      ();                                                                                         \
    }                                                                                             \
  } while (false)

/// Logs message at level under the enclosing function's name.
#define QUOR_LOG(level, message) QUOR_LOG_AT(QUOR_LOG_SITE, level, message)

/// Logs message at DEBUG.
#define QUOR_LOG_DEBUG(message) QUOR_LOG(::log4cplus::DEBUG_LOG_LEVEL, message)
/// Logs message at INFO.
#define QUOR_LOG_INFO(message) QUOR_LOG(::log4cplus::INFO_LOG_LEVEL, message)
/// Logs message at WARN.
#define QUOR_LOG_WARN(message) QUOR_LOG(::log4cplus::WARN_LOG_LEVEL, message)
/// Logs message at ERROR.
#define QUOR_LOG_ERROR(message) QUOR_LOG(::log4cplus::ERROR_LOG_LEVEL, message)
/// Logs message at FATAL.
#define QUOR_LOG_FATAL(message) QUOR_LOG(::log4cplus::FATAL_LOG_LEVEL, message)
/// Logs message at WARN under the name of site.
#define QUOR_LOG_WARN_AT(site, message) QUOR_LOG_AT(site, ::log4cplus::WARN_LOG_LEVEL, message)
/// Logs message at ERROR under the name of site.
#define QUOR_LOG_ERROR_AT(site, message) QUOR_LOG_AT(site, ::log4cplus::ERROR_LOG_LEVEL, message)
