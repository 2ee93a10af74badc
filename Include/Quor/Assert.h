#pragma once
/// \file
/// The library's contract checks, reported through the platform's assertion reporter, which
/// does not return.
/// \ingroup helpers

#include <QuorHelper/Assert.h>

#include <Quor/SourceFile.h>

/// \cond INTERNAL
#define QUOR_ASSERT_STRINGIFY_(x) #x
#define QUOR_ASSERT_STRINGIFY(x) QUOR_ASSERT_STRINGIFY_(x)
/// \endcond

/// Reports a false expression to Quor::AssertionFailed under the name of function, with the
/// pieces function, file, line, " QUOR_ASSERT2(", expression, ") failed". For checks in
/// helpers that speak for a function.
#define QUOR_ASSERT2_IN(function, expression)                                \
  do {                                                                       \
    if (!(expression)) {                                                     \
      const char* const quorAssertPieces_[] = {                              \
          function,         QUOR_FILE_NAME, QUOR_ASSERT_STRINGIFY(__LINE__), \
          " QUOR_ASSERT2(", #expression,    ") failed",                      \
          nullptr};                                                          \
      ::Quor::AssertionFailed(quorAssertPieces_);                            \
    }                                                                        \
  } while (false)
/// Reports a false expression under the enclosing function's name.
#define QUOR_ASSERT2(expression) QUOR_ASSERT2_IN(__func__, expression)
