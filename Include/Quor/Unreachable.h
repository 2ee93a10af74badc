#pragma once
/// \file
/// Marks states that must not occur: a fatal log line naming the place, then terminate.
/// \ingroup helpers

#include <exception>
#include <utility>

#include <boost/optional.hpp>

#include <Quor/Log.h>
#include <Quor/SourceFile.h>

/// \cond INTERNAL
#define QUOR_UNREACHABLE_STRINGIFY_(x) #x
#define QUOR_UNREACHABLE_STRINGIFY(x) QUOR_UNREACHABLE_STRINGIFY_(x)
/// \endcond

/// Logs "This statement should not be executed. There is a bug somewhere around FILE:LINE" at
/// FATAL, then calls std::terminate().

#define QUOR_UNREACHABLE()                                                 \
  do {                                                                     \
    QUOR_LOG_FATAL(                                                        \
        "This statement should not be executed. There is a bug somewhere " \
        "around "                                                          \
        << QUOR_FILE_NAME << ":" QUOR_UNREACHABLE_STRINGIFY(__LINE__));    \
    std::terminate();                                                      \
  } while (false)

namespace Quor {

/// The optional's value; an empty optional is a bug of the caller: it is reported as
/// QUOR_UNREACHABLE() does and the process ends.
/// \ingroup helpers
template <class T>
T UndefinedBehaviourIfNone(boost::optional<T> value) {
  if (value) {
    return std::move(*value);
  }
  QUOR_UNREACHABLE();
}

}  // namespace Quor
