#pragma once
// The library's contract checks, reported through the platform's assertion reporter.

#include <QuorHelper/Assert.h>

#define QUOR_ASSERT_STRINGIFY_(x) #x
#define QUOR_ASSERT_STRINGIFY(x) QUOR_ASSERT_STRINGIFY_(x)

// A failed check reported under the name of function, for checks in helpers of a function.
#define QUOR_ASSERT2_IN(function, expression)                                   \
  do {                                                                          \
    if (!(expression)) {                                                        \
      const char* const quorAssertPieces_[] = {function,                        \
                                               __FILE_NAME__,                   \
                                               QUOR_ASSERT_STRINGIFY(__LINE__), \
                                               " QUOR_ASSERT2(",                \
                                               #expression,                     \
                                               ") failed",                      \
                                               nullptr};                        \
      ::Quor::AssertionFailed(quorAssertPieces_);                               \
    }                                                                           \
  } while (false)
#define QUOR_ASSERT2(expression) QUOR_ASSERT2_IN(__func__, expression)
