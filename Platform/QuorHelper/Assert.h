#pragma once

#include "QuorHelper/Export.h"

namespace Quor {

// Reports a failed check from its null-terminated list of pieces and ends the process.
[[noreturn]] QUORHELPER_API void AssertionFailed(const char* const* pieces);

}  // namespace Quor
