#pragma once
// Marks states that must not occur: a fatal log line naming the place, then terminate.

#include <exception>
#include <utility>

#include <boost/optional.hpp>

#include <Quor/Log.h>

#define QUOR_UNREACHABLE_STRINGIFY_(x) #x
#define QUOR_UNREACHABLE_STRINGIFY(x) QUOR_UNREACHABLE_STRINGIFY_(x)

#define QUOR_UNREACHABLE()                                                 \
  do {                                                                     \
    QUOR_LOG_FATAL(                                                        \
        "This statement should not be executed. There is a bug somewhere " \
        "around " __FILE_NAME__ ":" QUOR_UNREACHABLE_STRINGIFY(__LINE__)); \
    std::terminate();                                                      \
  } while (false)

namespace Quor {

template <class T>
T UndefinedBehaviourIfNone(boost::optional<T> value) {
  if (value) {
    return std::move(*value);
  }
  QUOR_UNREACHABLE();
}

}  // namespace Quor
