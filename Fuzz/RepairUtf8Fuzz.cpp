// Any bytes through RepairUTF8: the result is valid UTF-8, and valid text comes back as it was.

#include <cstddef>
#include <cstdint>
#include <string>

#if __has_include("Quor/TevValueHelper.h")

#include <utf8.h>

#include "FuzzSupport.h"
#include "Quor/TevValueHelper.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  QuorFuzz::LogEverythingNowhere();
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string repaired = Quor::RepairUTF8(text).str();
  QUOR_FUZZ_CHECK(utf8::is_valid(repaired.begin(), repaired.end()));
  if (utf8::is_valid(text.begin(), text.end())) {
    QUOR_FUZZ_CHECK(repaired == text);
  } else {
    // Each invalid sequence of at least one byte becomes one "?".
    QUOR_FUZZ_CHECK(repaired.size() <= text.size());
  }
  return 0;
}

#else

// Not built yet: nothing to exercise.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, std::size_t) {
  return 0;
}

#endif
