#include "QuorHelper/Assert.h"

#include <cstdio>
#include <cstdlib>
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
  QUOR_LOG_FATAL(text);
  // Also on stderr: the process ends here, possibly before any appender flushes.
  std::fprintf(stderr, "Assertion failed: %s\n", text.c_str());
  std::abort();
}

}  // namespace Quor
